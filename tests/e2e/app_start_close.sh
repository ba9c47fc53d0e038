#!/usr/bin/env bash
# The installer starts, shows its main window with the licence page, follows a change to
# 144 DPI, and Alt+F4 ends the run at once with exit code 0. The window at 144 DPI is saved
# as SHOTS/dpi-144-RUNTIME.png.
source "$(dirname "$0")/e2e_lib.sh"
exe=${1:?installer}
shots=${2:?folder for the screenshot}
title='Velkaris App Pack (Single User)'

# dpi_change_faults BEFORE AFTER SUGGESTED: one line for each way the window probe's AFTER
# differs from a window at the SUGGESTED rectangle whose pages fill its client area and
# whose pages' controls grew by about one half (96 to 144 DPI, as far as the font's
# metrics round) from BEFORE.
dpi_change_faults() {
  awk -v suggested="$3" '
    function field(line, name) {
      match(line, " " name "=[^ ]*")
      return substr(line, RSTART + length(name) + 2, RLENGTH - length(name) - 2)
    }
    function grown(after, before) { return after >= 1.3 * before && after <= 1.7 * before }
    FNR == NR { if ($1 == 2) was[++count] = field($0, "rect"); next }
    $1 == 0 {
      split(field($0, "client"), client, ",")
      if (field($0, "rect") != suggested) print "the window is at " field($0, "rect") ", not " suggested
    }
    $1 == 1 && field($0, "rect") != "0,0," client[1] "," client[2] {
      print "page " $2 " is at " field($0, "rect") " in a client area of " client[1] "x" client[2]
    }
    $1 == 2 {
      split(was[++seen], b, ","); split(field($0, "rect"), a, ",")
      if (!grown(a[3] - a[1], b[3] - b[1]) || !grown(a[4] - a[2], b[4] - b[2]))
        print "control " $2 " went from " was[seen] " to " field($0, "rect")
    }' <(printf '%s\n' "$1") <(printf '%s\n' "$2")
}

e2e_begin
e2e_start "$exe"
window=$(e2e_wait_window '^Velkaris App Pack \(Single User\)$')
e2e_log "main window $window is shown"
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" -gt 300 ] && [ "$HEIGHT" -gt 200 ] || e2e_fail "window is ${WIDTH}x${HEIGHT}"

# Wine's screens keep the DPI they start with, so the change is sent as the system would.
before=$(e2e_probe "$title") || e2e_fail "cannot read the window: $(e2e_probe_said)"
sent=$(wine "$VELKARIS_WINDOW_PROBE" --dpi "$title" 144 2>&1 | tr -d '\r') ||
  e2e_fail "no DPI change sent: $sent"
e2e_wait_until 10 "the change to 144 DPI" e2e_window_changed "$title" "$before"
faults=$(dpi_change_faults "$before" "$e2e_window_shown" "${sent#suggested=}")
[ -z "$faults" ] || e2e_fail "at 144 DPI: $(paste -sd ';' <<<"$faults")"
mkdir -p "$shots"
e2e_screenshot "$shots/dpi-144-$VELKARIS_RUNTIME.png"
licence_field() { sed -n 's/^2 id=1004 .* rect=\([^ ]*\) .*/\1/p' <<<"$1"; }
e2e_log "at 144 DPI the window took $sent and every control of the pages grew; the licence" \
  "text from $(licence_field "$before") to $(licence_field "$e2e_window_shown")"

e2e_keys "$window" alt+F4
e2e_expect_exit 0 20
e2e_window_gone '^Velkaris App Pack' || e2e_fail "window still shown after exit"
e2e_log "closed with exit code 0"
