#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer in their own build folder and
# runs each in turn. Environment:
#   FUZZ_SECONDS    how long each target runs (default 30); a long run:
#                   FUZZ_SECONDS=600 bash scripts/fuzz.sh
#   FUZZ_RUNS       a number of executions per target instead of a time
#   FUZZ_BUILD_DIR  build folder (default: build-fuzz)
#   FUZZ_TARGETS    the targets to run, separated by blanks (default: all)
# Each target keeps the inputs it found interesting in BUILD/corpus/<target>
# between runs; a finding is written to BUILD/findings/<target>/ and fails the
# script. Replay one with: BUILD/tests/fuzz/<target> BUILD/findings/<target>/crash-...
set -euo pipefail
cd "$(dirname "$0")/.."

# The fuzz targets (tests/fuzz/<name>.cpp), each with the folder of sample
# inputs it starts from; an optional tests/fuzz/<name>.dict lists pieces of
# input for it to splice in. Add new targets here.
TARGETS=(
  "fuzz_scala:ui/scales"
  "fuzz_analyze:tests/fuzz/seeds/analyze"
  "fuzz_settings:tests/fuzz/seeds/settings"
)

BUILD_DIR=${FUZZ_BUILD_DIR:-build-fuzz}
FUZZ_SECONDS=${FUZZ_SECONDS:-30}

bash scripts/install-deps.sh
cmake -S . -B "$BUILD_DIR" -G Ninja $(bash scripts/compiler-cache.sh) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORFE_FUZZ=ON -DORFE_WERROR="${ORFE_WERROR:-OFF}" \
  -DORFE_BUILD_GUI=ON -DORFE_BUILD_CAPTURE=ON -DORFE_BUILD_TOOLS=ON -DORFE_BUILD_BENCH=OFF \
  -DORFE_BUILD_TESTS=OFF >/dev/null
if [ -n "${FUZZ_TARGETS:-}" ]; then
  chosen=()
  for t in "${TARGETS[@]}"; do
    for want in $FUZZ_TARGETS; do [ "${t%%:*}" = "$want" ] && chosen+=("$t"); done
  done
  TARGETS=("${chosen[@]}")
fi
names=()
for t in "${TARGETS[@]}"; do names+=("${t%%:*}"); done
cmake --build "$BUILD_DIR" --target "${names[@]}" -j"$(nproc)"

# Leaks of system libraries (fontconfig's caches) are not findings.
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizers/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
if [ -n "${FUZZ_RUNS:-}" ]; then limit=(-runs="$FUZZ_RUNS"); else limit=(-max_total_time="$FUZZ_SECONDS"); fi
for t in "${TARGETS[@]}"; do
  name=${t%%:*}
  seeds=${t#*:}
  corpus=$BUILD_DIR/corpus/$name
  findings=$BUILD_DIR/findings/$name
  mkdir -p "$corpus" "$findings"
  dict=()
  [ -f "tests/fuzz/$name.dict" ] && dict=(-dict="tests/fuzz/$name.dict")
  echo "fuzz: $name (${limit[*]})"
  # Inputs up to 4 KiB; one input may not take 10 s, nor one allocation 256 MB.
  "$BUILD_DIR/tests/fuzz/$name" "${limit[@]}" "${dict[@]}" -max_len=4096 -timeout=10 \
    -malloc_limit_mb=256 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" "$seeds"
done
