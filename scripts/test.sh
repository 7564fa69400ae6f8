#!/usr/bin/env bash
# Builds everything and runs every test. The tests start the servers they need
# (JACK, PulseAudio, Xvfb) themselves as CTest fixtures.
# Extra arguments go to ctest (for example: -L lib).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
BUILD_DIR=${BUILD_DIR:-build}
rc=0
ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$(nproc)" "$@" || rc=$?
if [ "$rc" -ne 0 ]; then
  # A CI summary keeps only the end of the output: say there again why each
  # failing run failed (every run of a repeated test is in the log).
  echo "=== Why tests failed (from $BUILD_DIR/Testing/Temporary/LastTest.log)"
  grep -a -E -A1 'FAIL!|SUMMARY: [A-Za-z]+Sanitizer|Test Failed|Timeout|Killed|Segmentation|Exception:' \
    "$BUILD_DIR/Testing/Temporary/LastTest.log" | grep -a -v '^--$' | tail -n 40 || true
  exit "$rc"
fi
