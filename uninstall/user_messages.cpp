#include "uninstall/user_messages.h"

namespace {

void writeToStandardError(std::wstring_view text)
{
    HANDLE output = GetStdHandle(STD_ERROR_HANDLE);
    if (output == nullptr || output == INVALID_HANDLE_VALUE || text.empty()) {
        return;  // a program started without standard error has nowhere to write
    }
    const int length = static_cast<int>(text.size());
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, utf8.data(), bytes, nullptr, nullptr);
    utf8 += "\r\n";
    DWORD written = 0;
    WriteFile(output, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

}  // namespace

std::wstring systemMessage(DWORD error)
{
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text =
        length != 0 ? std::wstring(buffer, length) : L"Error " + std::to_wstring(error) + L".";
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    return text;
}

DWORD lastError()
{
    const DWORD error = GetLastError();
    return error == ERROR_SUCCESS ? ERROR_INVALID_FUNCTION : error;
}

bool askYesNo(std::wstring_view caption, std::wstring_view question)
{
    const std::wstring captionText(caption);
    const std::wstring questionText(question);
    return MessageBoxW(nullptr, questionText.c_str(), captionText.c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) == IDYES;
}

void tellUser(bool silent, MessageKind kind, std::wstring_view caption, std::wstring_view text)
{
    if (silent) {
        if (kind != MessageKind::Information) {
            writeToStandardError(text);
        }
        return;
    }
    const std::wstring captionText(caption);
    const std::wstring bodyText(text);
    const UINT icon = kind == MessageKind::Problem   ? MB_ICONERROR
                      : kind == MessageKind::Warning ? MB_ICONWARNING
                                                     : MB_ICONINFORMATION;
    MessageBoxW(nullptr, bodyText.c_str(), captionText.c_str(), MB_OK | icon | MB_SETFOREGROUND);
}
