#!/usr/bin/env bash
# Installs what is missing, builds, and runs Zorv.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps
scripts/build >/dev/null

# The design service: the client reaches it on port 8080. Start the local one
# when nothing answers there, and stop it again when the window closes.
probe=http://127.0.0.1:8080/datasnap/rest/TServerMethods1/Get_Server_Version/
service_pid=
stop_service() {
    [[ -n $service_pid ]] || return 0
    kill "$service_pid" 2>/dev/null || true
    wait "$service_pid" 2>/dev/null || true
    service_pid=
}
trap stop_service EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
if curl -s -o /dev/null --max-time 2 "$probe"; then
    echo "run.sh: a service already answers on 127.0.0.1:8080; using it."
else
    build/design_service/zorv-service --port 8080 --bind 127.0.0.1 >build/zorv-service.log 2>&1 </dev/null &
    service_pid=$!
    for _ in $(seq 50); do
        curl -s -o /dev/null --max-time 1 "$probe" && break
        kill -0 "$service_pid" 2>/dev/null || break
        sleep 0.1
    done
    if curl -s -o /dev/null --max-time 2 "$probe"; then
        echo "run.sh: started zorv-service on 127.0.0.1:8080 (log build/zorv-service.log); it stops with the window."
    else
        echo "run.sh: zorv-service did not start; see build/zorv-service.log" >&2
        exit 1
    fi
fi
status=0
build/app/zorv || status=$?
exit $status
