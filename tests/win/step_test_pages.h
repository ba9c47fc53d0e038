// The windows the install steps write to, for tests that run the steps without the
// wizard: a plain main window and the real components and progress pages (templates 105
// and 107), every application checked.
#pragma once

#include "setup/setup_context.h"

// Common controls and COM for the test thread; once per test suite.
void initStepTestThread();
void finishStepTestThread();

// Fills mainWindow, pages[Components], pages[Progress] and detailsList of setup; false
// when a page cannot be created.
bool createStepPages(SetupContext& setup);
// Destroys them and drops the messages the steps posted.
void destroyStepPages(SetupContext& setup);
