// The destination folder: the folder browser and the disk-space figures.
#pragma once

#include <windows.h>

struct BrowseRequest {
    HWND owner;
    const wchar_t* caption;
    const wchar_t* title;
    const wchar_t* okText;
    wchar_t* path;
};

void browseForDestination();
int CALLBACK browseCallback(HWND browserWindow, UINT message, LPARAM lParam, LPARAM request);
void updateSpace();
