#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh -DQP_BUILD_TESTS=ON -DQP_BUILD_BENCH=ON
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -d "$XDG_RUNTIME_DIR" ]; then
  export XDG_RUNTIME_DIR="/tmp/quillon-runtime-$(id -u)"
fi
mkdir -p "$XDG_RUNTIME_DIR" && chmod 0700 "$XDG_RUNTIME_DIR"
cd build
ctest --output-on-failure -j"$(nproc)" --timeout 300
