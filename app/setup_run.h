#pragma once

#include <windows.h>

// The whole run, from the zeroed record to the freed package; returns the exit code.
int runSetup(HINSTANCE instance);
