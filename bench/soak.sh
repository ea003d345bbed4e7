#!/usr/bin/env bash
# Soak of Tarvesk.exe under Wine: the program runs in tray mode with automatic optimization
# on every tick (an alarm level far above any machine's free memory, 1 MB to free), and is
# sampled every few seconds: private bytes, working set, handles, GDI/USER objects,
# windows, and from a hook inside the program its timer ticks and optimizations.
# Prints every sample and the growth between the first and the last minute (the first and
# last quarter when the run is shorter than three minutes) with the slope over the run.
#
# Exits non-zero when the program ended by itself (a crash), on clear growth (beyond a
# generous margin for noise: 2 MB or 10% of private bytes, 20 handles or objects, 3
# windows), or when the ticks stopped for the whole second half of the run.
#
# Usage: bench/soak.sh [--seconds N] [--interval-seconds N] [--build-dir DIR] [--self-check]
#   --seconds N            length of the run (default 600)
#   --interval-seconds N   time between samples (default 5)
#   --build-dir DIR        take Tarvesk.exe from DIR/bin as it is
#                          (default: build it in build/bench-win64)
#   --self-check           soak a program that leaks 64 KB and a handle a tick instead, and
#                          succeed only when the soak reports its growth (60 s by default)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine/common.sh
source "$here/wine/common.sh"

build_dir=""
seconds=600
interval=5
self_check=0
while [ $# -gt 0 ]; do
    case $1 in
    --seconds) seconds=$2; shift 2 ;;
    --interval-seconds) interval=$2; shift 2 ;;
    --build-dir) build_dir=$2; shift 2 ;;
    --self-check) self_check=1; [ "$seconds" = 600 ] && seconds=60; shift ;;
    *) echo "usage: $0 [--seconds N] [--interval-seconds N] [--build-dir DIR] [--self-check]" >&2; exit 1 ;;
    esac
done

bench_build "$build_dir" || exit 1
bench_wine || exit 1

if [ $self_check -eq 1 ]; then
    echo "soak self-check: a program that leaks on every tick, for $seconds s"
    wine "$BENCH_TOOLS/tarvesk_probe.exe" soak "$(bench_winpath "$BENCH_TOOLS/tarvesk_minimal_leaks.exe")" \
        --seconds "$seconds" --interval-ms $((interval * 1000)) --class TarveskMinimal | tr -d '\r'
    status=${PIPESTATUS[0]}
    if [ "$status" -eq 3 ]; then
        echo "soak self-check: PASSED - the leak was reported as growth"
        exit 0
    fi
    echo "soak self-check: FAILED - the leaking program gave exit $status, not 3 (growth)"
    exit 1
fi

echo "soak: Tarvesk.exe in tray mode, optimizing 1 MB on every tick, for $seconds s"
# StartAgent=1 starts it straight in tray mode, as after a log-on; free memory is always
# below an alarm level of 1 TB, so every tick optimizes.
wine "$BENCH_TOOLS/tarvesk_probe.exe" soak "$(bench_winpath "$BENCH_BIN/Tarvesk.exe")" \
    --seconds "$seconds" --interval-ms $((interval * 1000)) \
    --class TarveskForm --title-suffix " KB Free" \
    --hook "$(bench_winpath "$BENCH_TOOLS/tarvesk_tickhook.dll")" --bar-id 107 \
    --clear-settings \
    --setting AutomaticOptimize=1 --setting AlarmLevel=1048576 --setting FreeMBatAlarm=1 \
    --setting SysTrayTTT=0 --setting StartAgent=1 | tr -d '\r'
status=${PIPESTATUS[0]}
case $status in
0) ;;
2) echo "soak: FAILED - Tarvesk.exe crashed" ;;
3) echo "soak: FAILED - clear growth" ;;
4) echo "soak: FAILED - the ticks stopped" ;;
1) echo "soak: FAILED - the probe could not start Tarvesk.exe" ;;
*) echo "soak: FAILED - the probe itself ended (exit $status); was this prefix's wineserver stopped from outside?" ;;
esac
exit "$status"
