// The progress page as the install steps report to it: status line and details list.
#include "install/step_parts.h"

namespace {

constexpr int StatusTextId = 1003;

}  // namespace

void addDetailsLine(const SetupContext& setup, const wchar_t* line) {
    SendMessageW(setup.detailsList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
}

void reportWriteFailed(SetupContext& setup) {
    addDetailsLine(setup, L"ERROR: Write failed.");
    ++setup.errorCount;
}

void setStatusText(const SetupContext& setup, const wchar_t* text) {
    SetDlgItemTextW(setup.pages[Progress], StatusTextId, text);
}

void setResultText(const SetupContext& setup, const char* text) {
    SetDlgItemTextA(setup.pages[Progress], StatusTextId, text);
}
