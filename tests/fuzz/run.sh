#!/usr/bin/env bash
# Builds the fuzz targets of the record's readers natively (clang, libFuzzer,
# AddressSanitizer, UndefinedBehaviorSanitizer), replays the kept regression
# inputs of each target, then fuzzes each for a fixed time from its seeds
# (written by fuzz_seeds) and the kept corpus (forms recorded from the
# sample). Needs no Wine.
#
#   tests/fuzz/run.sh [--seconds S] [--runs N] [--jobs J] [TARGET...]
#
# --seconds S  time per target (default 10; 0 with --runs: no time limit)
# --runs N     stop each target after N executions instead
# --jobs J     targets fuzzed at once (default 2)
# One line per target, then "N passed, N failed". A target fails on any
# crash, sanitizer report, leak, broken round trip or timeout; its input is
# left in build/fuzz/artifacts/TARGET/ -- keep it in regressions/TARGET/
# once the reader is mended.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${VINTREL_BUILD:-$root/build}/fuzz"
seconds=10 runs=0 jobs=2
targets=()
while [ $# -gt 0 ]; do
    case "$1" in
        --seconds) seconds="$2"; shift 2 ;;
        --runs) runs="$2"; shift 2 ;;
        --jobs) jobs="$2"; shift 2 ;;
        -h|--help) sed -n '2,17p' "$0"; exit 0 ;;
        *) targets+=("$1"); shift ;;
    esac
done

echo "[fuzz] building the targets in $build" >&2
cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE= >/dev/null
if ! cmake --build "$build" -j"$jobs" >"$build/build.log" 2>&1; then
    cat "$build/build.log" >&2
    echo "0 passed, 1 failed"
    exit 1
fi
[ ${#targets[@]} -gt 0 ] || mapfile -t targets < <(grep -v '^$' "$build/targets.txt")
rm -rf "$build/seeds" "$build/results"
mkdir -p "$build/results" "$build/logs"
"$build/fuzz_seeds" "$build/seeds" >/dev/null

# fuzz_one TARGET: replay, then fuzz; writes one result line.
fuzz_one() {
    local t="$1" status=passed note=""
    local bin="$build/fuzz_$t" work="$build/work/$t" artifacts="$build/artifacts/$t/" log="$build/logs/$t.log"
    rm -rf "$work"
    mkdir -p "$work" "$artifacts"
    local kept=()
    [ -d "$here/regressions/$t" ] && mapfile -t kept < <(find "$here/regressions/$t" -type f | sort)
    if [ ${#kept[@]} -gt 0 ] && ! "$bin" -runs=1 "${kept[@]}" >"$build/logs/$t.replay.log" 2>&1; then
        status=failed note="; a kept regression input fails again (see logs/$t.replay.log)"
    fi
    local corpora=("$work")
    [ -d "$build/seeds/$t" ] && corpora+=("$build/seeds/$t")
    [ -d "$here/corpus/$t" ] && corpora+=("$here/corpus/$t")
    local limits=(-max_total_time="$seconds")
    [ "$runs" -gt 0 ] && limits=(-runs="$runs") && [ "$seconds" -gt 0 ] && limits+=(-max_total_time="$seconds")
    local start=$SECONDS
    if ! "$bin" "${limits[@]}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts" \
            "${corpora[@]}" >"$log" 2>&1; then
        status=failed note="$note; $(grep -m1 -E 'ERROR|runtime error|fuzz check failed' "$log" || echo 'see the log')"
    fi
    local execs cov features
    execs=$(awk '/stat::number_of_executed_units/ {print $2}' "$log" | tail -1)
    cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | awk '{print $2}')
    features=$(grep -oE 'ft: [0-9]+' "$log" | tail -1 | awk '{print $2}')
    printf 'fuzz %-26s %s: %s runs in %d s, %s edges, %s features, %d regression inputs replayed%s\n' \
        "$t" "$status" "${execs:-0}" $((SECONDS - start)) "${cov:-?}" "${features:-?}" ${#kept[@]} "$note" \
        >"$build/results/$t"
}
export -f fuzz_one
export here build seconds runs

printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} bash -c 'fuzz_one "$1"; cat "$build/results/$1"' _ {}
passed=$(cat "$build"/results/* | grep -c ' passed: ' || true)
failed=$(( ${#targets[@]} - passed ))
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
