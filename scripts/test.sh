#!/usr/bin/env bash
# Builds everything and runs every test. The tests start the servers they need
# (JACK, PulseAudio, Xvfb) themselves as CTest fixtures.
# Extra arguments go to ctest (for example: -L lib).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
BUILD_DIR=${BUILD_DIR:-build}
ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$(nproc)" "$@"
