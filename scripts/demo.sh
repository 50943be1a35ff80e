#!/usr/bin/env bash
# Sets the machine up, builds, and runs the demo (VintrelDemo.exe): starts
# the sample application, points at items and records them, changes and
# restarts the application, finds the items again, prints what was found and
# saves pictures of it. The build tree is $VINTREL_BUILD/demo (VINTREL_BUILD
# defaults to build/), the output goes to $VINTREL_DEMO_OUT (demo-output/).
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
status=0
/usr/lib/wine/wine64 VintrelDemo.exe --out "$(/usr/lib/wine/wine64 winepath -w "$out" 2>/dev/null | tr -d '\r')" || status=$?
for bmp in "$out"/*.bmp; do
    [ -e "$bmp" ] || continue
    if command -v convert >/dev/null && convert "$bmp" "${bmp%.bmp}.png" 2>/dev/null; then
        log "picture: ${bmp%.bmp}.png"
    else
        log "picture: $bmp"
    fi
done
exit "$status"
