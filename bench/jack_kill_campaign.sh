#!/bin/sh
# JACK fault campaign: the tuner captures from a private JACK server (dummy
# driver) under a private X server; the server is killed (SIGKILL) mid-capture
# N times and started again each time. A recovery is counted when, within
# RECOVER_SECONDS of the new server accepting clients, the tuner's input port
# "orfe:input" is registered on it again (the JACK transport reconnecting by
# itself) while the tuner is still running.
# Usage: sh bench/jack_kill_campaign.sh [BUILD_DIR] [N]   (default: build 20)
# Environment: RECOVER_SECONDS (default 15), RUN_SECONDS (capture time before
#   each kill, default 3).
set -u
build=${1:-build}
count=${2:-20}
recover_s=${RECOVER_SECONDS:-15}
run_s=${RUN_SECONDS:-3}
[ -x "$build/src/orfe" ] || { echo "jack_kill_campaign.sh: $build/src/orfe is missing" >&2; exit 2; }
work=$(mktemp -d)
name="orfe_jackkill_$$"
display=$(( ($$ % 700) + 200 ))
export JACK_DEFAULT_SERVER=$name JACK_NO_START_SERVER=1 DISPLAY=":$display" QT_QPA_PLATFORM=xcb
export LIBGL_ALWAYS_SOFTWARE=1 XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/orfe" && chmod 700 "$XDG_RUNTIME_DIR"
xvfb_pid= jackd_pid= orfe_pid=
cleanup() {
    # Only the processes this script started, by their ids.
    for p in $orfe_pid $jackd_pid $xvfb_pid; do kill "$p" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
start_jack() {
    jackd --no-realtime -n "$name" -d dummy -r 44100 -p 1024 >>"$work/jackd.log" 2>&1 &
    jackd_pid=$!
    i=0
    until jack_lsp >/dev/null 2>&1; do
        i=$((i + 1))
        [ $i -lt 100 ] || { echo "jack_kill_campaign.sh: the JACK server did not start" >&2; exit 1; }
        sleep 0.1
    done
}
# Waits up to $1 seconds for the tuner's port on the current server.
port_back() {
    i=0
    while [ $i -lt $(($1 * 10)) ]; do
        jack_lsp 2>/dev/null | grep -q '^orfe:input$' && return 0
        sleep 0.1
        i=$((i + 1))
    done
    return 1
}
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp +extension GLX -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
start_jack
printf '[orfe009801]\nui_cbTransports=JACK\nAuto\\ui_chkAutoDetect=false\n' >"$XDG_CONFIG_HOME/orfe/orfe.conf"
"$build/src/orfe" >"$work/orfe.log" 2>&1 &
orfe_pid=$!
port_back 30 || { echo "jack_kill_campaign.sh: the tuner did not connect to JACK at start" >&2; exit 1; }
recovered=0 k=0
while [ $k -lt "$count" ]; do
    k=$((k + 1))
    sleep "$run_s"
    kill -KILL "$jackd_pid"
    wait "$jackd_pid" 2>/dev/null
    start_jack
    if kill -0 "$orfe_pid" 2>/dev/null && port_back "$recover_s"; then
        recovered=$((recovered + 1))
    else
        echo "kill $k: no recovery within $recover_s s"
    fi
    kill -0 "$orfe_pid" 2>/dev/null || { echo "kill $k: the tuner has ended"; orfe_pid=; break; }
done
echo "JACK killed $k times during capture: $recovered recoveries"
[ "$recovered" = "$count" ]
