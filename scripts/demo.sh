#!/usr/bin/env bash
# Sets the machine up, builds, and runs the demo: starts the sample
# application, records items, changes and restarts the application, finds
# the items again, prints what was found and saves a picture of it.
set -euo pipefail
source "$(dirname "$0")/env.sh"

"$VINTREL_ROOT/scripts/setup.sh"
trap stop_everything EXIT
# A tree of its own, so that the test tree keeps its configuration.
build_tree "$VINTREL_BUILD/demo" mingw-x86_64.cmake -DVINTREL_TESTS=OFF
start_display
ensure_prefix
out="${VINTREL_DEMO_OUT:-$VINTREL_ROOT/demo-output}"
mkdir -p "$out"
cd "$VINTREL_BUILD/demo/bin"
/usr/lib/wine/wine64 vintrel.exe demo --out "$(/usr/lib/wine/wine64 winepath -w "$out" 2>/dev/null | tr -d '\r')"
for bmp in "$out"/*.bmp; do
    [ -e "$bmp" ] || continue
    if command -v convert >/dev/null && convert "$bmp" "${bmp%.bmp}.png" 2>/dev/null; then
        log "picture: ${bmp%.bmp}.png"
    else
        log "picture: $bmp"
    fi
done
