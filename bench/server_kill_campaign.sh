#!/bin/sh
# Server fault campaign: the tuner captures from a private sound server under a
# private X server; the server is killed (SIGKILL) mid-capture N times and
# started again each time. A recovery is counted when, within RECOVER_SECONDS of
# the new server accepting clients, the tuner is capturing from it again by
# itself, while still running:
#   jack   a JACK server (dummy driver), the JACK transport: the tuner's input
#          port "orfe:input" is registered on the new server;
#   pulse  a PulseAudio server (the tests' fixture: a null sink whose monitor is
#          the default source), the Qt transport on its default device: a
#          recording stream is open on the new server.
# Usage: sh bench/server_kill_campaign.sh jack|pulse [BUILD_DIR] [N]   (default: build 20)
# Environment: RECOVER_SECONDS (default 15), RUN_SECONDS (capture time before
#   each kill, default 3).
set -u
kind=${1:-}
build=${2:-build}
count=${3:-20}
recover_s=${RECOVER_SECONDS:-15}
run_s=${RUN_SECONDS:-3}
here=$(cd "$(dirname "$0")/.." && pwd)
case "$kind" in jack | pulse) ;; *) echo "usage: $0 jack|pulse [BUILD_DIR] [N]" >&2; exit 2 ;; esac
[ -x "$build/src/orfe" ] || { echo "server_kill_campaign.sh: $build/src/orfe is missing" >&2; exit 2; }
work=$(mktemp -d)
display=$(( ($$ % 700) + 200 ))
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb LIBGL_ALWAYS_SOFTWARE=1 XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/orfe"
xvfb_pid= server_pid= orfe_pid=
cleanup() {
    # Only the processes this script started, by their ids.
    for p in $orfe_pid $server_pid $xvfb_pid; do kill "$p" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ "$kind" = jack ]; then
    export JACK_DEFAULT_SERVER="orfe_kill_$$" JACK_NO_START_SERVER=1 XDG_RUNTIME_DIR="$work/runtime"
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
    settings='ui_cbTransports=JACK'
    start_server() {
        jackd --no-realtime -n "$JACK_DEFAULT_SERVER" -d dummy -r 44100 -p 1024 >>"$work/server.log" 2>&1 &
        server_pid=$!
        i=0
        until jack_lsp >/dev/null 2>&1; do
            i=$((i + 1))
            [ $i -lt 100 ] || return 1
            sleep 0.1
        done
    }
    capturing() { jack_lsp 2>/dev/null | grep -q '^orfe:input$'; }
else
    # The fixture's server and the variables its clients need to reach it.
    pulse=$work/pulse
    mkdir -p "$pulse"
    export XDG_RUNTIME_DIR="$pulse/runtime" PULSE_SERVER="unix:$pulse/runtime/pulse/native"
    export PULSE_CLIENTCONFIG="$pulse/client.conf" ALSA_CONFIG_PATH="$here/tests/fixtures/asound.conf"
    settings='ui_cbTransports=Qt'
    start_server() {
        # The fixture runs the server in its own session; its pid is in pulse.pid.
        HOME="$pulse/home" sh "$here/tests/fixtures/pulse-server.sh" start "$pulse" >>"$work/server.log" 2>&1 || return 1
        server_pid=$(cat "$pulse/pulse.pid")
    }
    capturing() { pactl list short source-outputs 2>/dev/null | grep -q .; }
fi

# Waits up to $1 seconds for the tuner to capture from the current server.
captures_within() {
    i=0
    while [ $i -lt $(($1 * 10)) ]; do
        capturing && return 0
        sleep 0.1
        i=$((i + 1))
    done
    return 1
}

Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp +extension GLX -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
start_server || { echo "server_kill_campaign.sh: the $kind server did not start" >&2; exit 1; }
printf "[orfe009801]\n$settings\nAuto\\\\ui_chkAutoDetect=false\n" >"$XDG_CONFIG_HOME/orfe/orfe.conf"
"$build/src/orfe" >"$work/orfe.log" 2>&1 &
orfe_pid=$!
captures_within 30 || { echo "server_kill_campaign.sh: the tuner did not capture from $kind at start" >&2; exit 1; }
recovered=0 k=0
while [ $k -lt "$count" ]; do
    k=$((k + 1))
    sleep "$run_s"
    kill -KILL "$server_pid"
    wait "$server_pid" 2>/dev/null
    start_server || { echo "server_kill_campaign.sh: the $kind server did not start again" >&2; exit 1; }
    if kill -0 "$orfe_pid" 2>/dev/null && captures_within "$recover_s"; then
        recovered=$((recovered + 1))
    else
        echo "kill $k: no recovery within $recover_s s"
    fi
    kill -0 "$orfe_pid" 2>/dev/null || { echo "kill $k: the tuner has ended"; orfe_pid=; break; }
done
echo "$kind server killed $k times during capture: $recovered recoveries"
[ "$recovered" = "$count" ]
