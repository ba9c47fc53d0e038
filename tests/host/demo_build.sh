#!/usr/bin/env bash
# What ./scripts/run builds, the target velkaris_demo of the host tree and of the Windows
# tree it builds: the package tool, the programs of the pack, the package, the installer and
# its bill of materials, and the window probe the demo reads. No test program, fuzzer,
# benchmark or sanitized build: those wait for ./scripts/test.
#   demo_build.sh HOST_BUILD_DIR WINDOWS_BUILD_DIR
set -euo pipefail
host=${1:?host build folder} windows=${2:?Windows build folder}

# products DIR: the files that the commands building velkaris_demo in DIR name with -o,
# objects and compiled resources aside, by their names.
products() {
  local commands
  commands=$(ninja -C "$1" -t commands velkaris_demo) ||
    { echo "FAIL: ninja knows no target velkaris_demo in $1" >&2; exit 1; }
  grep -o -- ' -o [^ ]*' <<<"$commands" | sed 's|.*/||' | grep -v '\.\(o\|obj\|res\)$' | sort -u
}

expect() {  # expect TREE ACTUAL EXPECTED...
  local tree=$1 actual=$2 expected
  shift 2
  expected=$(printf '%s\n' "$@" | sort)
  [ "$actual" = "$expected" ] && return 0
  echo "FAIL: the $tree tree builds for the demo:" >&2
  diff <(echo "$expected") <(echo "$actual") | grep '^[<>]' >&2
  echo "(< expected, > built)" >&2
  exit 1
}

host_products=$(products "$host")
windows_products=$(products "$windows")
expect host "$host_products" velkaris-pack
expect Windows "$windows_products" Brinet.exe PaneVista.exe QuietVault.exe Padwick.exe \
  Tunewell.exe Notarel.exe LockBin.exe Packrill.exe uninstall-all-users.exe uninstall.exe \
  velkaris.pkg VelkarisSetup.exe VelkarisSetup.cdx.json window_probe.exe
echo "the demo builds the package tool, the pack, the package, the installer and the probe"
