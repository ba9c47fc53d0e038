#include "app/step_timer.h"

#include "app/main_window.h"

bool startStepTimer(HWND window) {
    return SetTimer(window, StepTimerId, StepTimerPeriodMs, nullptr) != 0;
}
