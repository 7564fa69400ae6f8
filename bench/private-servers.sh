# Sourced by the benchmark and soak scripts: a private X server and a private JACK
# server (dummy driver, 1024 frames at 44100 Hz) for the tuner under measure.
#   start_xvfb_and_jack DISPLAY_NUMBER JACK_NAME FOLDER
# sets xvfb_pid and jackd_pid, logs to FOLDER/xvfb.log and FOLDER/jackd.log, and
# returns 1 (logs on standard error) when they are not up within 10 s.
start_xvfb_and_jack() {
    Xvfb ":$1" -screen 0 1280x1024x24 -nolisten tcp +extension GLX -noreset >"$3/xvfb.log" 2>&1 &
    xvfb_pid=$!
    jackd --no-realtime -n "$2" -d dummy -r 44100 -p 1024 >"$3/jackd.log" 2>&1 &
    jackd_pid=$!
    i=0
    until JACK_DEFAULT_SERVER=$2 jack_lsp >/dev/null 2>&1 && [ -S "/tmp/.X11-unix/X$1" ]; do
        i=$((i + 1))
        [ $i -lt 100 ] || { cat "$3"/xvfb.log "$3"/jackd.log >&2; return 1; }
        sleep 0.1
    done
}

# Exports what a PulseAudio client needs to reach the server of the tests' fixture
# script (tests/fixtures/pulse-server.sh or pipewire-server.sh) started in FOLDER.
#   use_pulse_fixture FOLDER
use_pulse_fixture() {
    export XDG_RUNTIME_DIR=$1/runtime PULSE_SERVER=unix:$1/runtime/pulse/native PULSE_CLIENTCONFIG=$1/client.conf
    export ALSA_CONFIG_PATH="$(cd "$(dirname "$0")/.." && pwd)/tests/fixtures/asound.conf"
}
