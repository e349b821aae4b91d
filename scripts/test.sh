#!/usr/bin/env bash
# Installs what is missing, then builds and runs the whole suite twice: a normal build with
# warnings as errors, and an AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen

bash scripts/build.sh build -DONDREL_WERROR=ON
ctest --test-dir build --output-on-failure -j2

bash scripts/build.sh build-asan -DONDREL_WERROR=ON -DONDREL_SANITIZE=address,undefined -DONDREL_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j2
