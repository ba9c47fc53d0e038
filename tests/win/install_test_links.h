// Reading a shell link back the way the shell does.
#pragma once

#include <windows.h>

#include <string>

struct LinkContents {
    HRESULT loaded;
    std::wstring path;
    std::wstring arguments;
    std::wstring workingFolder;
    std::wstring description;
    WORD hotKey;
};

// Needs COM on the calling thread.
LinkContents readLink(const std::wstring& link);
