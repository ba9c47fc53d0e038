#include "setup/setup_context.h"

SetupContext* theSetup = nullptr;
