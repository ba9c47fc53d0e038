#include "uninstall/logon_command.h"

std::wstring cmdArgument(std::wstring_view path)
{
    std::wstring quoted = L"\"";
    for (size_t i = 0; i < path.size(); ++i) {
        quoted += path[i];
        if (path[i] == L'%' && i + 1 < path.size()) {
            quoted += L"\"\"";
        }
    }
    quoted += L'"';
    return quoted;
}

std::optional<std::wstring> folderRemovalCommand(std::wstring_view systemFolder,
                                                 std::wstring_view folder,
                                                 FolderRemoval removal)
{
    if (folder.size() > 1 && (folder.back() == L'\\' || folder.back() == L'/')) {
        folder.remove_suffix(1);
    }
    // CreateProcess reads the program's name, not cmd, so it is quoted plainly.
    std::wstring command = L"\"";
    command += systemFolder;
    command += L"\\cmd.exe\" /d /v:off /c rd ";
    if (removal == FolderRemoval::WithContents) {
        command += L"/s /q ";
    }
    command += cmdArgument(folder);
    if (command.size() > RunOnceCommandLimit) {
        return std::nullopt;
    }
    return command;
}
