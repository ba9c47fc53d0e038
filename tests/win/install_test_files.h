// Disk helpers of the installation tests: private folders, reading files back, times.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// A new empty folder C:\velkaris-install-tests\<name>\, removed first when a previous run
// left it. Returned with its trailing backslash.
std::wstring freshFolder(const std::wstring& name);
// Creates every folder along path, the last component included.
void createFolders(const std::wstring& path);
bool fileExists(const std::wstring& path);
bool folderExists(const std::wstring& path);
// The whole file, or nothing when it cannot be opened.
std::vector<uint8_t> readFile(const std::wstring& path);
void writeFile(const std::wstring& path, const std::string& bytes);
// True when the file can be opened with no sharing: nobody holds it open.
bool openExclusively(const std::wstring& path);

struct FileTimes {
    FILETIME creation;
    FILETIME access;
    FILETIME write;
};
FileTimes fileTimes(const std::wstring& path);
uint64_t ticks(const FILETIME& time);
uint64_t now();
// 100 ns ticks per second.
constexpr uint64_t TicksPerSecond = 10000000;
