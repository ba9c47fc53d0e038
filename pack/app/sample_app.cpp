// One of the pack's sample applications. Each executable is this source built with its own
// VELKARIS_APP_NAME; it opens one window titled with that name and, when it is started
// with a file or folder, with "<name> - <path>", and shows the path in the window.
#include <windows.h>

#include <string>

#include "command_line/command_line.h"

#define VELKARIS_WIDEN_TOKEN(token) L## #token
#define VELKARIS_WIDEN(token) VELKARIS_WIDEN_TOKEN(token)

namespace {

constexpr const wchar_t* AppName = VELKARIS_WIDEN(VELKARIS_APP_NAME);
constexpr int ClientMargin = 16;

// What the window shows; lives in wWinMain for the whole run.
struct AppWindow {
    std::wstring title;
    std::wstring body;
};

AppWindow describe(std::wstring_view path)
{
    AppWindow app{AppName, AppName};
    if (path.empty()) {
        app.body += L"\r\n\r\nNo file was opened.";
    } else {
        app.title += L" - ";
        app.title += path;
        app.body += L"\r\n\r\nOpened:\r\n";
        app.body += path;
    }
    return app;
}

// Keeps the record handed to CreateWindowExW, so that painting can reach it.
void onNcCreate(HWND window, LPARAM lParam)
{
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
}

// Draws the name and the opened path, wrapped to the client area; long paths without
// blanks break anywhere rather than run off the edge.
void onPaint(HWND window)
{
    const auto* app = reinterpret_cast<const AppWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT area;
    GetClientRect(window, &area);
    InflateRect(&area, -ClientMargin, -ClientMargin);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, app->body.c_str(), static_cast<int>(app->body.size()), &area,
              DT_LEFT | DT_TOP | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    EndPaint(window, &paint);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE:
        onNcCreate(window, lParam);
        break;  // the default handling sets the title
    case WM_PAINT:
        onPaint(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool registerWindowClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;  // the text wraps anew at every size
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = AppName;
    return RegisterClassExW(&windowClass) != 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    AppWindow app = describe(programArgument(GetCommandLineW()));
    if (!registerWindowClass(instance)) {
        return 1;
    }
    HWND window = CreateWindowExW(0, AppName, app.title.c_str(), WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 560, 240, nullptr, nullptr,
                                  instance, &app);
    if (!window) {
        return 1;
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
