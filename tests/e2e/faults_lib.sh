# Shared steps of the fault tests, sourced after e2e_lib.sh and install_lib.sh: a helper
# that holds faults in place beside the installer, a small drive E: of its own, whole
# installations with the details list they must show, and the check that an installed
# application is still exactly what the package holds.
#   faults_begin EXE PACK_TOOL PACKAGE WINDOW_PROBE FAULT_HOLDER
faults_error='ERROR: Write failed.'

faults_begin() {
  faults_holder=${5:?fault holder}
  install_begin "$1" "$2" "$3" "$4"
  faults_menu="$(e2e_shell_folder Programs)/Velkaris"
  faults_win_menu=$(winepath -w "$faults_menu" | tr -d '\r')
}

# faults_hold KIND TARGET...: starts fault_holder with those faults and waits until they
# are in place (see fault_holder.cpp).
faults_hold() {
  local i
  wine "$faults_holder" "$@" >"$e2e_work/holder.log" 2>&1 &
  faults_holder_pid=$!
  e2e_pids+=("$faults_holder_pid")
  for ((i = 0; i < 300; i++)); do
    grep -q holding "$e2e_work/holder.log" 2>/dev/null && { e2e_log "holding: $*"; return 0; }
    kill -0 "$faults_holder_pid" 2>/dev/null ||
      e2e_fail "fault holder ended: $(tr -d '\r' <"$e2e_work/holder.log")"
    sleep 0.1
  done
  e2e_fail "fault holder not ready after 30 s"
}

# Ends the fault holder; its open files are closed with it.
faults_release() {
  kill "$faults_holder_pid" 2>/dev/null || true
  wait "$faults_holder_pid" 2>/dev/null || true
  e2e_log "fault holder ended"
}

# faults_mount_drive SIZE: a tmpfs of SIZE (as mount takes it) as drive E:, its Unix folder
# in faults_drive. Root ignores Unix permissions, so only a file system of its own can be
# full or read-only. The test runs in the sandbox's mount namespace (scripts/wine/sandbox),
# where it may mount without privileges and the mount vanishes with the test.
faults_mount_drive() {
  faults_drive=$(mktemp -d "${TMPDIR:-/tmp}/velkaris-drive.XXXXXX")
  mount -t tmpfs -o "size=$1,mode=0755" velkaris-drive "$faults_drive" ||
    e2e_fail "cannot mount a tmpfs of $1: run the test in scripts/wine/sandbox"
  ln -s "$faults_drive" "$WINEPREFIX/dosdevices/e:"
  e2e_log "drive E: is a tmpfs of $1"
}

# faults_remount_drive ro|rw: makes drive E: read-only or writable again. The source is
# named, since mount inside a user namespace cannot look the mount point up by itself.
faults_remount_drive() {
  mount -o "remount,$1" velkaris-drive "$faults_drive" || e2e_fail "cannot remount drive E: $1"
}

# faults_install KEY...: starts the installer, presses the keys that lead it to Install,
# and waits for the result; sets faults_result and leaves the window open.
faults_install() {
  install_start
  e2e_keys "$install_window" "$@"
  faults_result=$(install_wait_result)
  e2e_log "result: $faults_result"
}

# faults_expect_run WIN_DEST STATES UNINSTALLER RESULT [AFTER LINES]...: the details list
# and the final text of the open installer, then Close. STATES has one letter per
# application: o installed, x program not written, l shortcut not created, - unchecked;
# UNINSTALLER is o or x. Each pair AFTER LINES expects LINES (one a line) right after the
# line AFTER.
faults_expect_run() {
  local win_dest=$1 states=$2 uninstaller=$3 result=$4 lines=() i expected
  shift 4
  for i in "${!install_names[@]}"; do
    local exe="$win_dest\\${install_names[$i]}.exe" lnk="$faults_win_menu\\${install_names[$i]}.lnk"
    case "${states:$i:1}" in
      o) lines+=("$exe" "$lnk") ;;
      x) lines+=("$exe" "$faults_error") ;;
      l) lines+=("$exe" "$lnk" "$faults_error") ;;
    esac
  done
  lines+=("$win_dest\\uninstall.exe")
  [ "$uninstaller" = x ] && lines+=("$faults_error")
  expected=$(printf '%s\n' "${lines[@]}")
  while [ $# -ge 2 ]; do
    expected=$(after="$1" extra="$2" awk '{ print } $0 == ENVIRON["after"] { print ENVIRON["extra"] }' \
      <<<"$expected")
    shift 2
  done
  install_expect "details" "$(install_details)" "$expected"
  install_expect "final text" "$faults_result" "$result"
  install_expect "progress" "$(install_progress)" 100
  install_close
}

# faults_expect_app I DEST WIN_DEST: application I in Unix folder DEST is the package's
# file with its time, its shortcut points at it, and its registry values are right.
faults_expect_app() {
  local program="$3\\${install_names[$1]}.exe"
  install_expect_program "$1" "$2"
  install_expect_link "$faults_menu/${install_names[$1]}.lnk" "$program"
  install_expect_app_values "$1" "$program"
}

# faults_expect_uninstaller DEST WIN_DEST: uninstall.exe is the package's and registered.
faults_expect_uninstaller() {
  cmp -s "$1/uninstall.exe" "$(install_package_file uninstaller)" ||
    e2e_fail "uninstall.exe differs from entry 10"
  install_expect_reg "$install_uninstall_key" DisplayIcon REG_SZ "$2\\uninstall.exe,0"
  install_expect_reg "$install_uninstall_key" DisplayName REG_SZ \
    "Velkaris App Pack (Single User)"
  install_expect_reg "$install_uninstall_key" UninstallString REG_SZ "\"$2\\uninstall.exe\""
  install_expect_reg 'HKCU\Software\Velkaris' AppPath REG_SZ "$2\\"
}

# faults_expect_all DEST WIN_DEST: every application and the uninstaller are installed.
faults_expect_all() {
  local i
  for i in "${!install_names[@]}"; do
    faults_expect_app "$i" "$1" "$2"
  done
  faults_expect_uninstaller "$1" "$2"
}
