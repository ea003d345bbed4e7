#!/usr/bin/env bash
# CPU time of Tarvesk.exe idling in tray mode under Wine: the program is started as the
# agent starts it at log-on (StartAgent "1", so it goes straight to the tray), left to
# settle, and then the CPU time of its Linux process is read before and after a measured
# stretch: the scheduler's nanoseconds of its threads (/proc/<pid>/task/*/schedstat), and
# utime + stime (/proc/<pid>/stat, in clock ticks) beside it. Prints the figure as a share of one core,
# with the target it is held against (under 1%), never judged; the same stretch's CPU of
# the prefix's wineserver and explorer (which serve every program of the prefix, and
# draw the icon) is printed beside it for context.
#
# Usage: bench/idle_cpu.sh [--build-dir DIR] [--seconds N] [--settle-seconds N]
#   --build-dir DIR   take Tarvesk.exe from DIR/bin as it is
#                     (default: build it in build/idle-cpu-win64)
#   --seconds N       length of the measured stretch (default 60)
#   --settle-seconds  time between the start and the measuring (default 10)
# The prefix is build/idle-cpu-wine/wineprefix; an X display is started when DISPLAY is
# unset. The exit code tells only whether the measuring worked.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

build_dir=""
seconds=60
settle=10
while [ $# -gt 0 ]; do
    case $1 in
    --build-dir) build_dir=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --settle-seconds) settle=$2; shift 2 ;;
    *) echo "usage: $0 [--build-dir DIR] [--seconds N] [--settle-seconds N]" >&2; exit 1 ;;
    esac
done

if [ -z "$build_dir" ]; then
    build_dir="$root/build/idle-cpu-win64"
    echo "idle_cpu: building Tarvesk.exe in $build_dir" >&2
    cmake -S "$root" -B "$build_dir" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=MinSizeRel -DTARVESK_TESTS=OFF >/dev/null &&
        cmake --build "$build_dir" -j2 --target Tarvesk >/dev/null ||
        { echo "idle_cpu: the build failed" >&2; exit 1; }
fi
program="$(cd "$build_dir" && pwd)/bin/Tarvesk.exe"
[ -f "$program" ] || { echo "idle_cpu: no $program" >&2; exit 1; }

# shellcheck source=../scripts/lib/wine_env.sh
source "$root/scripts/lib/wine_env.sh"
unset TARVESK_XVFB_PID   # only an Xvfb started here is stopped here
tarvesk_wine_env "$root/build/idle-cpu-wine" || exit 1

tarvesk_pid=""
launcher_pid=""
cleanup() {
    [ -n "$tarvesk_pid" ] && kill "$tarvesk_pid" 2>/dev/null
    [ -n "$launcher_pid" ] && wait "$launcher_pid" 2>/dev/null
    tarvesk_wine_stop
}
trap cleanup EXIT

settings='HKCU\Software\Tarvesk\Settings'
wine reg delete 'HKCU\Software\Tarvesk' /f >/dev/null 2>&1
wine reg add "$settings" /v StartAgent /t REG_SZ /d 1 /f >/dev/null 2>&1 ||
    { echo "idle_cpu: cannot write the settings" >&2; exit 1; }

# Linux processes of this prefix whose process name matches `pattern` (the Windows
# program's file name for a Wine process, so not the "wine" command that launched it);
# their pids, one a line.
prefix_pids() {
    local pattern=$1 pid
    for pid in $(pgrep -- "$pattern"); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" &&
            echo "$pid"
    done
}
# utime + stime of a process (all its threads, ended ones too) in clock ticks.
cpu_ticks() {
    awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat" 2>/dev/null
}
# Nanoseconds on a CPU of a process's threads, from the scheduler (finer than the ticks;
# a thread that ends during the stretch takes its time with it).
cpu_ns() {
    cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ n += $1 } END { if (NR) printf "%.0f", n }'
}

wine "$program" >/dev/null 2>&1 &
launcher_pid=$!
for _ in $(seq 1 200); do
    tarvesk_pid=$(prefix_pids '^Tarvesk\.exe$' | head -n1)
    [ -n "$tarvesk_pid" ] && break
    sleep 0.1
done
[ -n "$tarvesk_pid" ] || { echo "idle_cpu: Tarvesk.exe did not start" >&2; exit 1; }
echo "idle_cpu: Tarvesk.exe is Linux process $tarvesk_pid ($(tr '\0' ' ' <"/proc/$tarvesk_pid/cmdline"))" >&2

sleep "$settle"
# The start-up consumed the agent's mark on its way into the tray.
mark=$(wine reg query "$settings" /v StartAgent 2>/dev/null | tr -d '\r' | awk '$1 == "StartAgent" { print $3 }')
if [ "$mark" != "0" ]; then
    echo "idle_cpu: Tarvesk.exe did not reach tray mode (StartAgent is '${mark:-absent}')" >&2
    exit 1
fi

server_pid=$(prefix_pids '^wineserver' | head -n1)
explorer_pid=$(prefix_pids '^explorer\.exe$' | head -n1)
hz=$(getconf CLK_TCK)

t0=$(date +%s.%N)
p0=$(cpu_ticks "$tarvesk_pid")
n0=$(cpu_ns "$tarvesk_pid")
s0=$( [ -n "$server_pid" ] && cpu_ticks "$server_pid")
e0=$( [ -n "$explorer_pid" ] && cpu_ticks "$explorer_pid")
sleep "$seconds"
p1=$(cpu_ticks "$tarvesk_pid")
n1=$(cpu_ns "$tarvesk_pid")
s1=$( [ -n "$server_pid" ] && cpu_ticks "$server_pid")
e1=$( [ -n "$explorer_pid" ] && cpu_ticks "$explorer_pid")
t1=$(date +%s.%N)
[ -n "$p1" ] || { echo "idle_cpu: Tarvesk.exe ended during the measuring" >&2; exit 1; }

# Ticks used over wall-clock seconds, as a percentage of one core.
share() {
    awk -v a="$1" -v b="$2" -v hz="$hz" -v t0="$t0" -v t1="$t1" \
        'BEGIN { if (a == "" || b == "") { print "n/a"; exit } printf "%.3f", 100 * (b - a) / hz / (t1 - t0) }'
}
cpu_seconds() {
    awk -v a="$1" -v b="$2" -v hz="$hz" 'BEGIN { if (a == "" || b == "") print "n/a"; else printf "%.2f", (b - a) / hz }'
}
# What the stretch looked like: the icon in the taskbar's notification area.
shot="$root/build/idle-cpu-wine/idle_tray.png"
tarvesk_screenshot "$shot" && echo "idle_cpu: screenshot $shot" >&2

elapsed=$(awk -v t0="$t0" -v t1="$t1" 'BEGIN { printf "%.1f", t1 - t0 }')

echo "idle_cpu: Tarvesk.exe in tray mode under Wine, measured for ${elapsed} s after ${settle} s of settling"
echo "tarvesk_cpu_seconds $(cpu_seconds "$p0" "$p1") (utime + stime, in steps of 1/$hz s)"
echo "tarvesk_cpu_ms_scheduler $(awk -v a="$n0" -v b="$n1" 'BEGIN { if (a == "" || b == "") print "n/a"; else printf "%.1f", (b - a) / 1e6 }')"
echo "tarvesk_cpu_percent_of_one_core $(awk -v a="$n0" -v b="$n1" -v t0="$t0" -v t1="$t1" \
    'BEGIN { if (a == "" || b == "") { print "n/a"; exit } printf "%.3f", 100 * (b - a) / 1e9 / (t1 - t0) }') (target under 1; from the scheduler's figure)"
echo "tarvesk_cpu_percent_of_one_core_ticks $(share "$p0" "$p1")"
echo "wineserver_cpu_percent_of_one_core $(share "$s0" "$s1") (context: serves the whole prefix)"
echo "explorer_cpu_percent_of_one_core $(share "$e0" "$e1") (context: the taskbar drawing the icon)"
echo "clock_ticks_per_second $hz"
