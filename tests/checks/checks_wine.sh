#!/usr/bin/env bash
# The Windows checks folder under one Wine, so that the checks are proven here before they
# meet Windows: run-checks.cmd, run from Wine's cmd in a fresh prefix, passes every check,
# prints one line per check and the summary, and writes well-formed JUnit XML with a test
# case per check and a screenshot of each page. Then a copy of the folder whose installer
# has one byte of its package changed fails its installer check, by name, exit code 1.
#   checks_wine.sh FOLDER PACK_TOOL
set -euo pipefail
folder=${1:?checks folder} tool=${2:?package tool}
run_checks="$(cd "$(dirname "$0")/../.." && pwd)/scripts/wine/run-checks"
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/velkaris-checks.XXXXXX")
trap 'rm -rf "$work"' EXIT

# run_folder FOLDER RESULTS CHECK...: run-checks.cmd's output in $work/said, its status in said.
run_folder() {
  local copy=$1 results=$2
  shift 2
  status=0
  "$run_checks" --in-sandbox --runtime "$VELKARIS_RUNTIME" --folder "$copy" --results "$results" \
    -- "$@" >"$work/said" 2>&1 || status=$?
  cat "$work/said"
}

run_folder "$folder" "$work/results"
[ "$status" = 0 ] || fail "run-checks.cmd exited with $status"
said=$(<"$work/said")
checks=$(grep -cE '^(PASS|FAIL|SKIP)  ' <<<"$said" || true)
grep -qx "checks: $checks passed, 0 failed" <<<"$said" || fail "no summary of $checks passed checks"
for program in "$folder"/tests/*.exe install; do
  name=${program##*/}
  grep -q "^PASS  ${name%.exe}  " <<<"$said" || fail "no line of the check ${name%.exe}"
done
cases=$(python3 -c 'import sys, xml.dom.minidom as m
suites = m.parse(sys.argv[1]).getElementsByTagName("testsuite")
print(len(suites[0].getElementsByTagName("testcase")), len(suites) - 1)' "$work/results/junit.xml") ||
  fail "results/junit.xml is not well-formed XML"
[ "${cases% *}" = "$checks" ] || fail "junit.xml has ${cases% *} checks, not $checks"
[ "${cases#* }" -gt 0 ] || fail "junit.xml folds in no suite of the test programs"
for page in 1-licence 2-components 3-destination 4-progress 5-details; do
  size=$(identify -format '%wx%h' "$work/results/screenshots/$page.png") ||
    fail "no readable screenshot $page.png"
  echo "-- screenshot $page.png: $size"
done

# The damaged folder: one byte in the middle of the installer's package resource.
cp -r "$folder" "$work/damaged"
where=$("$tool" verify "$work/damaged/VelkarisSetup.exe" | sed -n 's/.*: \([0-9]*\) bytes at file offset \([0-9]*\)$/\1 \2/p')
[ -n "$where" ] || fail "the package tool does not find the package in the installer"
offset=$(( ${where#* } + ${where% *} / 2 ))
byte=$(od -An -tu1 -j "$offset" -N1 "$work/damaged/VelkarisSetup.exe" | tr -d ' ')
printf "\\$(printf '%03o' $(( byte ^ 255 )))" |
  dd of="$work/damaged/VelkarisSetup.exe" bs=1 seek="$offset" conv=notrunc status=none
echo "-- damaged: byte $offset of the installer changed"
run_folder "$work/damaged" "$work/damaged-results" install
[ "$status" = 1 ] || fail "the damaged folder's run exited with $status, not 1"
grep -q '^FAIL  install  .*' "$work/said" || fail "the damaged folder does not fail the check install"
grep -qF 'Setup initialization failed.' "$work/said" || fail "the failure does not say what the installer showed"
grep -qx 'checks: 0 passed, 1 failed' "$work/said" || fail "no summary of the one failed check"
echo "-- the damaged installer fails the check install"
