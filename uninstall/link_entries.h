// Tells a file of a folder from what a link at its name leads to. Every file the
// uninstaller deletes is opened with FILE_FLAG_OPEN_REPARSE_POINT, so that a symbolic link
// or junction at a name of the pack is opened, and deleted, as the link itself; what it
// points at is never touched. Wine follows Unix symbolic links even then: its handle is
// open on the target, and its final path names the target.
#pragma once

#include <windows.h>

#include <string>

enum class Entry {
    Itself,     // the file of that name
    Link,       // a symbolic link or junction of that name, not what it points at
    Elsewhere,  // a file elsewhere that the name leads to
};

// What the handle, opened at path with FILE_FLAG_OPEN_REPARSE_POINT and read access to its
// attributes, is open on. Where the system cannot name the files, the handle counts as the
// file itself.
Entry entryOf(HANDLE file, const std::wstring& path);
