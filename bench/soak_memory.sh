#!/bin/sh
# Memory soak: the tuner runs on a private JACK server (dummy driver) with an A4
# playing (orfe-jack-tones) and every view shown, under a private X server; its
# resident memory (VmRSS) is sampled every SAMPLE_SECONDS. The first sample,
# taken after WARMUP_SECONDS, is the baseline: growth is measured from it.
# Usage: sh bench/soak_memory.sh [BUILD_DIR] [MINUTES]   (default: build 60)
# Environment: SAMPLE_SECONDS (default 60), WARMUP_SECONDS (default 300).
set -u
build=${1:-build}
minutes=${2:-60}
sample_s=${SAMPLE_SECONDS:-60}
warmup_s=${WARMUP_SECONDS:-300}
for f in "$build/src/orfe" "$build/tools/demo/orfe-jack-tones"; do
    [ -x "$f" ] || { echo "soak_memory.sh: $f is missing (build orfe, orfe-jack-tones)" >&2; exit 2; }
done
work=$(mktemp -d)
name="orfe_soak_$$"
display=$(( ($$ % 700) + 200 ))
export JACK_DEFAULT_SERVER=$name JACK_NO_START_SERVER=1 DISPLAY=":$display" QT_QPA_PLATFORM=xcb
export LIBGL_ALWAYS_SOFTWARE=1 XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/orfe" && chmod 700 "$XDG_RUNTIME_DIR"
xvfb_pid= jackd_pid= orfe_pid= tones_pid=
cleanup() {
    # Only the processes this script started, by their ids.
    for p in $orfe_pid $tones_pid $jackd_pid $xvfb_pid; do kill "$p" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
. "$(dirname "$0")/private-servers.sh"
start_xvfb_and_jack "$display" "$name" "$work" || { echo "soak_memory.sh: the servers did not start" >&2; exit 1; }
# Every view shown (the views' groups, spaces as the settings file writes them).
{
    printf '[orfe009801]\nui_cbTransports=JACK\nAuto\\ui_chkAutoDetect=false\nAuto\\ui_chkJACKAutoConnect=true\n'
    for view in Dial Error%20history Volume%20history Fourier%20Transform Statistics Captured%20Sound \
        Waveform Harmonics Microtonal; do
        printf '%s\\show=true\n' "$view"
    done
} >"$XDG_CONFIG_HOME/orfe/orfe.conf"
# A 20 s tone in a loop: the player renders its sound before it plays, so a tone
# as long as the soak would take gigabytes.
"$build/tools/demo/orfe-jack-tones" --name orfe-soak-tone --note 440 --kind harmonic --seconds 20 --gap 0 \
    >"$work/tones.log" 2>&1 &
tones_pid=$!
"$build/src/orfe" >"$work/orfe.log" 2>&1 &
orfe_pid=$!
sleep "$warmup_s"
rss() { awk '/^VmRSS/ { print $2 }' "/proc/$orfe_pid/status"; }
base=$(rss)
now=$base
[ -n "$base" ] || { echo "soak_memory.sh: the tuner is not running" >&2; exit 1; }
echo "minute 0 (after $warmup_s s of warm-up): $base kB"
samples=$((minutes * 60 / sample_s))
k=0
while [ $k -lt $samples ]; do
    sleep "$sample_s"
    k=$((k + 1))
    now=$(rss)
    [ -n "$now" ] || { echo "soak_memory.sh: the tuner ended during the soak" >&2; exit 1; }
    echo "sample $k (+$((k * sample_s)) s): $now kB"
done
echo "resident memory after warm-up: $base kB, after $((samples * sample_s)) s: $now kB," \
    "growth $((now - base)) kB"
