#!/usr/bin/env bash
# Configures and builds the project. Environment:
#   BUILD_DIR      build folder (default: build)
#   ORFE_WERROR    ON to turn warnings into errors (default: OFF)
#   ORFE_SANITIZE  empty, "address,undefined" or "thread"
#   ORFE_BUILD_GUI OFF to build only the libraries, capture and tools
#   ORFE_BUILD_CAPTURE, ORFE_BUILD_TOOLS, ORFE_BUILD_BENCH  OFF to leave those out too
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja $(bash scripts/compiler-cache.sh) \
  -DORFE_WERROR="${ORFE_WERROR:-OFF}" \
  -DORFE_SANITIZE="${ORFE_SANITIZE:-}" \
  -DORFE_BUILD_GUI="${ORFE_BUILD_GUI:-ON}" \
  -DORFE_BUILD_BENCH="${ORFE_BUILD_BENCH:-ON}" \
  -DORFE_BUILD_CAPTURE="${ORFE_BUILD_CAPTURE:-ON}" \
  -DORFE_BUILD_TOOLS="${ORFE_BUILD_TOOLS:-ON}" >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"
