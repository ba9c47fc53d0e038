#include "app/setup_context.h"

SetupContext* theSetup = nullptr;
