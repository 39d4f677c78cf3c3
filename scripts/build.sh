#!/usr/bin/env bash
# Configures and builds everything into build/ (Release with debug info).
# ccache is used when it is installed; the build does not need it.
# QP_BUILD_DIR, QP_BUILD_TYPE and QP_BUILD_TARGET choose the folder, the build
# type and a single target instead of everything.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${QP_BUILD_DIR:-build}"
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="${QP_BUILD_TYPE:-RelWithDebInfo}" "${launcher[@]}" "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)" ${QP_BUILD_TARGET:+--target "$QP_BUILD_TARGET"}
