#!/usr/bin/env bash
# How long a 64-bit Windows program takes to start and end under Wine, as ctest starts
# every Windows test: through Debian's "wine" launcher, which takes the 32-bit loader when
# the host has one (and that hands the program to start.exe and a second process), and
# through scripts/lib/wine-loader/wine, which starts it with the 64-bit loader directly.
# Prints the mean wall time of a start of each, never judged.
#
# Usage: bench/wine_start.sh [--starts N] [--build-dir DIR]
#   --starts N        starts of each kind (default 40)
#   --build-dir DIR   a windows-x64 build with its unit tests (default build/windows-x64);
#                     its unit_tests.exe, asked to run no test, is the program started
# The prefix is build/bench-wine/wineprefix. Where the host cannot run 32-bit programs,
# Debian's launcher cannot start anything: that half is reported as skipped.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
starts=40
build_dir="$root/build/windows-x64"
while [ $# -gt 0 ]; do
    case $1 in
    --starts) starts=$2; shift 2 ;;
    --build-dir) build_dir=$2; shift 2 ;;
    *) echo "usage: $0 [--starts N] [--build-dir DIR]" >&2; exit 1 ;;
    esac
done
program="$build_dir/tests/unit/unit_tests.exe"
[ -f "$program" ] || { echo "wine_start: no $program (build the windows-x64 preset)" >&2; exit 1; }

# shellcheck source=../scripts/lib/wine_env.sh
source "$root/scripts/lib/wine_env.sh"
tarvesk_enter_simulated_host "$root/bench/wine_start.sh" "$@"
tarvesk_wine_env "$root/build/bench-wine" || exit 1
trap 'tarvesk_wine_stop' EXIT
# One start first, so that neither kind pays for the prefix's wineserver and services.
wine "$program" --gtest_filter=-* >/dev/null 2>&1

measure() { # <label> <wine command>
    local label=$1 launcher=$2 i began failures=0
    began=$(date +%s%N)
    for i in $(seq "$starts"); do
        "$launcher" "$program" --gtest_filter=-* >/dev/null 2>&1 || failures=$((failures + 1))
    done
    local ms=$((($(date +%s%N) - began) / 1000000 / starts))
    printf '  %-44s %5d ms a start (%d starts, %d failed)\n' "$label" "$ms" "$starts" "$failures"
}

echo "wine_start: a 64-bit program started and ended, mean of $starts starts"
if tarvesk_host_runs_32bit; then
    measure "Debian's launcher (32-bit loader, start.exe)" /usr/bin/wine-stable
else
    echo "  Debian's launcher: skipped ($(tarvesk_no_32bit_reason))"
fi
measure "scripts/lib/wine-loader/wine (64-bit loader)" wine
