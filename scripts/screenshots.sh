#!/usr/bin/env bash
# Takes screenshots of the main window, of each tab of the configuration dialog
# and of the about box, on a private X server (Xvfb), into docs/screenshots/.
# The program grabs its own windows (ORFE_SCREENSHOT_DIR) and then closes.
# Settings come from a scratch folder, so the pictures show the factory state.
# Environment: BUILD_DIR (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
if [ ! -x "$BUILD_DIR/src/orfe" ]; then
  bash scripts/build.sh
fi
command -v xvfb-run >/dev/null || { echo "screenshots: xvfb-run is missing (package xvfb)" >&2; exit 1; }

out=docs/screenshots
mkdir -p "$out"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

XDG_CONFIG_HOME="$scratch/config" ORFE_SCREENSHOT_DIR="$scratch/shots" LANG=C LC_ALL=C \
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$BUILD_DIR/src/orfe" >/dev/null

for name in main-window config-general config-capture-system config-sound-analysis about; do
  [ -s "$scratch/shots/$name.png" ] || { echo "screenshots: $name.png was not produced" >&2; exit 1; }
  cp "$scratch/shots/$name.png" "$out/$name.png"
  echo "screenshots: $out/$name.png"
done
