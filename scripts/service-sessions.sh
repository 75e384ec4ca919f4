# shellcheck shell=bash
# The local design service that the windows of run.sh share (sourced by run.sh; run
# as "service-sessions.sh keep FOLDER" it is the keeper of a started service).
#
# Port 8080 is fixed in the program. When nothing holds it, the first run.sh starts
# zorv-service there; every run.sh whose window uses that service holds a lease, a
# file with the process ids (and start times) of the run.sh and of its window. The
# service stops when the last lease ends: the run.sh that closes its window last
# stops it, and a keeper process stops it when the run.sh sessions were killed
# instead. The folder is per network namespace, since each has its own port 8080.
# Everything that reads or changes the folder holds its lock.

sessions_port=8080
sessions_url=http://127.0.0.1:$sessions_port/datasnap/rest/TServerMethods1/Get_Server_Version/

# A terminal that has gone refuses the line; run.sh goes on all the same.
sessions_say() { echo "run.sh: $*" 2>/dev/null || true; }
sessions_fail() {
    echo "run.sh: $*" >&2
    exit 1
}

# The start time of a process (clock ticks after boot): with its id it names the
# process, whose id alone may have been given to another one since.
sessions_start_time() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    stat=${stat##*) }
    # shellcheck disable=SC2086
    set -- $stat
    echo "${20}"
}

sessions_identity() { echo "$1 $(sessions_start_time "$1")"; }

# True while the process named by "pid start" (one word or two) lives.
sessions_alive() {
    local pid start
    read -r pid start <<<"$*"
    [[ -n $pid && -n $start && $(sessions_start_time "$pid" 2>/dev/null) == "$start" ]]
}

sessions_folder() {
    local net
    net=$(readlink /proc/self/ns/net 2>/dev/null) || net=default
    net=${net//[^0-9]/}
    echo "$1/run-sessions/net-${net:-default}"
}

# The keeper waits for the lock however long it takes ("sessions_lock forever"):
# giving up would leave the service running for good.
sessions_lock() {
    exec {sessions_lock_fd}>>"$sessions_dir/lock"
    if [[ ${1:-} == forever ]]; then
        flock "$sessions_lock_fd"
        return
    fi
    flock -w 60 "$sessions_lock_fd" || sessions_fail "another run.sh holds $sessions_dir/lock for more than a minute"
}
sessions_unlock() { exec {sessions_lock_fd}>&-; }

# A lease lives while any process it names lives. Drops the dead ones; prints how
# many live leases remain.
sessions_live_leases() {
    local lease pid start live count=0
    for lease in "$sessions_dir"/lease.*; do
        [[ -e $lease ]] || continue
        live=
        while read -r pid start; do
            sessions_alive "$pid" "$start" && live=1
        done <"$lease"
        if [[ -n $live ]]; then count=$((count + 1)); else rm -f "$lease"; fi
    done
    echo "$count"
}

# The service that a run.sh started here, while it lives: "pid start", else nothing.
sessions_service() {
    local pid start
    [[ -s $sessions_dir/service ]] || return 0
    read -r pid start <"$sessions_dir/service" || true
    if sessions_alive "$pid" "$start"; then echo "$pid $start"; else rm -f "$sessions_dir/service"; fi
}

# Stops the service named by "pid start" and waits for it (at most 10 s).
sessions_stop_service() {
    local pid start
    read -r pid start <<<"$1"
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 100); do
        sessions_alive "$pid" "$start" || break
        sleep 0.1
    done
    if sessions_alive "$pid" "$start"; then kill -KILL "$pid" 2>/dev/null || true; fi
    rm -f "$sessions_dir/service"
}

# What answers on the port: sets sessions_answer to "none" (nothing listens),
# "service" (a design service, its version in sessions_version) or "other" (with
# what it said in sessions_what).
sessions_probe() {
    local out rc=0 code server body
    out=$(curl -s --max-time 3 -w '\n%{http_code} %header{server}' "$sessions_url" 2>/dev/null) || rc=$?
    sessions_answer=other sessions_version='' sessions_what=''
    case $rc in
        0) ;;
        7) sessions_answer=none; return ;;
        28) sessions_what="it accepted the connection but sent no reply within 3 s"; return ;;
        52) sessions_what="it closed the connection without a reply"; return ;;
        *) sessions_what="the exchange failed (curl error $rc)"; return ;;
    esac
    # The body, then a line with the status code and the server's name.
    server=${out##*$'\n'}
    body=${out%$'\n'*}
    code=${server%% *}
    server=${server#"$code"}
    server=${server# }
    # The service wraps every reply as {"result":[X]}; the version X is a string.
    local wrapper='^\{"result":\["(([^"\\]|\\.)*)"\]\}[[:space:]]*$'
    if [[ $code == 200 && $body =~ $wrapper ]]; then
        sessions_answer=service
        sessions_version=${BASH_REMATCH[1]}
        return
    fi
    body=$(printf '%s' "$body" | tr -c '[:print:]' ' ' | tr -s ' ' | cut -c1-60)
    sessions_what="it answered Get_Server_Version with HTTP $code${server:+ (server: ${server//[^[:print:]]/})}${body:+: $body}"
}

# zorv-service on 127.0.0.1:8080 for this folder, with its keeper; fails with what
# the service said when it could not start.
sessions_start_service() {
    local log=$sessions_dir/zorv-service.log pid start
    : >"$log"
    setsid "$sessions_build/design_service/zorv-service" --port "$sessions_port" --bind 127.0.0.1 \
        >>"$log" 2>&1 </dev/null {sessions_lock_fd}>&- &
    pid=$!
    for _ in $(seq 100); do
        grep -q "listening on" "$log" && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if ! grep -q "listening on" "$log"; then
        kill -TERM "$pid" 2>/dev/null || true
        sessions_fail "zorv-service did not start on 127.0.0.1:$sessions_port: $(grep -v '^$' "$log" | tail -n 1)"
    fi
    start=$(sessions_start_time "$pid")
    echo "$pid $start" >"$sessions_dir/service"
    setsid bash "$sessions_self" keep "$sessions_dir" >>"$log" 2>&1 </dev/null {sessions_lock_fd}>&- &
}

# Run.sh's start: settles what serves this window, holding a lease when it is the
# service a run.sh started. Ends the script when the port is held by something else.
sessions_open() {
    sessions_build=$1
    sessions_dir=$(sessions_folder "$sessions_build")
    sessions_lease=
    sessions_window=
    mkdir -p "$sessions_dir"
    sessions_lock
    sessions_live_leases >/dev/null
    local ours
    ours=$(sessions_service)
    sessions_probe
    case $sessions_answer in
        service)
            if [[ -n $ours ]]; then
                sessions_take_lease
                sessions_say "using the zorv-service that another run.sh started on 127.0.0.1:$sessions_port; it stops after the last of their windows closes."
            else
                sessions_say "a design service ($sessions_version) already answers on 127.0.0.1:$sessions_port; using it."
            fi
            ;;
        none)
            [[ -z $ours ]] || sessions_stop_service "$ours"
            sessions_start_service
            sessions_take_lease
            sessions_say "started zorv-service on 127.0.0.1:$sessions_port (log $sessions_dir/zorv-service.log); it stops after the last window that uses it closes."
            ;;
        other)
            sessions_unlock
            sessions_fail "port $sessions_port on 127.0.0.1 is held by something that is not a design service: $sessions_what. Stop it or free the port, then run again."
            ;;
    esac
    sessions_unlock
}

sessions_take_lease() {
    sessions_lease=$sessions_dir/lease.$$
    sessions_identity $$ >"$sessions_lease"
}

# The window's process joins the lease: the service stays while it lives, also when
# this run.sh is killed.
sessions_window_started() {
    sessions_window=$(sessions_identity "$1")
    [[ -n $sessions_lease ]] || return 0
    echo "$sessions_window" >>"$sessions_lease"
}

# Run.sh's end: gives the lease back and stops the service when no window uses it.
sessions_close() {
    [[ -n ${sessions_lease:-} ]] || return 0
    # A run.sh that a signal ends while its window is still open leaves the lease to
    # the window: the keeper gives it back when the window has gone.
    if [[ -n ${sessions_window:-} ]] && sessions_alive "$sessions_window"; then return 0; fi
    sessions_lock
    rm -f "$sessions_lease"
    sessions_lease=
    local left ours
    left=$(sessions_live_leases)
    ours=$(sessions_service)
    if [[ -n $ours && $left -eq 0 ]]; then
        sessions_stop_service "$ours"
        sessions_say "stopped zorv-service: no other window uses it."
    elif [[ -n $ours ]]; then
        sessions_say "zorv-service keeps running for $left other window(s)."
    fi
    sessions_unlock
}

# The keeper: stops the service once no lease lives, checking every second; ends with
# the service.
sessions_keep() {
    sessions_dir=$1
    local ours
    while sleep 1; do
        sessions_lock forever
        ours=$(sessions_service)
        if [[ -z $ours ]]; then
            sessions_unlock
            return 0
        fi
        if [[ $(sessions_live_leases) -eq 0 ]]; then
            sessions_stop_service "$ours"
            echo "run.sh keeper: stopped zorv-service: the windows that used it are gone."
            sessions_unlock
            return 0
        fi
        sessions_unlock
    done
}

sessions_self=$(realpath "${BASH_SOURCE[0]}")
if [[ ${BASH_SOURCE[0]} == "$0" && ${1:-} == keep ]]; then
    set -uo pipefail
    sessions_keep "$2"
fi
