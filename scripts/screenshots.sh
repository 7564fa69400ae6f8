#!/usr/bin/env bash
# Takes screenshots of the main window, of each tab of the configuration dialog
# and of the about box, on a private X server (Xvfb), into docs/screenshots/.
# The program grabs its own windows (ORFE_SCREENSHOT_DIR) and then closes.
# Settings come from a scratch folder, so the pictures show the factory state.
# Environment: BUILD_DIR (default: build); SHOTS: the names of the pictures to take
# again (default: all of them), for example SHOTS="microtonal spectrum".
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
if [ ! -x "$BUILD_DIR/src/orfe" ]; then
  bash scripts/build.sh
fi
command -v xvfb-run >/dev/null || { echo "screenshots: xvfb-run is missing (package xvfb)" >&2; exit 1; }
command -v xdotool >/dev/null || { echo "screenshots: xdotool is missing (package xdotool)" >&2; exit 1; }

out=docs/screenshots
mkdir -p "$out"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

wanted() { [ -z "${SHOTS:-}" ] || [[ " $SHOTS " == *" $1 "* ]]; }

if wanted main-window; then
XDG_CONFIG_HOME="$scratch/config" ORFE_SCREENSHOT_DIR="$scratch/shots" LANG=C LC_ALL=C \
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$BUILD_DIR/src/orfe" >/dev/null

for name in main-window config-general config-capture-system config-sound-analysis about; do
  [ -s "$scratch/shots/$name.png" ] || { echo "screenshots: $name.png was not produced" >&2; exit 1; }
  cp "$scratch/shots/$name.png" "$out/$name.png"
  echo "screenshots: $out/$name.png"
done
fi

# The tuner at work: a private JACK server, tones played into it by
# orfe-jack-tones, the tuner on a private X server, and a picture of the screen
# once the views show the sound. Each picture has its own scratch settings
# folder: the transport (JACK), the window size, and the "show" key of each
# view's group (the views' display names, as View::saveAll writes them).
trap - EXIT
. scripts/private-jack.sh
start_private_jack "orfe-shots-$$" "$scratch"
display=":$((90 + $$ % 50))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1

# tuner_shot NAME SECONDS SETTINGS [orfe-jack-tones options...]
#   starts the tuner with SETTINGS (INI lines for its group, printf %b escapes),
#   then, a second after the tuner's JACK input appears, the tone player, and
#   takes the picture NAME.png of the window SECONDS later. When CLICKS holds
#   "X,Y" window positions, each is clicked a second after the tone starts.
tuner_shot() {
  local name=$1 wait=$2 settings=$3
  shift 3
  wanted "$name" || return 0
  local cfg="$scratch/config-$name"
  mkdir -p "$cfg/orfe"
  printf '[orfe009801]\nui_cbTransports=JACK\nAuto\\ui_chkAutoDetect=false\nwidth=%s\nheight=%s\n%b' \
    "$width" "$height" "$settings" >"$cfg/orfe/orfe.conf"
  DISPLAY="$display" XDG_CONFIG_HOME="$cfg" LANG=C LC_ALL=C QT_QPA_PLATFORM=xcb \
    LIBGL_ALWAYS_SOFTWARE=1 "$BUILD_DIR/src/orfe" >"$scratch/orfe-$name.log" 2>&1 &
  local orfe=$!
  pids+=("$orfe")
  for _ in $(seq 100); do
    jack_lsp 2>/dev/null | grep -qx 'orfe:input' && break
    sleep 0.1
  done
  sleep 1 # the analysis timer starts after the capture
  "$BUILD_DIR/tools/demo/orfe-jack-tones" --name orfe-shots "$@" >/dev/null &
  local tones=$!
  pids+=("$tones")
  if [ -n "${CLICKS:-}" ]; then
    sleep 1
    wait=$((wait - 1))
    for at in $CLICKS; do
      DISPLAY="$display" xdotool mousemove "${at%,*}" "${at#*,}" click 1
    done
  fi
  sleep "$wait"
  import -display "$display" -window root -crop "${width}x${height}+0+0" "$out/$name.png"
  echo "screenshots: $out/$name.png"
  kill "$tones" "$orfe" 2>/dev/null || true
  wait "$tones" "$orfe" 2>/dev/null || true
}
width=1000 height=680
# (A steady tone is a 20 s tone played in a loop: the player renders its sound
# before it starts, so longer tones would start late.)

# A4 seven cents sharp, factory views (the captured sound and the error history).
tuner_shot tuning-a4 5 '' --note 440:7 --kind harmonic --seconds 20 --gap 0

# The captured sound alone, which then takes the window's height: A4, 2 s of
# tone at the player's peak amplitude 0.5 and 0.5 s of silence, in a loop.
tuner_shot captured-sound 9 'Error%20history\\show=false\n' --note 440 --kind harmonic --seconds 2 --gap 0.5

# The spectrum (and the captured sound at its factory height limit): A6, 1760 Hz,
# eight partials of amplitude 1/h, so that the peaks spread over the spectrum's
# factory span of 0 to 22050 Hz.
tuner_shot spectrum 5 'Error%20history\\show=false\nFourier%20Transform\\show=true\n' \
  --note 1760 --kind harmonic --seconds 20 --gap 0

# Statistics after three notes played once, 3 s each: A4 7 cents sharp, A#4 12
# cents flat, B4 3 cents sharp.
tuner_shot statistics 13 'Captured%20Sound\\show=false\nStatistics\\show=true\n' \
  --note 440:7 --note 466.1638:-12 --note 493.8833:3 --kind harmonic --seconds 3 --gap 0.5 --once

# Waveform period and harmonics on A3 (220 Hz), eight partials of amplitude 1/h:
# 0, -6.0, -9.5, -12.0, -14.0, -15.6, -16.9 and -18.1 dB under the fundamental.
tuner_shot waveform-harmonics 5 \
  'Captured%20Sound\\show=false\nError%20history\\show=false\nWaveform\\show=true\nHarmonics\\show=true\n' \
  --note 220 --kind harmonic --seconds 20 --gap 0

# The microtonal view on the just major scale of this repository (as if loaded
# with "Load Scala file …" earlier), root C, root's octave 4 (C4, 261.63 Hz):
# its degree 5/4 is 327.03 Hz, 13.7 cents under the equal-tempered E4. The tone
# is that degree played 4 cents sharp, and the click picks the degree 5/4.
# (342,578) is where the degree's label lies in the 1000 x 680 window.
scale="$PWD/ui/scales/just-major.scl"
CLICKS="342,578" tuner_shot microtonal 5 \
  "Captured%20Sound\\\\show=false\\nMicrotonal\\\\show=true\\nMicrotonal\\\\scales=$scale\\nMicrotonal\\\\octave=4\\nMicrotonal\\\\selectedScale=Just major scale (Ptolemy's intense diatonic)\\n" \
  --note 327.0319:4 --kind harmonic --seconds 20 --gap 0
