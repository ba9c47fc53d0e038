# Shared helpers of the end-to-end tests, sourced by each test script. A test gets a display
# and a Wine prefix of its own, starts the real programs in the background, finds their
# windows by title, types real keys, reads the registry and the disk, and on exit removes
# exactly what it started.
#
# Output that a test reads is taken whole into a variable before it is searched: a reader
# that stops at its first match (awk's exit, grep -q, head) would end the writer before it is
# done with SIGPIPE, and under pipefail that fails the pipeline even though it matched.
set -euo pipefail
e2e_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$e2e_dir/../../scripts/wine/wine-env"

e2e_fail() { echo "FAIL: $*" >&2; exit 1; }
e2e_log() { echo "-- $*"; }

# Starts the test's display and private prefix; everything is undone when the script exits.
e2e_begin() {
  : "${VELKARIS_WINE_ROOT:?VELKARIS_WINE_ROOT must name the build wine folder}"
  [ -f "$VELKARIS_WINE_ROOT/prefix/system.reg" ] || e2e_fail "no pristine prefix (fixture not run)"
  command -v xdotool >/dev/null || e2e_fail "xdotool is not installed"
  e2e_pids=()
  e2e_work=$(mktemp -d "${TMPDIR:-/tmp}/velkaris-e2e.XXXXXX")
  trap e2e_end EXIT
  start_xvfb || e2e_fail "no display"
  e2e_xvfb_pid=$xvfb_pid
  WINEPREFIX=$(copy_prefix "$VELKARIS_WINE_ROOT/prefix")
  export WINEPREFIX
  # One wineserver for the whole test: left to itself it ends a few seconds after its last
  # program, and a Wine command started just then loses its connection to it.
  wineserver -p
}

e2e_end() {
  local pid
  for pid in "${e2e_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -n "${WINEPREFIX:-}" ] && { stop_wineserver; rm -rf "$WINEPREFIX"; }
  [ -n "${e2e_xvfb_pid:-}" ] && kill "$e2e_xvfb_pid" 2>/dev/null || true
  [ -n "${e2e_work:-}" ] && rm -rf "$e2e_work"
  return 0
}

# e2e_start EXE [ARGS...]: runs a Windows program in the background; its pid is e2e_app_pid
# and its output goes to $e2e_work/app.log.
e2e_start() {
  wine "$@" >"$e2e_work/app.log" 2>&1 &
  e2e_app_pid=$!
  e2e_pids+=("$e2e_app_pid")
}

# e2e_wait_window TITLE_REGEX [SECONDS]: prints the id of the first visible window whose title
# matches, waiting for it to appear.
e2e_wait_window() {
  local title=$1 limit=${2:-30} id i
  for ((i = 0; i < limit * 10; i++)); do
    id=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  e2e_fail "no window titled '$title' within ${limit}s"
}

# e2e_wait_until SECONDS WHAT COMMAND [ARGS...]: runs COMMAND every 0.1 s until it succeeds;
# fails the test, naming WHAT, when it has not within SECONDS.
e2e_wait_until() {
  local limit=$1 what=$2 i
  shift 2
  for ((i = 0; i < limit * 10; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  e2e_fail "$what not seen within ${limit}s"
}

# e2e_window_gone TITLE_REGEX: true when no visible window has that title.
e2e_window_gone() {
  ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1
}

# e2e_keys WINDOW PRESS...: gives WINDOW the focus and makes each press as a person would
# (XTEST events, not synthetic ones), the next one only once this one has had its effect:
# the window's page, texts, states or focus changed, as the window probe shows them, or the
# window closed. A press is one key, or keys that show an effect only together ("Right Down").
e2e_keys() {
  local window=$1 title shown press keys
  shift
  title=$(xdotool getwindowname "$window")
  shown=$(e2e_probe "$title" || true)
  for press in "$@"; do
    xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window" 2>/dev/null ||
      e2e_fail "'$title' is gone before $press"
    read -ra keys <<<"$press"
    xdotool key --delay 60 "${keys[@]}"
    e2e_wait_until 10 "the effect of $press on '$title'" e2e_window_changed "$title" "$shown"
    shown=$e2e_window_shown
  done
}

# e2e_window_changed TITLE SHOWN: true when the window probe no longer shows SHOWN for the
# window TITLE; keeps what it shows in e2e_window_shown.
e2e_window_changed() {
  e2e_window_shown=$(e2e_probe "$1" || true)
  [ "$e2e_window_shown" != "$2" ]
}

# e2e_install_and_press WINDOW KEY...: presses Install (Enter) in the installer's window
# WINDOW and, once a probe that watches for the progress page has seen it installing, holds
# the installer (SIGSTOP) while it presses the keys, so that they reach it while it installs
# however loaded the machine is; then lets it go on.
e2e_install_and_press() {
  local window=$1 title line
  shift
  title=$(xdotool getwindowname "$window")
  coproc e2e_watch { wine "$VELKARIS_WINDOW_PROBE" --watch "$title" 1019 2>&1; }
  read -r -t 30 line <&"${e2e_watch[0]}" && [ "${line%$'\r'}" = watching ] ||
    e2e_fail "cannot watch '$title': $line"
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  xdotool key Return
  read -r -t 30 line <&"${e2e_watch[0]}" && [ "${line%$'\r'}" = shown ] ||
    e2e_fail "Install did not show the installation: $line"
  kill -STOP "$e2e_app_pid"
  xdotool key --delay 40 "$@"
  kill -CONT "$e2e_app_pid"
  e2e_log "pressed $* while installing"
}

# e2e_wait_exit [SECONDS]: waits for the started program; prints its exit code and keeps it
# in e2e_exit_status. Call it in the test's own shell (not in $(...)), which owns the child.
e2e_wait_exit() {
  local limit=${1:-30} i
  for ((i = 0; i < limit * 10; i++)); do
    if ! kill -0 "$e2e_app_pid" 2>/dev/null; then
      e2e_exit_status=0
      wait "$e2e_app_pid" || e2e_exit_status=$?
      echo "$e2e_exit_status"
      return 0
    fi
    sleep 0.1
  done
  e2e_fail "program still running after ${limit}s"
}

# e2e_expect_exit CODE [SECONDS]: waits for the started program and fails on another code.
e2e_expect_exit() {
  e2e_wait_exit "${2:-30}" >/dev/null
  [ "$e2e_exit_status" = "$1" ] || e2e_fail "exit code $e2e_exit_status, expected $1"
}

# e2e_screenshot FILE: the whole virtual screen as PNG.
e2e_screenshot() { import -window root "$1"; }

# e2e_reg_value KEY VALUE: prints "TYPE DATA" of a value, or nothing when it is missing.
e2e_reg_value() {
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    awk -v v="$2" '$1 == v { $1 = ""; sub(/^ +/, ""); print; exit }'
}

# e2e_reg_key_exists KEY: true when the key exists.
e2e_reg_key_exists() { wine reg query "$1" >/dev/null 2>&1; }

# e2e_unix_path WINDOWS_PATH: the path inside the prefix.
e2e_unix_path() { winepath -u "$1" 2>/dev/null | tr -d '\r'; }

# e2e_shell_folder NAME: a user shell folder of the prefix (AppData, Programs, ...) as a Unix path.
e2e_shell_folder() {
  local key='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' value
  value=$(e2e_reg_value "$key" "$1" | sed 's/^REG_SZ *//')
  [ -n "$value" ] || e2e_fail "no shell folder $1"
  e2e_unix_path "$value"
}

# e2e_probe TITLE: the controls of a window of the running program (see window_probe.cpp);
# needs VELKARIS_WINDOW_PROBE, the probe's path, passed by the test's registration.
e2e_probe() {
  : "${VELKARIS_WINDOW_PROBE:?VELKARIS_WINDOW_PROBE must name window_probe.exe}"
  wine "$VELKARIS_WINDOW_PROBE" "$1" 2>/dev/null | tr -d '\r'
}
