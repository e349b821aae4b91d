#!/usr/bin/env bash
# Builds the fuzz targets with clang under AddressSanitizer + UndefinedBehaviorSanitizer and runs
# each over its seed corpus for SECONDS (default 20). usage: fuzz.sh [SECONDS] [TARGET...]
# The inputs a run adds are kept in build-fuzz/corpus/TARGET and taken up again by the next run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}; shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/*_fuzz.cpp; do targets+=("$(basename "$f" _fuzz.cpp)"); done
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DONDREL_FUZZ=ON \
  -DONDREL_GUI=OFF -DONDREL_BENCH=OFF -DONDREL_SANITIZE=address,undefined -DONDREL_WERROR=ON >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz-}"

for t in "${targets[@]}"; do
  work=build-fuzz/corpus/$t
  mkdir -p "$work"
  echo "== fuzz-$t for ${seconds}s"
  log=build-fuzz/fuzz-$t.log
  if ! build-fuzz/fuzz/fuzz-"$t" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix=build-fuzz/ "$work" "fuzz/corpus/$t" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "fuzz-$t found a fault; the input is in build-fuzz/"
    exit 1
  fi
  grep -E '^stat::number_of_executed_units' "$log" || true
done
