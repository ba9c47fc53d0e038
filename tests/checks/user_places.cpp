#include "tests/checks/user_places.h"

#include <windows.h>
#include <shlobj.h>

namespace {

std::wstring knownFolder(REFKNOWNFOLDERID id)
{
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path))) {
        folder = path;
    }
    CoTaskMemFree(path);
    return folder;
}

std::wstring withoutTrailingBackslash(std::wstring path)
{
    if (path.size() > 3 && path.back() == L'\\') {
        path.pop_back();
    }
    return path;
}

UserPlaces find()
{
    UserPlaces places;
    places.appData = knownFolder(FOLDERID_RoamingAppData);
    places.programs = knownFolder(FOLDERID_Programs);
    places.localAppData = knownFolder(FOLDERID_LocalAppData);
    places.programFiles = knownFolder(FOLDERID_ProgramFilesX64);
    places.programFilesX86 = knownFolder(FOLDERID_ProgramFilesX86);
    places.commonPrograms = knownFolder(FOLDERID_CommonPrograms);
    wchar_t path[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, path);
    places.temporary = withoutTrailingBackslash(path);
    GetSystemDirectoryW(path, MAX_PATH + 1);
    places.system = path;
    places.systemDrive = places.system.substr(0, 2);
    return places;
}

}  // namespace

const UserPlaces& userPlaces()
{
    static const UserPlaces places = find();
    return places;
}

std::wstring defaultDestination()
{
    return userPlaces().appData + L"\\Velkaris\\";
}

std::wstring menuFolder()
{
    return userPlaces().programs + L"\\Velkaris\\";
}
