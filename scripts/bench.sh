#!/usr/bin/env bash
# Builds and runs every benchmark (or those named: scripts/bench.sh sql_cursor grid_rows).
# Each prints its own figures next to its reference loop and the ratio.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
QP_BUILD_DIR=build-bench QP_BUILD_TYPE=Release bash scripts/build.sh -DQP_BUILD_BENCH=ON
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for f in bench/*.cpp; do names+=("$(basename "$f" .cpp)"); done
fi
for name in "${names[@]}"; do
  echo "== $name"
  "build-bench/bench/bench_$name"
done
