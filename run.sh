#!/usr/bin/env bash
# Installs what is missing, builds, and runs Zorv.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps
# Two run.sh started together build one after the other. Only what it runs: the
# window and the local design service.
mkdir -p build
build_status=0
flock -n -E 75 build/.run-build.lock scripts/build --steps zorv zorv-service || build_status=$?
if [[ $build_status -eq 75 ]]; then
    echo "run.sh: another run.sh is building in build/; waiting for it"
    build_status=0
    flock build/.run-build.lock scripts/build --steps zorv zorv-service || build_status=$?
fi
[[ $build_status -eq 0 ]] || exit "$build_status"

# The design service: the client reaches it on 127.0.0.1:8080. A design service that
# answers there is used; when nothing does, zorv-service is started there and shared
# with the other windows that run.sh opens, until the last of them closes.
# shellcheck source=scripts/service-sessions.sh
source scripts/service-sessions.sh
trap sessions_close EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM
sessions_open build

# Once the window runs, it decides how the program ends: run.sh passes each end signal
# on to it, waits until it has gone and ends as it did. The window runs in a session
# of its own, so that a terminal's signals reach it only this way, once each: when
# run.sh leads the terminal's session (xterm -e, ssh -t), its own end hangs the
# terminal up, and the window would take that hang-up for a second Ctrl-C, which ends
# it at once.
window_pid=
window_signals=0
trapped=0
pass_on() {
    trapped=$((trapped + 1))
    # A hang-up after another end signal only says that the terminal went; the window
    # is closing already.
    [[ $1 == HUP && $window_signals -gt 0 ]] && return 0
    window_signals=$((window_signals + 1))
    if [[ -n $window_pid ]]; then
        kill -s "$1" "$window_pid" 2>/dev/null || true
    else
        early_signals+=("$1")
    fi
}
early_signals=()
for signal in INT TERM HUP QUIT; do
    # shellcheck disable=SC2064 # the signal's name now
    trap "pass_on $signal" "$signal"
done
# A background command of a script ignores Ctrl-C; the window must not. The subshell
# is no process group leader, so setsid becomes the window without a fork.
( trap - INT QUIT; exec setsid build/app/zorv ) &
window_pid=$!
for signal in "${early_signals[@]}"; do kill -s "$signal" "$window_pid" 2>/dev/null || true; done
sessions_window_started "$window_pid"

# A signal that run.sh traps cuts its wait short, also when it comes just after the
# window has gone (the next wait then finds no such child: 127).
status=
last=
while [[ -z $status ]]; do
    seen=$trapped
    rc=0
    wait "$window_pid" 2>/dev/null || rc=$?
    if [[ $seen -eq $trapped ]]; then
        status=$rc
        [[ $rc -ne 127 || -z $last ]] || status=$last
    fi
    last=$rc
done
trap - EXIT
sessions_close
# Ended by Ctrl-C, kill or a hang-up: run.sh ends by the same signal, so that a shell
# that runs it knows.
case $status in
    129 | 130 | 143)
        trap - HUP INT TERM
        kill -n $((status - 128)) $$
        ;;
esac
exit "$status"
