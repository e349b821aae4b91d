#!/usr/bin/env bash
# Builds the fuzz targets with clang under AddressSanitizer + UndefinedBehaviorSanitizer and runs
# each over its seed corpus for SECONDS (default 20). usage: fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}; shift || true
CC=clang CXX=clang++ bash scripts/build.sh build-fuzz -DONDREL_FUZZ=ON -DONDREL_GUI=OFF -DONDREL_BENCH=OFF \
  -DONDREL_SANITIZE=address,undefined -DONDREL_WERROR=ON
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/*_fuzz.cpp; do n=$(basename "$f" _fuzz.cpp); targets+=("$n"); done
fi
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
