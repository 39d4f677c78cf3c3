#!/usr/bin/env bash
# Installs what is missing, builds, installs the player to its own folder and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh -DQP_BUILD_TESTS=OFF -DQP_BUILD_BENCH=OFF
cmake --install build >/dev/null
dir=$(sed -n 's/^QP_INSTALL_DIR:PATH=//p' build/CMakeCache.txt)
exec "$dir/quillon-player"
