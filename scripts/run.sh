#!/usr/bin/env bash
# Builds the program and starts it. A build without the interface
# (ORFE_BUILD_GUI=OFF) runs the offline analyser on a generated tone instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
BUILD_DIR=${BUILD_DIR:-build}
if [ -x "$BUILD_DIR/src/orfe" ]; then
  exec "$BUILD_DIR/src/orfe" "$@"
fi
tone=$(mktemp --suffix=.wav)
trap 'rm -f "$tone"' EXIT
"$BUILD_DIR/tools/analyze/orfe-tone" --freq 440 --seconds 2 --harmonics 6 "$tone"
"$BUILD_DIR/tools/analyze/orfe-analyze" --summary "$tone"
