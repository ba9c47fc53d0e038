#!/usr/bin/env bash
# A test that hangs with a display, a Wine program and its wineserver, a mounted drive and a
# prefix copy is ended twice as CTest ends a test at its timeout: once by the sandbox's own
# deadline, once with SIGKILL from outside, which no trap sees. Each time, no process of it
# remains, nor its mount namespace with the drive and the temporary folders. Runs in a
# sandbox itself, so that it leaves nothing behind either.
#   sandbox_killed.sh SANDBOX
source "$(dirname "$0")/e2e_lib.sh"

# The hanging test: prints its namespaces once everything is started, then waits forever.
#   sandbox_killed.sh --hang
if [ "${1:-}" = --hang ]; then
  e2e_begin
  mkdir "${TMPDIR:-/tmp}/drive"
  mount -t tmpfs -o size=1m velkaris-drive "${TMPDIR:-/tmp}/drive"
  e2e_start notepad
  e2e_wait_window Notepad >/dev/null
  readlink /proc/self/ns/pid /proc/self/ns/mnt
  sleep infinity
fi

sandbox=${1:?sandbox script}

# holders NAMESPACE: the processes in that namespace.
holders() {
  local entry
  for entry in /proc/[0-9]*/ns/pid /proc/[0-9]*/ns/mnt; do
    [ "$(readlink "$entry" 2>/dev/null)" = "$1" ] && echo "${entry%/ns/*}"
  done
  return 0
}

nothing_left() { [ -z "$(holders "$pid_ns")$(holders "$mnt_ns")" ]; }

# run_hanging DEADLINE: starts the hanging test in a sandbox and waits until it is up; its
# namespaces come through a pipe, as the sandbox's /tmp is its own. The pipe is kept under a
# descriptor of its own, which bash does not take away when the coproc ends early. Sets
# startup to the seconds it took to come up.
run_hanging() {
  local from_hanging started=$SECONDS
  coproc hanging { exec "$sandbox" --deadline "$1" -- bash "$0" --hang; }
  sandbox_pid=$hanging_PID
  exec {from_hanging}<&"${hanging[0]}"
  read -r -t 150 pid_ns <&"$from_hanging" && read -r -t 5 mnt_ns <&"$from_hanging" ||
    e2e_fail "the hanging test did not start (its sandbox ended or said nothing within 150 s)"
  exec {from_hanging}<&-
  startup=$((SECONDS - started))
  [ -n "$(holders "$pid_ns")" ] || e2e_fail "no process seen in the hanging test's namespace"
  e2e_log "hanging test up in ${startup}s: $(holders "$pid_ns" | wc -l) processes in $pid_ns"
}

run_hanging 0
kill -KILL "$sandbox_pid"
wait "$sandbox_pid" 2>/dev/null || true
e2e_wait_until 10 "the end of every process and mount" nothing_left
e2e_log "SIGKILL: nothing left in $pid_ns or $mnt_ns"

# The deadline must leave the hanging test time to start its display, prefix and Wine: three
# times what the first start took on this machine now, as a loaded machine was seen to need
# more than 30 s.
deadline=$((3 * startup + 15))
run_hanging "$deadline"
status=0
wait "$sandbox_pid" || status=$?
[ "$status" = 124 ] || e2e_fail "the sandbox ended with $status at its deadline of ${deadline}s," \
  "expected 124 (the hanging test came up after ${startup}s)"
e2e_wait_until 10 "the end of every process and mount" nothing_left
e2e_log "deadline: nothing left in $pid_ns or $mnt_ns"
