#include "tests/checks/window_reading.h"

namespace {

struct WindowSearch {
    DWORD pid;
    const wchar_t* title;
    HWND found;
};

// A top-level window's title as the system keeps it: no message to its (perhaps busy) thread.
std::wstring caption(HWND window)
{
    wchar_t text[256] = {};
    return std::wstring(text, static_cast<size_t>(GetWindowTextW(window, text, 256)));
}

BOOL CALLBACK matchWindow(HWND window, LPARAM context)
{
    auto& search = *reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((search.pid != 0 && owner != search.pid) || !IsWindowVisible(window) ||
        (search.title != nullptr && caption(window) != search.title)) {
        return TRUE;
    }
    search.found = window;
    return FALSE;
}

}  // namespace

std::string utf8(std::wstring_view text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                        size, nullptr, nullptr);
    return result;
}

std::wstring wide(std::string_view text)
{
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(size > 0 ? size : 0, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                        size);
    return result;
}

std::wstring windowText(HWND window)
{
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, &copied);
    return std::wstring(text, copied);
}

std::vector<std::wstring> listItems(HWND list)
{
    std::vector<std::wstring> items;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring item(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        item.resize(static_cast<size_t>(
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
        items.push_back(item);
    }
    return items;
}

HWND visibleControl(HWND parent, int id)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == id && IsWindowVisible(child)) {
            return child;
        }
        if (HWND below = visibleControl(child, id)) {
            return below;
        }
    }
    return nullptr;
}

HWND processWindow(DWORD pid, const wchar_t* title)
{
    WindowSearch search{pid, title, nullptr};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND titledWindow(const wchar_t* title)
{
    return processWindow(0, title);
}
