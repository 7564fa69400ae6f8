#!/bin/sh
# Fault campaign on the settings file: N mutated copies of a full settings file
# (auto-save on, every control stored; bench/settings_mutate.py), each given to
# the real program under a private X server (Xvfb). The program is started,
# left to come up for START_SECONDS, asked to end with SIGTERM as a logout
# would, and given EXIT_SECONDS to do so.
#   clean start: it ran until the signal and then exited with status 0;
#   file lost:   the settings file is gone, empty, or was rewritten without the
#                program's group (what the user had is destroyed).
# Usage: sh bench/settings_campaign.sh [BUILD_DIR] [N]   (default: build 1000)
# Environment: START_SECONDS (default 2), EXIT_SECONDS (default 20), SEED (default 1),
#   KEEP_DIR (default settings-campaign-failures): where the failing files are copied.
# Prints one line per failure and a summary; exits 1 when a target is missed.
set -u
build=${1:-build}
count=${2:-1000}
start_s=${START_SECONDS:-2}
exit_s=${EXIT_SECONDS:-20}
keep=${KEEP_DIR:-settings-campaign-failures}
here=$(cd "$(dirname "$0")" && pwd)
orfe="$build/src/orfe"
[ -x "$orfe" ] || { echo "settings_campaign.sh: $orfe is missing (build the target orfe)" >&2; exit 2; }
command -v Xvfb >/dev/null || { echo "settings_campaign.sh: Xvfb is missing (package xvfb)" >&2; exit 2; }

work=$(mktemp -d)
display=$(( ($$ % 700) + 200 ))
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb LIBGL_ALWAYS_SOFTWARE=1 LANG=C LC_ALL=C
export XDG_RUNTIME_DIR="$work/runtime" JACK_NO_START_SERVER=1
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
xvfb_pid=
cleanup() {
    # Only the server this script started, by its id.
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
sleep 1

# The base: what the program itself stores with auto-save on.
mkdir -p "$work/base/orfe"
printf '[orfe009801]\nAuto\\ui_chkAutoSaveOnExit=true\n' >"$work/base/orfe/orfe.conf"
XDG_CONFIG_HOME="$work/base" "$orfe" >/dev/null 2>&1 &
pid=$!
sleep "$start_s"
kill -TERM "$pid"
wait "$pid"
grep -q 'ui_spinRefreshTime' "$work/base/orfe/orfe.conf" ||
    { echo "settings_campaign.sh: the program did not save its settings on SIGTERM" >&2; exit 1; }
python3 "$here/settings_mutate.py" "$work/base/orfe/orfe.conf" "$work/mutants" "$count" "${SEED:-1}"

clean=0 lost=0 rewritten=0 kept=0 n=0
for mutant in "$work"/mutants/*.conf; do
    n=$((n + 1))
    config="$work/run/orfe"
    rm -rf "$work/run" && mkdir -p "$config"
    cp "$mutant" "$config/orfe.conf"
    XDG_CONFIG_HOME="$work/run" "$orfe" >"$work/out" 2>&1 &
    pid=$!
    sleep "$start_s"
    ran=yes
    kill -0 "$pid" 2>/dev/null || ran=no
    kill -TERM "$pid" 2>/dev/null
    # Wait for the exit, at most EXIT_SECONDS.
    waited=0
    while kill -0 "$pid" 2>/dev/null && [ "$waited" -lt $((exit_s * 10)) ]; do
        sleep 0.1
        waited=$((waited + 1))
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -KILL "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        status=hang
    else
        wait "$pid"
        status=$?
    fi
    if [ "$ran" = yes ] && [ "$status" = 0 ]; then
        clean=$((clean + 1))
    else
        echo "$(basename "$mutant"): not a clean start (running at the signal: $ran, exit: $status)"
        mkdir -p "$keep" && cp "$mutant" "$keep/"
    fi
    file="$config/orfe.conf"
    if { [ -s "$mutant" ] && [ ! -s "$file" ]; } || { ! cmp -s "$file" "$mutant" && ! grep -q '^\[orfe009801\]' "$file"; }; then
        lost=$((lost + 1))
        echo "$(basename "$mutant"): settings file lost"
    elif cmp -s "$file" "$mutant"; then
        kept=$((kept + 1))
    else
        rewritten=$((rewritten + 1))
    fi
    [ $((n % 100)) = 0 ] && echo "after $n: $clean clean starts, $lost files lost"
done
echo "settings campaign: $n mutated files, $clean clean starts, $lost files lost" \
    "($rewritten saved again at exit, $kept left as they were)"
[ "$clean" = "$n" ] && [ "$lost" = 0 ]
