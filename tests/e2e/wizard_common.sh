# Helpers of the wizard's end-to-end tests, on top of e2e_lib.sh: what the running
# installer's pages and the folder browser show, read through the window probe.
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

wiz_title='Velkaris App Pack (Single User)'
wiz_title_regex='^Velkaris App Pack \(Single User\)$'
browser_title_regex='^Browse for Folder$'

# wiz_control TITLE ID: the probe line of the visible control ID (a hidden page's controls
# are not visible); fails when the window cannot be read.
wiz_control() {
  local shown
  shown=$(e2e_probe "$1") || return 1
  awk -v id="id=$2" '$2 == id && / visible=1 / { print; exit }' <<<"$shown"
}

# wiz_text ID: the text of the visible control ID of the installer's window.
wiz_text() { wiz_control "$wiz_title" "$1" | sed 's/^.* text=//'; }

# wiz_enabled ID: true when the visible control ID is enabled; wiz_disabled the opposite.
wiz_enabled() { [[ $(wiz_control "$wiz_title" "$1") == *' enabled=1 '* ]]; }
wiz_disabled() { [[ $(wiz_control "$wiz_title" "$1") == *' enabled=0 '* ]]; }

# wiz_wait_page N: waits until page N is the visible page, told by a control only it has.
wiz_wait_page() {
  local ids=(1004 1006 1005 1019) i
  for ((i = 0; i < 100; i++)); do
    [ -n "$(wiz_control "$wiz_title" "${ids[$1]}")" ] && return 0
    sleep 0.2
  done
  e2e_fail "page $1 is not shown"
}

# wiz_wait_text ID TEXT [SECONDS]: waits until the visible control ID shows TEXT.
wiz_wait_text() {
  local limit=${3:-20} i text=''
  for ((i = 0; i < limit * 5; i++)); do
    text=$(wiz_text "$1") ||
      e2e_fail "control $1 cannot be read (status $?): $(e2e_probe_said)"
    [ "$text" = "$2" ] && return 0
    sleep 0.2
  done
  e2e_fail "control $1 shows '$text', not '$2'"
}

# browser_selection: the name of the folder selected in the open folder browser, which the
# browser keeps in its (hidden) folder-name field.
browser_selection() {
  local shown
  shown=$(e2e_probe 'Browse for Folder') || return 1
  awk '/ class=Edit / { sub(/^.* text=/, ""); print; exit }' <<<"$shown"
}

# browser_wait_selection NAME: waits until the browser has the folder NAME selected.
browser_wait_selection() {
  local i name=''
  for ((i = 0; i < 50; i++)); do
    name=$(browser_selection) ||
      e2e_fail "the browser cannot be read (status $?): $(e2e_probe_said)"
    [ "$name" = "$1" ] && return 0
    sleep 0.2
  done
  e2e_fail "the browser has '$name' selected, not '$1'"
}

# browser_open WINDOW: presses Alt+R (Browse) in the installer; prints the browser's id.
browser_open() {
  e2e_keys "$1" alt+r
  e2e_wait_window "$browser_title_regex"
}

# browser_wait_closed: waits until no folder browser is shown.
browser_wait_closed() {
  local i
  for ((i = 0; i < 100; i++)); do
    e2e_window_gone "$browser_title_regex" && return 0
    sleep 0.1
  done
  e2e_fail "the folder browser is still open"
}
