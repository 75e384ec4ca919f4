#!/usr/bin/env bash
# Installs what is missing, builds, and runs Zorv.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps
scripts/build >/dev/null

# The design service: the client reaches it on port 8080. Start the local one
# when nothing answers there; it keeps running after this script ends.
probe=http://127.0.0.1:8080/datasnap/rest/TServerMethods1/Get_Server_Version/
if curl -s -o /dev/null --max-time 2 "$probe"; then
    echo "run.sh: a service already answers on 127.0.0.1:8080; using it."
else
    setsid nohup build/design_service/zorv-service --port 8080 --bind 127.0.0.1 \
        >build/zorv-service.log 2>&1 </dev/null &
    service_pid=$!
    for _ in $(seq 50); do
        curl -s -o /dev/null --max-time 1 "$probe" && break
        kill -0 "$service_pid" 2>/dev/null || break
        sleep 0.1
    done
    if curl -s -o /dev/null --max-time 2 "$probe"; then
        echo "run.sh: started zorv-service on 127.0.0.1:8080 (pid $service_pid, log build/zorv-service.log)."
    else
        echo "run.sh: zorv-service did not start; see build/zorv-service.log" >&2
        exit 1
    fi
fi
exec build/app/zorv
