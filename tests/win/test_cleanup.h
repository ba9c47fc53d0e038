// The test programs share one user profile when the checks folder runs them on Windows (under
// CTest each had a prefix of its own): whatever a program makes below a root folder of its
// own goes once its last test has run.
#pragma once

#include <initializer_list>
#include <string>

// Removes FOLDER (C:\velkaris-install-tests, say), with everything in it, after the
// program's last test; returns true, so that a file can register its root at namespace scope.
bool removedAfterTheTests(const std::wstring& folder);

// Removes the keys (below HKEY_CURRENT_USER, as removeKeysAndEmptyParents does) after the
// program's last test; returns true, for a registration at namespace scope.
bool keysRemovedAfterTheTests(std::initializer_list<const wchar_t*> keys);

// Removes each key below HKEY_CURRENT_USER (Software\Classes\.pkr, say) with everything in
// it, then each parent the removal left empty, up to Software: a fresh Wine prefix lacks
// keys, such as Software\Classes, that every Windows profile has, and a test that made
// them takes them away again.
void removeKeysAndEmptyParents(std::initializer_list<const wchar_t*> keys);
