#!/usr/bin/env bash
# The tuner at work without an instrument: starts a private JACK server (no
# sound card needed), plays the six open strings of a guitar into it, each a few
# cents off, in a loop, and starts the tuner on it with its own settings (your
# own settings are not touched). Close the tuner's window to end the demo.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
BUILD_DIR=${BUILD_DIR:-build}

name="orfe-demo-$$"
work=$(mktemp -d)
export JACK_DEFAULT_SERVER="$name" JACK_NO_START_SERVER=1
pids=()
# Stopped in reverse order, the JACK server last, so that its clients can leave it.
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[$i]}" 2>/dev/null || true
    wait "${pids[$i]}" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

jackd --no-realtime -n "$name" -d dummy -r 44100 -p 1024 >"$work/jackd.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
  jack_lsp >/dev/null 2>&1 && break
  sleep 0.2
done
jack_lsp >/dev/null 2>&1 || { echo "demo: the JACK server did not start:" >&2; cat "$work/jackd.log" >&2; exit 1; }

# The tones connect themselves to the tuner's input as soon as it exists.
"$BUILD_DIR/tools/demo/orfe-jack-tones" --name orfe-demo --connect orfe:input --seconds 4 &
pids+=($!)

# Settings of the demo: the JACK transport, no auto-detection.
mkdir -p "$work/config/orfe"
cat >"$work/config/orfe/orfe.conf" <<'CONF'
[orfe009801]
ui_cbTransports=JACK
Auto\ui_chkAutoDetect=false
CONF
XDG_CONFIG_HOME="$work/config" "$BUILD_DIR/src/orfe" "$@"
