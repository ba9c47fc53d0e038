#!/usr/bin/env bash
# A destination drive that has become read-only, under an installation there: installed
# again, every program and the uninstaller are reported with their path and "ERROR: Write
# failed.", the chain goes on to "Installation failed.", and the installed files, their
# shortcuts and registry values are left as they were. Once the drive is writable again,
# the next installation succeeds.
#   faults_read_only.sh EXE PACK_TOOL PACKAGE WINDOW_PROBE FAULT_HOLDER
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/install_lib.sh"
source "$(dirname "$0")/faults_lib.sh"
faults_begin "$@"

faults_mount_drive 8m
wine reg add 'HKCU\Software\Velkaris' /v AppPath /t REG_SZ /d 'E:\' /f >/dev/null 2>&1
faults_install Return Return Return
faults_expect_run E: oooooooo o "Installation completed successfully."

faults_remount_drive ro
faults_install Return Return Return
faults_expect_run E: xxxxxxxx x "Installation failed."
faults_expect_all "$faults_drive" E:
e2e_log "every write reported, everything installed is intact"

faults_remount_drive rw
faults_install Return Return Return
faults_expect_run E: oooooooo o "Installation completed successfully."
faults_expect_all "$faults_drive" E:
e2e_log "the next installation succeeded"
