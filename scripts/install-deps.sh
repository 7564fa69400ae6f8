#!/usr/bin/env bash
# Installs every Debian 12 package the build, the program and the tests need.
# Idempotent: when everything is already there it changes nothing.
set -euo pipefail

PACKAGES=(
  # toolchain
  g++ cmake ninja-build pkg-config make ccache
  # Qt 5
  qtbase5-dev qtmultimedia5-dev libqt5multimedia5-plugins libqt5svg5-dev qttools5-dev-tools qttools5-dev
  # analysis, sound systems, audio files
  libfftw3-dev libjack-jackd2-dev jackd2 libsndfile1-dev linux-libc-dev
  # OpenGL views, X server for tests and screenshots
  libgl-dev xvfb xauth libgl1-mesa-dri x11-apps imagemagick xdotool
  # the views' pixel tests measure text in this font
  fonts-dejavu-core fontconfig
  # Qt Multimedia input through a private PulseAudio server in the tests, and ALSA's
  # "default" routed to it (the ALSA pulse plugin)
  pulseaudio pulseaudio-utils libasound2-plugins
  # a private PipeWire session in the tests: its PulseAudio and JACK servers
  pipewire pipewire-bin pipewire-pulse pipewire-jack wireplumber
  # benchmarks, installation checks
  libbenchmark-dev desktop-file-utils appstream
  # fuzz targets (clang's libFuzzer, scripts/fuzz.sh)
  clang libclang-rt-14-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: run as root (missing: ${missing[*]})" >&2; exit 1; }
  SUDO=sudo
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# jackd2 asks whether to enable real-time priority; the answer does not matter here.
echo "jackd2 jackd/tweak_rt_limits boolean false" | $SUDO debconf-set-selections 2>/dev/null || true
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
