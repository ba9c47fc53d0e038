#!/usr/bin/env bash
# Reads the shipped installer's PE headers and imports, and the entry routine of the same
# program as linked with its symbols, with objdump.
set -euo pipefail
exe=${1:?shipped installer}
linked=${2:?installer with symbols}
objdump=${3:?objdump of the MinGW toolchain}
fail() { echo "FAIL: $*" >&2; exit 1; }

headers=$("$objdump" -p "$exe")
grep -q '^Magic[[:space:]]*020b' <<<"$headers" || fail "not a 64-bit (PE32+) image"
grep -q '^Subsystem[[:space:]]*00000002' <<<"$headers" || fail "not a GUI program"
for flag in HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT; do
  grep -q "^[[:space:]]*$flag\$" <<<"$headers" || fail "DllCharacteristics lack $flag"
done

allowed='^(KERNEL32|USER32|GDI32|COMCTL32|SHELL32|ole32|ADVAPI32|msvcrt)\.dll$'
imports=$(awk '/DLL Name:/ {print $3}' <<<"$headers")
[ -n "$imports" ] || fail "no imports found"
while read -r dll; do
  [[ $dll =~ $allowed ]] || fail "imports $dll, which is not a system DLL every Windows has"
done <<<"$imports"
echo "imports: $(tr '\n' ' ' <<<"$imports")"

# Functions newer than the oldest Windows the manifest names are looked up at run time:
# a missing import would keep the program from starting at all there.
functions=$(awk '/DLL Name:/ {dll = 1; next} dll && NF == 3 && $1 ~ /^[0-9a-f]+$/ {print $3}' \
  <<<"$headers")
[ -n "$functions" ] || fail "no imported functions found"
! grep -qx SetDefaultDllDirectories <<<"$functions" ||
  fail "imports SetDefaultDllDirectories, which Windows Vista and 7 may lack"
for name in GetDpiForWindow GetWindowDpiAwarenessContext AreDpiAwarenessContextsEqual \
  GetDialogDpiChangeBehavior; do
  ! grep -qx "$name" <<<"$functions" || fail "imports $name, which Windows before 10 lacks"
  grep -qa "$name" "$exe" || fail "no $name to look up"
done
# Explorer caches file types until it is told that they changed.
grep -qx SHChangeNotify <<<"$functions" || fail "does not import SHChangeNotify"
echo "$(wc -l <<<"$functions") imported functions, SHChangeNotify among them, none of Windows 10's DPI functions"

# DLLs loaded by name must come from the system folder from the first instruction on: the
# entry routine's first calls look up SetDefaultDllDirectories in kernel32.
calls=$("$objdump" -d --disassemble=wWinMain "$linked" | awk '/[[:space:]]call[[:space:]]/ && ++calls <= 2')
[[ $(sed -n 1p <<<"$calls") == *"<__imp_GetModuleHandleW>"* &&
   $(sed -n 2p <<<"$calls") == *"<__imp_GetProcAddress>"* ]] ||
  fail "the entry routine does not begin with the lookup: $calls"
grep -qa SetDefaultDllDirectories "$exe" || fail "no SetDefaultDllDirectories to look up"
echo "first calls of wWinMain: GetModuleHandleW, GetProcAddress (SetDefaultDllDirectories)"
