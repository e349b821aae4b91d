#!/usr/bin/env bash
# Installs what is missing, then builds and runs the suite: a normal build with warnings as
# errors, an AddressSanitizer + UndefinedBehaviorSanitizer build of everything, a
# ThreadSanitizer build of the tests that run threads, and a short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen

bash scripts/build.sh build -DONDREL_WERROR=ON
ctest --test-dir build --output-on-failure -j2

bash scripts/build.sh build-asan -DONDREL_WERROR=ON -DONDREL_SANITIZE=address,undefined -DONDREL_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j2

# The tests whose code runs on several threads: the worker start, the dispatch with its
# cancellation and list gate, the task pool, the check worker, the favicon task, the request
# paths used from many threads, the stress run of whole searches, and every window test, where
# the workers hand their results to the user-interface thread.
thread_tests='StartThread|SearchDispatch|RunningSearch|ListGate|EngineCheck|TaskPool|FaviconLoader'
thread_tests+='|Cancel|ManyThreads|SearchStress|^gui-'
bash scripts/build.sh build-tsan -DONDREL_WERROR=ON -DONDREL_SANITIZE=thread -DONDREL_BENCH=OFF
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/scripts/tsan.supp" \
  ctest --test-dir build-tsan --output-on-failure -j2 -R "$thread_tests"

bash scripts/fuzz.sh 20
