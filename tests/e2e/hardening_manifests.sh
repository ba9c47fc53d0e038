#!/usr/bin/env bash
# Reads the manifest embedded in every program we ship (the installer, the sample
# applications and the uninstallers) with the MinGW toolchain's windres: each carries one,
# runs as the invoker without UI access, names the supported systems, common controls 6 and
# per-monitor DPI awareness. Without it Windows would take a stray manifest or a ".local"
# folder beside the program, and run it in the compatibility context of Windows Vista.
#   hardening_manifests.sh WINDRES PROGRAM...
set -euo pipefail
windres=${1:?windres of the MinGW toolchain}
shift
fail() { echo "FAIL: $*" >&2; exit 1; }
[ "$#" -gt 0 ] || fail "no programs given"

# manifest_of EXE: the text of resource 1 of type 24 (RT_MANIFEST). windres writes it into
# its script of the program's resources as quoted strings, quotes doubled, "\n" escaped.
manifest_of() {
  local script
  script=$("$windres" -i "$1" -O rc 2>&1) || { echo "$script"; return 1; }
  awk '/^1 24 / { inside = 1; next }
       inside && /^END/ { exit }
       inside && /^ *"/ {
         sub(/^ *"/, ""); sub(/"$/, ""); gsub(/""/, "\""); gsub(/\\n/, "\n"); printf "%s", $0
       }' <<<"$script"
}

systems=(e2011457-1546-43c5-a5fe-008deee3d3f0 35138b9a-5d96-4fbd-8e2d-a2440225f93a
         4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 1f676c76-80e1-4239-95bb-83d0f6d0da78
         8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a)
for exe in "$@"; do
  name=$(basename "$exe")
  [ -f "$exe" ] || fail "$exe does not exist"
  xml=$(manifest_of "$exe") || fail "windres cannot read the resources of $name: $xml"
  [ -n "$xml" ] || fail "$name has no embedded manifest (RT_MANIFEST 1)"
  levels=$(grep -o '<requestedExecutionLevel [^>]*>' <<<"$xml" || true)
  [ "$levels" = '<requestedExecutionLevel level="asInvoker" uiAccess="false"/>' ] ||
    fail "$name requests '$levels', not asInvoker without UI access"
  grep -q 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' <<<"$xml" ||
    fail "$name does not depend on common controls 6"
  grep -q '>PerMonitorV2, PerMonitor</dpiAwareness>' <<<"$xml" ||
    fail "$name is not per-monitor aware (version 2, then 1)"
  grep -q '>true/pm</dpiAware>' <<<"$xml" || fail "$name lacks dpiAware true/pm"
  listed=$(grep -o '<supportedOS Id="{[^}]*}"' <<<"$xml" | sed 's/.*{\(.*\)}"/\1/' | tr '\n' ' ')
  [ "$listed" = "${systems[*]} " ] ||
    fail "$name names the systems '$listed', not Windows Vista, 7, 8, 8.1 and 10"
  echo "$name: asInvoker, common controls 6, PerMonitorV2, Windows Vista to 10"
done
echo "$# programs carry their manifest"
