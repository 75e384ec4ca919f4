# Shared by the Xvfb smoke test and the start-up benchmark (sourced, not run): a
# private X server and the local design service on 127.0.0.1:8080, the address the
# program is built with. Port 8080 is fixed, so the caller runs in a private network
# namespace when it can (desktop_private_network "$0" "$@" re-runs the script there).
#
# The caller sets: root (the repository), out (a folder for logs), skip and fail
# (functions that end the script).

desktop_root=/datasnap/rest/TServerMethods1
desktop_pids=()

desktop_private_network() {
    if [[ -z ${DESKTOP_NETWORK:-} ]]; then
        if command -v unshare >/dev/null && command -v ip >/dev/null && unshare -rn true 2>/dev/null; then
            DESKTOP_NETWORK=private exec unshare -rn "$@"
        fi
        DESKTOP_NETWORK=shared
    fi
    if [[ $DESKTOP_NETWORK == private ]]; then ip link set lo up; fi
    if curl -s -o /dev/null --max-time 2 "http://127.0.0.1:8080$desktop_root/Get_Server_Version/"; then
        skip "something already answers on 127.0.0.1:8080 and no private network is available; stop it to run this"
    fi
}

desktop_stop() {
    local pid
    for pid in "${desktop_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${desktop_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    desktop_pids=()
}

# Waits up to $1 tenths of a second for the command after it to succeed.
desktop_wait() {
    local tenths=$1
    shift
    for _ in $(seq "$tenths"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Xvfb on a display number it finds free; exports DISPLAY. It never resets: by default
# it does when its last client goes, and a client that connects meanwhile waits for
# ever (a window closed while the test looks for windows).
desktop_start_xvfb() {
    exec 3>"$out/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 2>"$out/xvfb.log" &
    desktop_pids+=($!)
    exec 3>&-
    desktop_wait 100 test -s "$out/display" || fail "Xvfb did not start"
    export DISPLAY=:$(tr -d '[:space:]' <"$out/display")
}

# zorv-service for 127.0.0.1:8080, logging one line per request to $out/service.log.
# The service shortens long requests in its log, so with python3 at hand a recorder
# takes 8080, writes every request line whole to $out/requests.log and relays it to
# the service on a port of its own; desktop_requests names the file that has them.
# While $out/delay exists, the relay holds each design request for the seconds it says.
desktop_start_service() {
    local port=8080
    command -v python3 >/dev/null && port=0
    "$build/design_service/zorv-service" --port "$port" --bind 127.0.0.1 2>"$out/service.log" &
    desktop_pids+=($!)
    desktop_wait 50 grep -q "listening on 127.0.0.1:" "$out/service.log" || fail "zorv-service did not start"
    desktop_requests=$out/service.log
    desktop_whole_requests=
    [[ $port -eq 0 ]] || return 0
    port=$(sed -n 's/^zorv-service: listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$out/service.log")
    : >"$out/requests.log"
    python3 scripts/request-recorder.py 8080 "$port" "$out/requests.log" "$out/delay" >"$out/recorder.out" 2>&1 &
    desktop_pids+=($!)
    desktop_wait 50 grep -q listening "$out/recorder.out" || fail "the request recorder did not start"
    desktop_requests=$out/requests.log
    desktop_whole_requests=1
}

# How many design requests reached the service.
desktop_run_requests() { grep -c "GET $desktop_root/RUN_ZORV_PROJECT/" "$desktop_requests" || true; }
desktop_have_runs() { [[ $(desktop_run_requests) -ge $1 ]]; }

# The id of zorv's visible window, in desktop_window; false while there is none.
desktop_find_window() {
    desktop_window=$(timeout 5 xdotool search --onlyvisible --name '^Zorv' 2>/dev/null | head -n 1)
    [[ -n $desktop_window ]]
}
