// What the checks compare before and after an installation, a removal or a test program:
// every place they may touch, as sorted lines of text. Files and folders named Velkaris...
// at the top of the user's folders, of the temporary folder, of the system drive and of the
// machine-wide program folders, with all they hold; the per-user registry keys of the pack,
// the names below HKCU\Software and its Classes, the RunOnce, Run and shell-folder values;
// and the machine-wide keys a per-user installation must never write. The checks folder
// itself is left out.
#pragma once

#include <string>
#include <vector>

std::vector<std::wstring> leftoverSnapshot(const std::wstring& checksFolder);

// Whether a line of the snapshot is of a machine-wide place (HKLM, Program Files, the
// all-users Start menu), which a per-user installation must never write.
bool isMachineWide(const std::wstring& line);

// The lines only AFTER has ("+ ...") and those only BEFORE has ("- ..."), joined by "; ",
// the first eight of them and the count of the rest; empty when the two are the same.
std::wstring snapshotDifferences(const std::vector<std::wstring>& before,
                                 const std::vector<std::wstring>& after);
