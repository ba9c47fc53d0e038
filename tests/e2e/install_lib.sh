# Shared steps of the installation's end-to-end tests, sourced after e2e_lib.sh: the
# package's own files as the package tool extracts them, driving the wizard to the end of
# an installation, and reading its result from the window, the disk and the registry.
#   install_begin EXE PACK_TOOL PACKAGE WINDOW_PROBE
install_title='Velkaris App Pack (Single User)'
install_title_pattern='^Velkaris App Pack \(Single User\)$'
install_names=(Brinet PaneVista QuietVault Padwick Tunewell Notarel LockBin Packrill)
install_uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velkaris'

install_begin() {
  install_exe=${1:?installer}
  local tool=${2:?package tool} package=${3:?package}
  export VELKARIS_WINDOW_PROBE=${4:?window probe}
  e2e_begin
  install_pkg="$e2e_work/pkg"
  "$tool" extract "$package" "$install_pkg" >/dev/null ||
    e2e_fail "package tool could not extract $package"
}

install_expect() {  # install_expect WHAT ACTUAL EXPECTED
  [ "$2" = "$3" ] || e2e_fail "$1: got '$2', expected '$3'"
}

# The extracted file of application i (0 to 7), or of the uninstaller with "uninstaller".
install_package_file() {
  if [ "$1" = uninstaller ]; then
    echo "$install_pkg/10-uninstaller.exe"
  else
    echo "$install_pkg/0$(( $1 + 1 ))-${install_names[$1]}.exe"
  fi
}

# Starts the installer and waits for its window; sets install_window.
install_start() {
  e2e_start "$install_exe"
  install_window=$(e2e_wait_window "$install_title_pattern")
}

# Waits until the status line shows the result of the final step; prints it.
install_wait_result() {
  local i status
  for ((i = 0; i < 300; i++)); do
    status=$(e2e_probe "$install_title" | sed -n 's/^2 id=1003 .* text=//p') ||
      e2e_fail "the progress page cannot be read (status $?): $(e2e_probe_said)"
    case "$status" in Installation*) echo "$status"; return 0 ;; esac
    sleep 0.1
  done
  e2e_fail "no result on the progress page; status line '$status'"
}

# install_button_shown ENABLED TEXT: true when the visible page's button TEXT is enabled (1)
# or disabled (0).
install_button_shown() {
  local shown
  shown=$(e2e_probe "$install_title") || return 1
  grep -q "visible=1 enabled=$1 .* text=$2\$" <<<"$shown"
}

# The lines of the details list, one a line.
install_details() { e2e_probe "$install_title" | sed -n 's/^item=//p'; }

# The position of the progress bar.
install_progress() { e2e_probe "$install_title" | sed -n 's/^2 id=1019 .* pos=\([0-9]*\) .*/\1/p'; }

# Presses Close on the finished progress page and expects the run to end with exit code 0.
install_close() {
  e2e_keys "$install_window" Return
  e2e_expect_exit 0 20
  e2e_window_gone "$install_title_pattern" || e2e_fail "window still shown after exit"
}

# install_reg_query KEY VALUE: what reg prints for a value ("" for the default value).
install_reg_query() {
  if [ -n "$2" ]; then e2e_reg_query "$1" /v "$2"; else e2e_reg_query "$1" /ve; fi
}

# install_reg_data VALUE: "TYPE|DATA" of the value in reg's answer on standard input.
install_reg_data() {
  awk -v name="${1:-(Default)}" -F '    ' '$2 == name { print $3 "|" $4; exit }'
}

# install_reg KEY VALUE: "TYPE|DATA" of a value ("" for the default value), or nothing.
install_reg() {
  local said
  said=$(install_reg_query "$1" "$2") || return 0
  install_reg_data "$2" <<<"$said"
}

# install_expect_reg KEY VALUE TYPE DATA: a value that differs fails with all reg printed.
install_expect_reg() {
  local said status=0 got
  said=$(install_reg_query "$1" "$2") || status=$?
  got=$(install_reg_data "$2" <<<"$said")
  [ "$got" = "$3|$4" ] || e2e_fail "$1 ${2:-(Default)}: got '$got', expected '$3|$4';" \
    "reg query exited with $status and printed: $(tr '\n' ' ' <<<"$said")"
}

# The values one installed application registers, for the program at Windows path EXE.
install_expect_app_values() {
  local i=$1 exe=$2 classes='HKCU\Software\Classes' command="\"$2\" \"%1\""
  case "$i" in
    4)
      local verb
      for verb in "$classes\\Directory\\shell\\Tunewell" \
                  "$classes\\SystemFileAssociations\\audio\\shell\\Tunewell"; do
        install_expect_reg "$verb" "" REG_SZ "Play with Tunewell"
        install_expect_reg "$verb\\command" "" REG_SZ "$command"
      done
      ;;
    5) install_expect_file_type .ntxt Notarel.Document "Notarel Document" "$exe" ;;
    6) install_expect_file_type .lbx LockBin.File "LBX Encrypted File" "$exe" ;;
    7) install_expect_file_type .pkr Packrill.File "Packrill Archive" "$exe" ;;
  esac
}

install_expect_file_type() {  # EXTENSION PROGID DESCRIPTION EXE
  local classes='HKCU\Software\Classes'
  install_expect_reg "$classes\\$1" "" REG_SZ "$2"
  install_expect_reg "$classes\\$2" "" REG_SZ "$3"
  install_expect_reg "$classes\\$2\\DefaultIcon" "" REG_SZ "$4,0"
  install_expect_reg "$classes\\$2\\shell" "" REG_SZ open
  install_expect_reg "$classes\\$2\\shell\\open\\command" "" REG_SZ "\"$4\" \"%1\""
}

# No key of application i's values exists.
install_expect_no_app_keys() {
  local classes='HKCU\Software\Classes' key keys=()
  case "$1" in
    4) keys=("$classes\\Directory\\shell\\Tunewell"
             "$classes\\SystemFileAssociations\\audio\\shell\\Tunewell") ;;
    5) keys=("$classes\\.ntxt" "$classes\\Notarel.Document") ;;
    6) keys=("$classes\\.lbx" "$classes\\LockBin.File") ;;
    7) keys=("$classes\\.pkr" "$classes\\Packrill.File") ;;
  esac
  for key in "${keys[@]}"; do
    ! e2e_reg_key_exists "$key" || e2e_fail "key $key exists"
  done
}

# The installed program of application i in Unix folder DIR is the package's file, with the
# package's time.
install_expect_program() {
  local i=$1 dir=$2 file expected
  file="$dir/${install_names[$i]}.exe"
  expected=$(install_package_file "$i")
  cmp -s "$file" "$expected" || e2e_fail "$file differs from the package's entry $(( i + 1 ))"
  install_expect "time of $file" "$(stat -c %y "$file")" "$(stat -c %y "$expected")"
}

# The shortcut at Unix path LINK points at Windows path TARGET and carries nothing else.
install_expect_link() {
  local info
  info=$(lnkinfo "$1" 2>&1) || e2e_fail "lnkinfo cannot read $1"
  install_expect "target of $1" "$(printf '%s\n' "$info" | lnk_local_path)" "$2"
  local extras='^\s*(Description|Working directory|Command line arguments|Icon location)'
  ! printf '%s\n' "$info" | grep -Eq "$extras" ||
    e2e_fail "$1 carries more than its target"
}

# The names in a Unix folder, sorted, on one line.
install_listing() { (cd "$1" && ls -A | sort | tr '\n' ' ' | sed 's/ $//'); }
