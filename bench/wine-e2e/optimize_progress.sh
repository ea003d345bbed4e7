#!/usr/bin/env bash
# The progress run's share of one whole optimization under Wine (target under 5%): builds
# optimize_progress_wine.exe (bench/optimize_progress_wine.cpp, the main window's own
# code with a timing block allocator) and runs it with the window shown, as a click on
# Optimize runs it, and hidden, as the tray menu's Optimize and the automatic
# optimization run it. Prints the figures; the exit code tells only whether the
# measuring worked.
#
# Usage: bench/wine-e2e/optimize_progress.sh [--megabytes N] [--runs N]
#   --megabytes N   amount of one optimization (default 2047, the most a 32-bit byte
#                   count holds; the machine needs that much memory)
#   --runs N        optimizations of each kind (default 3)
# Builds in build/optimize-progress-win64; the prefix is build/optimize-progress-wine.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)

megabytes=2047
runs=3
while [ $# -gt 0 ]; do
    case $1 in
    --megabytes) megabytes=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    *) echo "usage: $0 [--megabytes N] [--runs N]" >&2; exit 1 ;;
    esac
done

build="$root/build/optimize-progress-win64"
cmake -S "$root/bench/wine-e2e" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null &&
    cmake --build "$build" -j2 --target optimize_progress_wine >/dev/null ||
    { echo "optimize_progress: the build failed" >&2; exit 1; }

# shellcheck source=../../scripts/lib/wine_env.sh
source "$root/scripts/lib/wine_env.sh"
unset TARVESK_XVFB_PID   # only an Xvfb started here is stopped here
tarvesk_wine_env "$root/build/optimize-progress-wine" || exit 1
trap 'tarvesk_wine_stop' EXIT

failed=0
for mode in "" --hidden; do
    wine "$build/bench-wine/optimize_progress_wine.exe" $mode "$megabytes" "$runs" | tr -d '\r' ||
        failed=1
    echo
done
exit $failed
