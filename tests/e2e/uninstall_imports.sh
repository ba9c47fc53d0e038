#!/usr/bin/env bash
# The shipped uninstaller's imports, read with objdump. Its helper copy runs from the
# temporary folder, where other programs drop files, so it imports only DLLs that the
# system always loads from its own folder (known DLLs). It looks SetDefaultDllDirectories
# up at run time instead of importing it, so that systems without that call still start it.
#   uninstall_imports.sh UNINSTALL_EXE OBJDUMP
set -euo pipefail
exe=${1:?uninstaller}
objdump=${2:?objdump of the MinGW toolchain}
fail() { echo "FAIL: $*" >&2; exit 1; }

headers=$("$objdump" -p "$exe")
imports=$(awk '/DLL Name:/ {print $3}' <<<"$headers" | tr '\n' ' ')
echo "imports: $imports"
[ -n "$imports" ] || fail "no imports found"
known='^(KERNEL32|USER32|GDI32|SHELL32|ole32|ADVAPI32|msvcrt)\.dll$'
others=$(tr ' ' '\n' <<<"$imports" | grep -Ev "$known" || true)
[ -z "$others" ] || fail "imports $others, which the system may load from the program's folder"

! grep -q 'SetDefaultDllDirectories' <<<"$headers" || fail "imports SetDefaultDllDirectories"
grep -q 'GetProcAddress' <<<"$headers" || fail "does not import GetProcAddress"
grep -qa 'SetDefaultDllDirectories' "$exe" || fail "does not name SetDefaultDllDirectories"
echo "SetDefaultDllDirectories is looked up at run time, not imported"
