# Shared by bench/footprint.sh and bench/soak.sh: finds or builds the 64-bit programs and
# the Wine measuring tools, and sets up the benchmarks' own Wine prefix.
#
#   bench_build [<build dir>]   sets BENCH_BIN (Tarvesk.exe, TarveskA.exe) and BENCH_TOOLS
#                               (tarvesk_probe.exe, tarvesk_tickhook.dll, tarvesk_minimal.exe)
#   bench_wine                  Wine prefix build/bench-wine/wineprefix, display, clean-up trap
#   bench_winpath <unix path>   the path as Wine sees it

BENCH_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Without a build dir: configures and builds build/bench-win64 (MinSizeRel, no tests) as
# needed. With one: uses its bin/ as it is.
bench_build() {
    local build=${1:-}
    if [ -z "$build" ]; then
        build="$BENCH_ROOT/build/bench-win64"
        echo "bench: building Tarvesk.exe and TarveskA.exe in $build" >&2
        cmake -S "$BENCH_ROOT" -B "$build" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$BENCH_ROOT/cmake/mingw-x86_64.cmake" \
            -DCMAKE_BUILD_TYPE=MinSizeRel -DTARVESK_TESTS=OFF >/dev/null &&
            cmake --build "$build" -j2 --target Tarvesk TarveskA >/dev/null ||
            { echo "bench: the build failed" >&2; return 1; }
    fi
    build=$(cd "$build" && pwd)
    BENCH_BIN="$build/bin"
    for program in Tarvesk.exe TarveskA.exe; do
        [ -f "$BENCH_BIN/$program" ] || { echo "bench: no $BENCH_BIN/$program" >&2; return 1; }
    done

    # The tools come with the build when the top level builds bench/wine; else on their own.
    if [ -f "$build/bench-wine/tarvesk_probe.exe" ]; then
        BENCH_TOOLS="$build/bench-wine"
    else
        local tools="$BENCH_ROOT/build/bench-wine/tools"
        cmake -S "$BENCH_ROOT/bench/wine" -B "$tools" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$BENCH_ROOT/cmake/mingw-x86_64.cmake" \
            -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null &&
            cmake --build "$tools" -j2 >/dev/null ||
            { echo "bench: building the probe failed" >&2; return 1; }
        BENCH_TOOLS="$tools/bench-wine"
    fi
    export BENCH_BIN BENCH_TOOLS
}

bench_winpath() {
    winepath -w "$1" 2>/dev/null
}

# The benchmarks' own prefix, so nothing the tests leave behind (or the settings written
# here) meets another run. A display that is set already is reused and left running.
bench_wine() {
    # shellcheck source=../../scripts/lib/wine_env.sh
    source "$BENCH_ROOT/scripts/lib/wine_env.sh"
    unset TARVESK_XVFB_PID   # only an Xvfb started here is stopped here
    tarvesk_wine_env "$BENCH_ROOT/build/bench-wine" || return 1
    trap 'tarvesk_wine_stop' EXIT
    # A first program starts the prefix's wineserver and services, so that no measured
    # start pays for them.
    wine "$BENCH_TOOLS/tarvesk_probe.exe" footprint "$(bench_winpath "$BENCH_TOOLS/tarvesk_minimal.exe")" \
        --settle-ms 500 >/dev/null 2>&1 || true
}
