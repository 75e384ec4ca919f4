#!/usr/bin/env bash
# Installs what is missing, builds, and runs Zorv.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps
# Two run.sh started together build one after the other.
mkdir -p build
# Only what it runs: the window and the local design service.
flock build/.run-build.lock scripts/build zorv zorv-service >/dev/null

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

# A background command of a script ignores Ctrl-C; the window must not.
( trap - INT QUIT; exec build/app/zorv ) &
zorv_pid=$!
sessions_window_started "$zorv_pid"
status=0
wait "$zorv_pid" || status=$?
exit $status
