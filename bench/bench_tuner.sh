#!/bin/sh
# Tuner figures on a private JACK server (dummy driver, 1024 frames at 44100 Hz)
# and a private X server (Xvfb, software OpenGL):
#   1. latency from a note starting in the JACK server to the note label
#      showing it (bench_tuner, 20 notes);
#   2. CPU of the running tuner (orfe) over ORFE_BENCH_SECONDS (default 30) with
#      an A4 playing (orfe-jack-tones), factory settings and window size
#      (800 x 600), with the dial only, with the dial and both histories, and
#      with the dial, both histories, the captured sound and the spectrum; from
#      utime + stime of /proc/PID/stat;
#   3. how often the status label turns red over ORFE_STATUS_SECONDS (default
#      60) of the same tone, among them the cycles late by more than 8 refresh
#      periods, with the dial only and with the four views of 2 (bench_tuner
#      --status, the tuner in its own process).
# Usage: sh bench/bench_tuner.sh [BUILD_DIR]   (default: build)
set -u
build=${1:-build}
seconds=${ORFE_BENCH_SECONDS:-30}
status_seconds=${ORFE_STATUS_SECONDS:-60}
for f in "$build/bench/bench_tuner" "$build/src/orfe" "$build/tools/demo/orfe-jack-tones"; do
    [ -x "$f" ] || { echo "bench_tuner.sh: $f is missing (build bench_tuner, orfe, orfe-jack-tones)" >&2; exit 2; }
done

work=$(mktemp -d)
name="orfe_bench_tuner_$$"
display=$(( ($$ % 700) + 200 ))
export JACK_DEFAULT_SERVER=$name JACK_NO_START_SERVER=1 DISPLAY=":$display" QT_QPA_PLATFORM=xcb
export LIBGL_ALWAYS_SOFTWARE=1 XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

jackd_pid= xvfb_pid= orfe_pid= tones_pid=
cleanup() {
    # Only the processes this script started, by their ids.
    for p in $orfe_pid $tones_pid $jackd_pid $xvfb_pid; do kill "$p" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

. "$(dirname "$0")/private-servers.sh"
start_xvfb_and_jack "$display" "$name" "$work" || { echo "bench_tuner.sh: the servers did not start" >&2; exit 1; }

echo "== latency: note start in the JACK server -> note label (factory settings)"
XDG_CONFIG_HOME="$work/latency" "$build/bench/bench_tuner" 20

# One CPU run: $1 = label, $2 = settings lines for the program's group.
cpu_run() {
    cfg="$work/cpu-$$-$(date +%s%N)"
    mkdir -p "$cfg/orfe"
    printf '[orfe009801]\nui_cbTransports=JACK\nAuto\\ui_chkAutoDetect=false\n%b' "$2" >"$cfg/orfe/orfe.conf"
    "$build/tools/demo/orfe-jack-tones" --name orfe-bench-tone --note 440 --kind harmonic --seconds 3600 \
        >/dev/null 2>&1 &
    tones_pid=$!
    XDG_CONFIG_HOME="$cfg" "$build/src/orfe" >"$work/orfe.log" 2>&1 &
    orfe_pid=$!
    sleep 4 # start-up, plan measuring, first note
    hz=$(getconf CLK_TCK)
    t0=$(awk '{print $14 + $15}' "/proc/$orfe_pid/stat")
    s0=$(date +%s.%N)
    sleep "$seconds"
    t1=$(awk '{print $14 + $15}' "/proc/$orfe_pid/stat")
    s1=$(date +%s.%N)
    kill "$orfe_pid" "$tones_pid" 2>/dev/null
    wait "$orfe_pid" "$tones_pid" 2>/dev/null
    orfe_pid= tones_pid=
    awk -v a="$t0" -v b="$t1" -v hz="$hz" -v s0="$s0" -v s1="$s1" -v l="$1" \
        'BEGIN { printf "%s: %.2f %% of one core (%.2f s CPU in %.1f s)\n", l, 100 * (b - a) / hz / (s1 - s0), (b - a) / hz, s1 - s0 }'
}

# The optional views' "show" keys, each in its view's group (display name).
views() {
    for v in Captured%20Sound Error%20history Volume%20history Waveform Harmonics Fourier%20Transform Statistics; do
        case " $* " in *" $v "*) printf '%s\\\\show=true\\n' "$v" ;; *) printf '%s\\\\show=false\\n' "$v" ;; esac
    done
}

echo "== CPU of orfe over $seconds s, A4 harmonic tone playing, factory settings and window size"
cpu_run "dial only" "$(views)"
cpu_run "dial, error history, volume history" "$(views Error%20history Volume%20history)"
cpu_run "dial, both histories, captured sound, spectrum" \
    "$(views Error%20history Volume%20history Captured%20Sound Fourier%20Transform)"

echo "== status label over $status_seconds s, A4 harmonic tone playing, factory settings and window size"
status_run() {
    "$build/tools/demo/orfe-jack-tones" --name orfe-bench-tone --note 440 --kind harmonic --seconds 30 --gap 0 \
        >/dev/null 2>&1 &
    tones_pid=$!
    XDG_CONFIG_HOME="$work/status" "$build/bench/bench_tuner" --status "$status_seconds" "$@"
    kill "$tones_pid" 2>/dev/null
    wait "$tones_pid" 2>/dev/null
    tones_pid=
}
status_run
status_run "Error history" "Volume history" "Captured Sound" "Fourier Transform"
