#!/usr/bin/env bash
# Builds the fuzz targets with clang into build-fuzz/ and runs one of them.
#   bash scripts/fuzz.sh NAME SECONDS   run fuzz_NAME for SECONDS (config, midi, mp3_gapless, charset,
#                                       text_search, sql_parameters)
#   bash scripts/fuzz.sh all SECONDS    run each target for SECONDS, one after the other
# The committed seeds in fuzz/corpus/NAME are read, never written; inputs the fuzzer finds go to
# build-fuzz/corpus/NAME and a failing input to build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
name="${1:?usage: fuzz.sh NAME|all SECONDS}"
seconds="${2:?usage: fuzz.sh NAME|all SECONDS}"
source scripts/sanitizer-env.sh

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" >/dev/null
if [ "$name" = all ]; then
  cmake --build build-fuzz -j"$(nproc)"
  names=$(cd fuzz && ls -d corpus/*/ | xargs -n1 basename)
else
  cmake --build build-fuzz -j"$(nproc)" --target "fuzz_$name"
  names="$name"
fi

mkdir -p build-fuzz/artifacts
for n in $names; do
  mkdir -p "build-fuzz/corpus/$n"
  echo "fuzz_$n: ${seconds}s"
  "build-fuzz/fuzz_$n" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="build-fuzz/artifacts/$n-" "build-fuzz/corpus/$n" "fuzz/corpus/$n" 2>"build-fuzz/$n.log" ||
    { tail -n 60 "build-fuzz/$n.log"; echo "fuzz_$n failed; the input is in build-fuzz/artifacts/" >&2; exit 1; }
  grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "build-fuzz/$n.log" | tail -n 2 || true
done
