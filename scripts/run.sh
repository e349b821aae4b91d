#!/usr/bin/env bash
# Installs what is missing, builds, starts the demo site in the background on 127.0.0.1 and
# opens the window in demo/, whose conf/ folder holds engine files for that site: a search
# works at once, offline. Arguments go to the window (Qt's, e.g. -platform offscreen).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build
build/ondrel-testsite --demo &
site=$!
trap 'kill "$site" 2>/dev/null || true' EXIT
cd demo
../build/src/gui/ondrel "$@"
