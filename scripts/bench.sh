#!/usr/bin/env bash
# The performance report: builds the 64-bit tree, runs every benchmark
# program against the sample application under 64-bit Wine, and prints one
# table of each operation through the agent against the way a controller
# does it without the agent (or the platform's floor), with the ratio; then
# the soak's and the robustness program's summary lines.
set -euo pipefail
source "$(dirname "$0")/env.sh"

"$VINTREL_ROOT/scripts/setup.sh"
trap stop_everything EXIT
build_tree "$VINTREL_BUILD/x64" mingw-x86_64.cmake -DVINTREL_TESTS=ON >/dev/null
start_display
ensure_prefix
cd "$VINTREL_BUILD/x64/bin"
rows="$(mktemp)"
out="$(mktemp)"
for program in *_bench.exe; do
    log "running $program"
    # The program's own lines go to stderr as they are; its table rows are
    # kept for the table. (No tee to /dev/stderr: that would truncate a log
    # file that stderr is redirected to.)
    /usr/lib/wine/wine64 "$program" 2>&1 | tr -d '\r' >"$out" || true
    cat "$out" >&2
    grep '^table' "$out" >>"$rows" || true
done
echo
echo "Performance report, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(uname -m), Wine $(/usr/lib/wine/wine64 --version 2>/dev/null | tr -d '\r')"
awk -F'\t' '
BEGIN { printf "%-88s %12s %10s %14s %10s %8s\n", "operation", "agent med us", "agent p99", "without med us", "p99", "ratio" }
{
    ratio = ($5 == "-" || $3 == 0) ? "-" : sprintf("%.1f", $5 / $3)
    printf "%-88s %12s %10s %14s %10s %8s\n", $2, $3, $4, $5, $6, ratio
}
END { print "ratio: without the agent / through the agent (for the round trip and the item listings against the same reads inside the target: floor / agent)" }' "$rows"
rm -f "$rows" "$out"
echo
/usr/lib/wine/wine64 soak.exe --requests 10000 | tr -d '\r'
/usr/lib/wine/wine64 robustness.exe --requests 100000 | tr -d '\r'
echo
# The WebDriver server through HTTP (it starts `vintrel serve` itself).
/usr/bin/python3 "$VINTREL_ROOT/bench/webdriver_bench.py" --bin-dir "$VINTREL_BUILD/x64/bin"
# The WebDriver server under 100,000 hostile requests: one line.
/usr/bin/python3 "$VINTREL_ROOT/bench/webdriver_hostile.py" --bin-dir "$VINTREL_BUILD/x64/bin" --requests 100000
