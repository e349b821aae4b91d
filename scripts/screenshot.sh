#!/usr/bin/env bash
# Opens the built window on the demo site in a virtual display, searches KEYWORD through the
# accessibility bus, prints what the bus reads from the window and saves a screenshot.
# usage: scripts/screenshot.sh [KEYWORD] [OUT.png]     (after scripts/build.sh build)
set -euo pipefail
cd "$(dirname "$0")/.."
keyword=${1:-Ubuntu}
out=$(realpath -m "${2:-build/screenshot.png}")

if [ -z "${ONDREL_IN_DISPLAY:-}" ]; then
  export ONDREL_IN_DISPLAY=1
  exec xvfb-run -a -s '-screen 0 1024x768x24' dbus-run-session -- "$0" "$keyword" "$out"
fi

# Qt's accessibility bridge talks to the bus only when asked to, or when a desktop says so.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
/usr/libexec/at-spi-bus-launcher --launch-immediately &
pids=($!)
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
build/ondrel-testsite --demo >/dev/null &
pids+=($!)
(cd demo && exec ../build/src/gui/ondrel) &
pids+=($!)
sleep 2
/usr/bin/python3 scripts/drive_window.py "$keyword"
import -window root "$out"
echo "screenshot: $out"
