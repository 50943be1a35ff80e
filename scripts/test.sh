#!/usr/bin/env bash
# Sets the machine up, builds both agents (i686 and x86-64) and runs every
# test of the x86-64 build under 64-bit Wine on a private X display; before
# that, fuzzes the record's readers natively for a short fixed time
# (tests/fuzz/run.sh, no Wine).
set -euo pipefail
source "$(dirname "$0")/env.sh"

"$VINTREL_ROOT/scripts/setup.sh"
trap stop_everything EXIT

# The 32-bit tree builds everything, tests and benchmarks included, so that
# nothing is left behind for i686; its programs cannot run on this kernel.
log "building the 32-bit tree"
build_tree "$VINTREL_BUILD/i686" mingw-i686.cmake -DVINTREL_TESTS=ON
log "building the 64-bit tree"
build_tree "$VINTREL_BUILD/x64" mingw-x86_64.cmake -DVINTREL_TESTS=ON \
    -DVINTREL_I686_AGENT="$VINTREL_BUILD/i686/bin/Vintrel.dll"

log "fuzzing the record's readers"
fuzz_status=0
"$VINTREL_ROOT/tests/fuzz/run.sh" --seconds 6 || fuzz_status=$?

start_display
ensure_prefix
log "running the tests"
cd "$VINTREL_BUILD/x64"
ctest --output-on-failure -j2 "$@"
exit "$fuzz_status"
