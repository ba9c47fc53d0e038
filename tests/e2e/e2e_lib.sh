# Shared helpers of the end-to-end tests, sourced by each test script. A test gets a display
# and a Wine prefix of its own, starts the real programs in the background, finds their
# windows by title, types real keys, reads the registry and the disk, and on exit removes
# exactly what it started. However it fails, it prints a line saying why.
#
# Output that a test reads is taken whole into a variable before it is searched: a reader
# that stops at its first match (awk's exit, grep -q, head) would end the writer before it is
# done with SIGPIPE, and under pipefail that fails the pipeline even though it matched.
set -euo pipefail
# Functions and command substitutions inherit the ERR trap, which notes the failed command.
set -E
e2e_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$e2e_dir/../../scripts/wine/wine-env"

e2e_pids=()
e2e_failed=0

# e2e_fail MESSAGE: ends the test with "FAIL: MESSAGE". In a command substitution it ends
# only that subshell; the mark it leaves keeps e2e_exit from reporting that as a second cause.
e2e_fail() {
  echo "FAIL: $*" >&2
  e2e_failed=1
  [ -z "${e2e_work:-}" ] || : >"$e2e_work/failed"
  exit 1
}
e2e_log() { echo "-- $*"; }

# The ERR trap: keeps the command that failed where set -e ends the script, with its status
# and the functions it was called through, for e2e_exit.
e2e_note_failure() {
  local status=$1 command=$2 i calls=''
  for ((i = 1; i < ${#FUNCNAME[@]}; i++)); do
    calls+=" ${FUNCNAME[i]} (${BASH_SOURCE[i]##*/}:${BASH_LINENO[i - 1]})"
  done
  e2e_failure="'$command' failed with status $status in$calls"
}
trap 'e2e_note_failure $? "$BASH_COMMAND"' ERR

# The EXIT trap: a test that ends with a failure e2e_fail did not report names the command
# that ended it; then everything the test started is undone.
e2e_exit() {
  local status=$?
  if [ "$status" != 0 ] && [ "$e2e_failed" = 0 ] && [ ! -e "${e2e_work:-/nonexistent}/failed" ]
  then
    echo "FAIL: ${e2e_failure:-ended with status $status}" >&2
  fi
  e2e_end
}
trap e2e_exit EXIT

# Starts the test's display and private prefix; everything is undone when the script exits.
e2e_begin() {
  : "${VELKARIS_WINE_ROOT:?VELKARIS_WINE_ROOT must name the build wine folder}"
  [ -f "$VELKARIS_WINE_ROOT/prefix/system.reg" ] || e2e_fail "no pristine prefix (fixture not run)"
  command -v xdotool >/dev/null || e2e_fail "xdotool is not installed"
  e2e_work=$(mktemp -d "${TMPDIR:-/tmp}/velkaris-e2e.XXXXXX")
  start_xvfb || e2e_fail "no display"
  e2e_xvfb_pid=$xvfb_pid
  e2e_prefix=$(copy_prefix "$VELKARIS_WINE_ROOT/prefix")
  export WINEPREFIX=$e2e_prefix
  # One wineserver for the whole test: left to itself it ends a few seconds after its last
  # program, and a Wine command started just then loses its connection to it.
  wineserver -p
}

e2e_end() {
  local pid
  for pid in "${e2e_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -n "${e2e_prefix:-}" ] && { stop_wineserver; rm -rf "$e2e_prefix"; }
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
  local title=$1 limit=${2:-60} id i
  for ((i = 0; i < limit * 10; i++)); do
    id=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  e2e_fail "no window titled '$title' within ${limit}s; $(e2e_screen_state)"
}

# e2e_screen_state: what a test that waited in vain saw, for its failure line: whether the
# program it started last still runs, the visible windows' titles and that program's output.
e2e_screen_state() {
  local program='no program started' windows
  if [ -n "${e2e_app_pid:-}" ]; then
    program='the program started last has ended'
    ! kill -0 "$e2e_app_pid" 2>/dev/null || program='the program started last still runs'
  fi
  windows=$(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null |
    paste -sd '|' || true)
  echo "$program; visible windows: ${windows:-none}; its output:" \
    "$(tail -n 5 "$e2e_work/app.log" 2>/dev/null | tr -d '\r' | paste -sd '|' || true)"
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
  title=$(xdotool getwindowname "$window" 2>&1) || e2e_fail "window $window is gone: $title"
  shown=$(e2e_probe "$title" || true)
  for press in "$@"; do
    xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window" 2>/dev/null ||
      e2e_fail "'$title' is gone before $press"
    read -ra keys <<<"$press"
    xdotool key --delay 60 "${keys[@]}" || e2e_fail "xdotool could not press $press"
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
# The probe writes into a named pipe that the test opens once: its descriptor stays valid
# after the probe ends, unlike a coproc's, whose variables go when it is reaped.
e2e_install_and_press() {
  local window=$1 title watch
  shift
  title=$(xdotool getwindowname "$window" 2>&1) || e2e_fail "window $window is gone: $title"
  mkfifo "$e2e_work/watch"
  wine "$VELKARIS_WINDOW_PROBE" --watch "$title" 1019 >"$e2e_work/watch" 2>&1 &
  e2e_pids+=("$!")
  exec {watch}<"$e2e_work/watch"
  e2e_watch_says "$watch" watching "cannot watch '$title'"
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window" ||
    e2e_fail "cannot focus '$title' to press Install"
  xdotool key Return || e2e_fail "xdotool could not press Install"
  e2e_watch_says "$watch" shown "Install did not show the installation"
  exec {watch}<&-
  rm "$e2e_work/watch"
  kill -STOP "$e2e_app_pid" || e2e_fail "the installer ended before the keys $*"
  xdotool key --delay 40 "$@" || e2e_fail "xdotool could not press $*"
  kill -CONT "$e2e_app_pid"
  e2e_log "pressed $* while installing"
}

# e2e_watch_says FD LINE WHAT: reads the watching probe's next line from FD; unless it is
# LINE, fails naming WHAT and what the probe said, or that it ended or said nothing in 30 s.
e2e_watch_says() {
  local line='' status=0
  IFS= read -r -t 30 line <&"$1" || status=$?
  line=${line%$'\r'}
  [ "$status" = 0 ] && [ "$line" = "$2" ] && return 0
  [ "$status" -le 128 ] || e2e_fail "$3: the window probe said nothing within 30 s"
  [ "$status" = 0 ] || e2e_fail "$3: the window probe ended${line:+ after '$line'}"
  e2e_fail "$3: the window probe said '$line'"
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

# e2e_reg_query KEY [ARGS...]: what `wine reg query` prints, then its error output, without
# carriage returns; the status is reg's. The error output goes through a file: the Wine
# programs a first command starts (services, the desktop) outlive it and inherit it, and a
# command substitution would wait for them to close it.
e2e_reg_query() {
  local said status=0
  said=$(wine reg query "$@" 2>"$e2e_work/reg.err") || status=$?
  said+=$(<"$e2e_work/reg.err")
  printf '%s\n' "${said//$'\r'/}"
  return "$status"
}

# e2e_reg_value KEY VALUE: prints "TYPE DATA" of a value, or nothing when it is missing.
e2e_reg_value() {
  local said
  said=$(e2e_reg_query "$1" /v "$2") || return 0
  awk -v v="$2" '$1 == v { $1 = ""; sub(/^ +/, ""); print; exit }' <<<"$said"
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
# needs VELKARIS_WINDOW_PROBE, the probe's path, passed by the test's registration. Fails
# when the probe cannot read the window; e2e_probe_said then tells why.
e2e_probe() {
  : "${VELKARIS_WINDOW_PROBE:?VELKARIS_WINDOW_PROBE must name window_probe.exe}"
  wine "$VELKARIS_WINDOW_PROBE" "$1" 2>"$e2e_work/probe.err" | tr -d '\r'
}

# e2e_probe_said: the error output of the last window probe, on one line.
e2e_probe_said() { tr -d '\r' <"$e2e_work/probe.err" | tr '\n' ' '; }
