#!/usr/bin/env bash
# Footprint of Tarvesk.exe under Wine, side by side with the smallest Win32 program that
# shows a window with a one-second timer (bench/minimal): the time from process start to
# the first shown window, and private bytes, working set, handles, GDI/USER objects and
# windows 10 seconds after the start; the medians of several runs. Then the executables'
# sizes. Prints figures and the targets they are held against; the exit code tells only
# whether the measuring worked (a crash of a program counts as not working).
#
# Usage: bench/footprint.sh [--build-dir DIR] [--runs N] [--settle-seconds N]
#   --build-dir DIR   take Tarvesk.exe and TarveskA.exe from DIR/bin as they are
#                     (default: build them in build/bench-win64)
#   --runs N          runs of each program, alternating (default 5)
#   --settle-seconds  when the memory is sampled, counted from the start (default 10)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine/common.sh
source "$here/wine/common.sh"

build_dir=""
runs=5
settle=10
while [ $# -gt 0 ]; do
    case $1 in
    --build-dir) build_dir=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --settle-seconds) settle=$2; shift 2 ;;
    *) echo "usage: $0 [--build-dir DIR] [--runs N] [--settle-seconds N]" >&2; exit 1 ;;
    esac
done

bench_build "$build_dir" || exit 1
bench_wine || exit 1

results=$(mktemp -d)
trap 'tarvesk_wine_stop; rm -rf "$results"' EXIT

# One measured start of a program; its "name value" lines go to $results/<name>.<run>.
measure() {
    local name=$1 exe=$2 run=$3
    local out="$results/$name.$run" raw="$results/raw-$name.$run" err="$results/err-$name.$run"
    if ! wine "$BENCH_TOOLS/tarvesk_probe.exe" footprint "$(bench_winpath "$exe")" \
        --clear-settings --settle-ms $((settle * 1000)) >"$raw" 2>"$err"; then
        echo "footprint: measuring $name failed (run $run):" >&2
        cat "$raw" "$err" >&2
        return 1
    fi
    tr -d '\r' <"$raw" >"$out"
}

echo "footprint: $runs runs of each program, sampled ${settle} s after the start" >&2
failed=0
for run in $(seq 1 "$runs"); do
    # Alternating, so a machine that gets busier during the runs weighs on all alike.
    if [ $((run % 2)) -eq 1 ]; then
        measure tarvesk "$BENCH_BIN/Tarvesk.exe" "$run" || failed=1
        measure minimal "$BENCH_TOOLS/tarvesk_minimal.exe" "$run" || failed=1
        measure libs "$BENCH_TOOLS/tarvesk_minimal_libs.exe" "$run" || failed=1
    else
        measure libs "$BENCH_TOOLS/tarvesk_minimal_libs.exe" "$run" || failed=1
        measure minimal "$BENCH_TOOLS/tarvesk_minimal.exe" "$run" || failed=1
        measure tarvesk "$BENCH_BIN/Tarvesk.exe" "$run" || failed=1
    fi
done
[ $failed -eq 0 ] || exit 1

# The median of one figure over the runs of a program; "n/a" when the system gave none.
median() {
    local name=$1 key=$2
    awk -v k="$key" '$1 == k { print $2 }' "$results/$name".[0-9]* | sort -g |
        awk '{ v[NR] = $1 } END {
            if (NR == 0 || v[1] == "n/a") { print "n/a"; exit }
            if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
# All runs' values of a figure, for the spread.
values() {
    awk -v k="$2" '$1 == k { print $2 }' "$results/$1".[0-9]* | sort -g | tr '\n' ' '
}
source_of() {
    awk -v k="$1" '$1 == k { $1 = ""; sub(/^ /, ""); print; exit }' "$results"/tarvesk.1
}
ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { if (a == "n/a" || b == "n/a" || b == 0) print "n/a"; else printf "%.2f", a / b }'
}
# "met" when value <= limit.
verdict() {
    awk -v v="$1" -v l="$2" 'BEGIN { if (v == "n/a") print "not measurable"; else if (v + 0 <= l + 0) print "met"; else print "MISSED" }'
}
kb() {
    awk -v v="$1" 'BEGIN { if (v == "n/a") print "n/a"; else printf "%.0f KB", v / 1024 }'
}

size_of() { stat -c %s "$1"; }
t_size=$(size_of "$BENCH_BIN/Tarvesk.exe")
a_size=$(size_of "$BENCH_BIN/TarveskA.exe")
m_size=$(size_of "$BENCH_TOOLS/tarvesk_minimal.exe")

# One row: a figure of the three programs, Tarvesk's ratio to the minimal one, a target.
row() {
    local label=$1 key=$2 format=$3 limit=${4:-}
    local t m l r target=""
    t=$(median tarvesk "$key")
    m=$(median minimal "$key")
    l=$(median libs "$key")
    r=$(ratio "$t" "$m")
    [ -n "$limit" ] && target="ratio <= $limit: $(verdict "$r" "$limit")"
    printf '%-30s %14s %14s %16s %7s   %s\n' "$label" "$($format "$t")" "$($format "$m")" "$($format "$l")" "$r" "$target"
}
ms() { awk -v v="$1" 'BEGIN { if (v == "n/a") print "n/a"; else printf "%.1f ms", v }'; }
plain() { echo "$1"; }

echo
echo "Footprint under $(wine --version) (x64, static MinGW-w64 build), median of $runs runs"
echo "Tarvesk.exe: $BENCH_BIN/Tarvesk.exe"
echo "minimal: one empty window with a 1000 ms timer; +libraries: the same, loading the common"
echo "controls and the shell as any program with those controls and a tray icon does"
echo
printf '%-30s %14s %14s %16s %7s   %s\n' "" "Tarvesk.exe" "minimal" "+libraries" "ratio" "target (Tarvesk/minimal)"
row "start to first shown window" start_to_window_ms ms 1.5
row "private bytes at ${settle} s" private_bytes kb 1.5
row "working set at ${settle} s" working_set kb
row "handles" handles plain
row "GDI objects" gdi_objects plain
row "USER objects" user_objects plain
row "windows (top-level + child)" windows plain
echo
printf '%-30s %14s   %s\n' "Tarvesk.exe size" "$t_size B" "< 400 KB (409600 B): $(verdict "$t_size" 409599)"
printf '%-30s %14s   %s\n' "TarveskA.exe size" "$a_size B" "< 100 KB (102400 B): $(verdict "$a_size" 102399)"
printf '%-30s %14s\n' "minimal size" "$m_size B"
echo
echo "All runs, sorted:"
for key in start_to_window_ms private_bytes; do
    echo "  $key: Tarvesk [$(values tarvesk $key)] minimal [$(values minimal $key)] +libraries [$(values libs $key)]"
done
echo "Private bytes come from $(source_of private_source); handles from $(source_of handles_source)."
if [ "$(median tarvesk gdi_objects)" = "n/a" ]; then
    echo "GDI and USER objects: GetGuiResources is not implemented by this Wine (it answers 0 with"
    echo "ERROR_CALL_NOT_IMPLEMENTED); the windows row counts the process's windows instead."
fi
