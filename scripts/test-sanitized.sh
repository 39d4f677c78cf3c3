#!/usr/bin/env bash
# Builds the tests with a sanitizer and runs them headless.
#   bash scripts/test-sanitized.sh address          whole suite: memory errors, leaks, undefined behaviour
#   bash scripts/test-sanitized.sh thread [FILTER]  test_audio under the race detector (default: every test)
# Each mode builds into its own folder (build-address, build-thread) as Debug at -O1, without benchmarks.
# The thread mode covers only the Qt-free audio tests: the Qt libraries are not built for the race
# detector, so their own locking would show up as false reports.
set -euo pipefail
cd "$(dirname "$0")/.."
mode="${1:?usage: test-sanitized.sh address|thread [gtest filter]}"
filter="${2:-*}"
source scripts/sanitizer-env.sh
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -d "$XDG_RUNTIME_DIR" ]; then
  export XDG_RUNTIME_DIR="/tmp/quillon-runtime-$(id -u)"
fi
mkdir -p "$XDG_RUNTIME_DIR" && chmod 0700 "$XDG_RUNTIME_DIR"

export QP_BUILD_DIR="build-$mode" QP_BUILD_TYPE=Debug
case "$mode" in
  address)
    bash scripts/build.sh -DQP_SANITIZE=address -DQP_BUILD_TESTS=ON -DQP_BUILD_BENCH=OFF
    cd "$QP_BUILD_DIR"
    ctest --output-on-failure -j"$(nproc)" --timeout 600
    ;;
  thread)
    QP_BUILD_TARGET=test_audio bash scripts/build.sh -DQP_SANITIZE=thread -DQP_BUILD_TESTS=ON -DQP_BUILD_BENCH=OFF
    "$QP_BUILD_DIR/tests/test_audio" --gtest_filter="$filter"
    ;;
  *)
    echo "unknown mode: $mode (address or thread)" >&2
    exit 2
    ;;
esac
