# Sourced by the other scripts: Wine and display environment, build helpers.
# Runs everything on 64-bit Wine (this machine's kernel runs no 32-bit code).

VINTREL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
VINTREL_BUILD="${VINTREL_BUILD:-$VINTREL_ROOT/build}"
export WINELOADER=/usr/lib/wine/wine64
export WINEPREFIX="${VINTREL_WINEPREFIX:-$VINTREL_BUILD/wine64-prefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
VINTREL_XVFB_PID=""

log() { echo "[vintrel] $*" >&2; }

# Starts a private Xvfb display unless VINTREL_DISPLAY names one to use.
start_display() {
    if [ -n "${VINTREL_DISPLAY:-}" ]; then export DISPLAY="$VINTREL_DISPLAY"; return; fi
    local n=91
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
    VINTREL_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && return
        sleep 0.05
    done
    log "Xvfb did not come up on :$n"; return 1
}

stop_everything() {
    /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
    if [ -n "$VINTREL_XVFB_PID" ]; then kill "$VINTREL_XVFB_PID" 2>/dev/null || true; wait "$VINTREL_XVFB_PID" 2>/dev/null || true; fi
}

ensure_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        log "creating the 64-bit Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
        /usr/lib/wine/wineserver -w || true
    fi
    # Keep the wineserver alive between the test programs (saves a second each).
    /usr/lib/wine/wineserver -p60 >/dev/null 2>&1 || true
}

# build_tree <dir> <toolchain> [extra cmake args...]
# Compiles through ccache when it is there; paths below the checkout are made
# relative, so a fresh clone elsewhere reuses what an earlier build compiled.
build_tree() {
    local dir="$1" toolchain="$2"; shift 2
    local launcher=()
    if command -v ccache >/dev/null 2>&1; then
        export CCACHE_BASEDIR="$VINTREL_ROOT"
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    fi
    cmake -S "$VINTREL_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$VINTREL_ROOT/cmake/$toolchain" "${launcher[@]}" "$@" >/dev/null
    cmake --build "$dir" -j"$(nproc)"
}
