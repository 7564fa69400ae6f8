#!/bin/sh
# Runs bench_servers on a private PulseAudio server, a private PipeWire session
# (pipewire-pulse, pipewire-jack) and a private jackd, each started and stopped here
# with the test fixtures' scripts, in a temporary folder.
# Usage: sh bench/bench_servers.sh [BUILD_DIR]   (ORFE_BENCH_SECONDS, default 10)
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/bench/private-servers.sh"
build=${1:-build}
bench=$build/bench/bench_servers
[ -x "$bench" ] || { echo "bench_servers.sh: $bench is missing (build bench_servers)" >&2; exit 2; }
seconds=${ORFE_BENCH_SECONDS:-10}
work=$(mktemp -d)
jack_name="orfe_bench_servers_$$"
cleanup() {
    sh "$here/tests/fixtures/pulse-server.sh" stop "$work/pulse" >/dev/null 2>&1
    sh "$here/tests/fixtures/pipewire-server.sh" stop "$work/pipewire" >/dev/null 2>&1
    sh "$here/tests/fixtures/jack-server.sh" stop "$jack_name" "$work/jack" >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

echo "== PulseAudio"
sh "$here/tests/fixtures/pulse-server.sh" start "$work/pulse" >/dev/null || exit 1
(
    use_pulse_fixture "$work/pulse"
    "$bench" qt "$seconds"
)
sh "$here/tests/fixtures/pulse-server.sh" stop "$work/pulse" >/dev/null

echo "== PipeWire"
sh "$here/tests/fixtures/pipewire-server.sh" start "$work/pipewire" >/dev/null || exit 1
(
    use_pulse_fixture "$work/pipewire"
    "$bench" qt "$seconds"
    jack_dir=$(ls -d /usr/lib/*/pipewire-0.3/jack 2>/dev/null | head -n 1)
    LD_LIBRARY_PATH=$jack_dir "$bench" jack "$seconds"
)
sh "$here/tests/fixtures/pipewire-server.sh" stop "$work/pipewire" >/dev/null

echo "== jackd (dummy driver, 1024 frames at 44100 Hz)"
sh "$here/tests/fixtures/jack-server.sh" start "$jack_name" 44100 "$work/jack" >/dev/null || exit 1
JACK_DEFAULT_SERVER=$jack_name JACK_NO_START_SERVER=1 "$bench" jack "$seconds"
