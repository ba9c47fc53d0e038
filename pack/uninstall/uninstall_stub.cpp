// The pack's uninstaller, in two editions built from this source: this pack's per-user
// edition and, with VELKARIS_ALL_USERS_EDITION, the edition installed for all users. For
// now it removes nothing: it says what it would remove, in a message box or, started
// with /S, on standard output, and ends with exit code 0.
#include <windows.h>

#include <string>

#include "pack/command_line.h"

namespace {

struct EditionTexts {
    const wchar_t* caption;
    const wchar_t* shortcuts;
    const wchar_t* registry;
};

#if VELKARIS_ALL_USERS_EDITION
constexpr EditionTexts Edition = {
    L"Velkaris App Pack (All Users) Uninstall",
    L"the shortcuts in the Start menu folder \"Velkaris\" of all users",
    L"the keys HKEY_LOCAL_MACHINE\\Software\\Velkaris and "
    L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velkaris",
};
#else
constexpr EditionTexts Edition = {
    L"Velkaris App Pack (Single User) Uninstall",
    L"your shortcuts in the Start menu folder \"Velkaris\"",
    L"the keys HKEY_CURRENT_USER\\Software\\Velkaris and "
    L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velkaris",
};
#endif

// The folder this program runs from, where the applications were installed.
std::wstring ownFolder()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length < MAX_PATH ? length : 0);
    const size_t slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? folder : folder.substr(0, slash + 1);
}

std::wstring plan()
{
    std::wstring text = Edition.caption;
    text += L" would remove:\r\n\r\n- the applications and this uninstaller in ";
    text += ownFolder();
    text += L"\r\n- ";
    text += Edition.shortcuts;
    text += L"\r\n- ";
    text += Edition.registry;
    text += L"\r\n\r\nThis edition of the uninstaller removes nothing yet.\r\n";
    return text;
}

bool isSilent()
{
    const std::wstring_view argument = programArgument(GetCommandLineW());
    return argument.size() == 2 && argument[0] == L'/' && (argument[1] | 0x20) == L's';
}

// Writes the text as UTF-8 to standard output; a GUI program started without one has
// nowhere to write, which is not an error.
void printText(const std::wstring& text)
{
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output == nullptr || output == INVALID_HANDLE_VALUE) {
        return;
    }
    const int length = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, utf8.data(), bytes, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(output, utf8.data(), static_cast<DWORD>(bytes), &written, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const std::wstring text = plan();
    if (isSilent()) {
        printText(text);
    } else {
        MessageBoxW(nullptr, text.c_str(), Edition.caption, MB_OK | MB_ICONINFORMATION);
    }
    return 0;
}
