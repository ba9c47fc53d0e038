#include "tests/checks/association_watch.h"

#include <shlobj.h>

namespace {

constexpr UINT NoticeMessage = WM_USER + 1;
constexpr wchar_t WindowClass[] = L"VelkarisAssociationWatch";

LRESULT CALLBACK watchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == NoticeMessage) {
        if ((lParam & SHCNE_ASSOCCHANGED) != 0) {
            SetWindowLongPtrW(window, GWLP_USERDATA, GetWindowLongPtrW(window, GWLP_USERDATA) + 1);
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

AssociationWatch::AssociationWatch()
{
    const WNDCLASSW type{0, &watchProc, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr,
                         nullptr, nullptr, WindowClass};
    RegisterClassW(&type);
    window = CreateWindowW(WindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, type.hInstance,
                           nullptr);
    SHChangeNotifyEntry everywhere{nullptr, TRUE};
    registration = SHChangeNotifyRegister(window, SHCNRF_ShellLevel | SHCNRF_InterruptLevel,
                                          SHCNE_ASSOCCHANGED, NoticeMessage, 1, &everywhere);
}

AssociationWatch::~AssociationWatch()
{
    SHChangeNotifyDeregister(registration);
    DestroyWindow(window);
}

int AssociationWatch::count(int awaited) const
{
    int notices = 0;
    for (int i = 0; i < 200; ++i) {
        MSG message;
        while (PeekMessageW(&message, window, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        notices = static_cast<int>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (notices >= awaited) {
            break;
        }
        Sleep(10);
    }
    return notices;
}
