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

# The tuner at work: a private JACK server, A4 seven cents sharp played into it,
# and a picture of the screen once the note is shown.
trap - EXIT
. scripts/private-jack.sh
start_private_jack "orfe-shots-$$" "$scratch"
"$BUILD_DIR/tools/demo/orfe-jack-tones" --name orfe-shots --note 440:7 --kind harmonic --seconds 600 >/dev/null &
pids+=($!)
display=":$((90 + $$ % 50))"
Xvfb "$display" -screen 0 1024x700x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1
mkdir -p "$scratch/config-jack/orfe"
printf '[orfe009801]\nui_cbTransports=JACK\nAuto\\ui_chkAutoDetect=false\nwidth=1000\nheight=680\n' \
  >"$scratch/config-jack/orfe/orfe.conf"
DISPLAY="$display" XDG_CONFIG_HOME="$scratch/config-jack" LANG=C LC_ALL=C QT_QPA_PLATFORM=xcb \
  LIBGL_ALWAYS_SOFTWARE=1 "$BUILD_DIR/src/orfe" >/dev/null 2>&1 &
pids+=($!)
sleep 5
import -display "$display" -window root -crop 1000x680+0+0 "$out/tuning-a4.png"
echo "screenshots: $out/tuning-a4.png"
