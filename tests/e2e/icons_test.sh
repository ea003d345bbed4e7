#!/usr/bin/env bash
# The programs' pictures under Wine, in a Wine prefix and on a display of this script's own
# (it changes the prefix's DPI and Windows version, and restarts its Wine):
#   - at 96, 120, 144 and 192 DPI: the notification area shows the tray picture drawn for
#     the small-icon size and the About window the program icon drawn for its size (e2e
#     TrayPictureTest, AboutPictureTest: screenshots/tray-icon-<dpi>dpi.png, about-picture-...),
#     and the Windows unit tests load every tray picture at that size (Win32Icons, Win32Tray);
#   - with Wine reporting Windows XP x64 (64-bit build), XP and 2000 (32-bit build): every
#     size those systems ask for loads as a bitmap, never the 256 px PNG image.
#
# Usage: tests/e2e/icons_test.sh <build-dir> [dpi|older|older32]...
#   <build-dir> is build/windows-x64; the windows-x86 build beside it serves the 32-bit checks.
#   dpi: the checks at each DPI; older: Windows XP x64; older32: XP and 2000 (all three when
#   none is named).
# Exit 0 when every check passes, 1 when one fails, 77 when none could run here (each one
# that can't is reported as skipped, with the reason).
set -uo pipefail

build=${1:?usage: icons_test.sh <build-dir> [dpi|older|older32]...}
build=$(cd "$build" && pwd)
shift
parts=" ${*:-dpi older older32} "
root=$(cd "$(dirname "$0")/../.." && pwd)
x86="$(dirname "$build")/windows-x86"

# shellcheck source=../../scripts/lib/wine_env.sh
source "$root/scripts/lib/wine_env.sh"
unset DISPLAY        # a display of our own: the DPI changes restart this prefix's desktop
# One prefix for each set of parts: ctest may run the parts at once, in two lanes.
tarvesk_wine_env "$build/icons-wine-$(echo $parts | tr ' ' '-')" ||
    { echo "icons_test: FAIL (no Wine environment)"; exit 1; }
trap 'tarvesk_wine_stop' EXIT

passed=0
failed=0
skipped=0
pass() { passed=$((passed + 1)); echo "ok   $1"; }
fail() { failed=$((failed + 1)); echo "FAIL $1"; }
skip() { skipped=$((skipped + 1)); echo "skip $1"; }

# Runs a GoogleTest program with a filter; passes when it ran some tests and all passed,
# and, when given, its output holds the expected text.
run_tests() {   # run_tests <what> <exe> <filter> [expected text]
    local what=$1 exe=$2 filter=$3 expected=${4:-} output
    if [ ! -f "$exe" ]; then
        fail "$what ($exe not built)"
        return
    fi
    output=$(TARVESK_BIN="$build/bin" wine "$exe" --gtest_filter="$filter" 2>&1 | tr -d '\r')
    echo "$output" | grep -E "^the tray shows|as this system reports" | sed 's/^/     /'
    # A failure shows what GoogleTest said of it.
    echo "$output" | grep -q "^\[  FAILED  \]" &&
        echo "$output" | grep -A6 -E "Failure$" | sed 's/^/     /'
    if ! echo "$output" | grep -q "^\[  PASSED  \] [1-9]"; then
        fail "$what"
    elif echo "$output" | grep -q "^\[  FAILED  \]"; then
        fail "$what"
    elif [ -n "$expected" ] && ! echo "$output" | grep -qF "$expected"; then
        fail "$what (no \"$expected\" in its output)"
    else
        pass "$what"
    fi
}

# Wine reads the DPI at start-up: set it, then start the prefix's Wine afresh. The Windows
# version is reported to the unit tests' program alone (AppDefaults), so the prefix's own
# version stays as scripts/lib/wine_env.sh set it.
restart_with() {   # restart_with <dpi> <windows version or "">
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    if [ -n "$2" ]; then
        wine reg add 'HKCU\Software\Wine\AppDefaults\unit_tests.exe' /v Version /d "$2" /f >/dev/null 2>&1
    else
        wine reg delete 'HKCU\Software\Wine\AppDefaults\unit_tests.exe' /f >/dev/null 2>&1
    fi
    wineserver -k >/dev/null 2>&1
    wineserver -w
}

if [[ $parts == *" dpi "* ]]; then
    for dpi in 96 120 144 192; do
        restart_with "$dpi" ""
        run_tests "tray and About pictures at $dpi DPI" "$build/tests/e2e/e2e_tests.exe" \
            'TrayPictureTest.*:AboutPictureTest.*'
        run_tests "tray icons load at the small-icon size, $dpi DPI" "$build/tests/unit/unit_tests.exe" \
            'Win32Icons.*:Win32Tray.*'
    done
fi
if [[ $parts == *" older "* ]]; then
    restart_with 96 winxp64
    run_tests "icons on Windows XP x64 (64-bit build)" "$build/tests/unit/unit_tests.exe" 'Win32Icons.*' \
        "Windows 5.2 as this system reports itself"
fi
if [[ $parts == *" older32 "* ]]; then
    if ! tarvesk_host_runs_32bit; then
        skip "icons on Windows XP and 2000 (32-bit build): $(tarvesk_no_32bit_reason)"
    elif [ ! -f "$x86/tests/unit/unit_tests.exe" ]; then
        skip "icons on Windows XP and 2000 (32-bit build): no 32-bit build at $x86"
    else
        for version in "winxp 5.1 XP" "win2k 5.0 2000"; do
            set -- $version
            restart_with 96 "$1"
            run_tests "icons on Windows $3 (32-bit build)" "$x86/tests/unit/unit_tests.exe" 'Win32Icons.*' \
                "Windows $2 as this system reports itself"
        done
    fi
fi
restart_with 96 ""

echo "icons: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -gt 0 ] && exit 1
[ "$passed" -eq 0 ] && [ "$skipped" -gt 0 ] && exit 77
exit 0
