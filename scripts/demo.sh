#!/usr/bin/env bash
# The tuner at work without an instrument: starts a private JACK server (no
# sound card needed), plays the six open strings of a guitar into it, each a few
# cents off, in a loop, and starts the tuner on it with its own settings (your
# own settings are not touched). Close the tuner's window to end the demo.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
BUILD_DIR=${BUILD_DIR:-build}

work=$(mktemp -d)
. scripts/private-jack.sh
start_private_jack "orfe-demo-$$" "$work"

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
