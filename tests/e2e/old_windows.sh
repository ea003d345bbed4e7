#!/usr/bin/env bash
# End-to-end cases of start-up, tray mode, Optimize, the Configuration dialog, the agent,
# the help and the windows without visual styles, with the programs told they run on older
# Windows: the 32-bit build as Windows 98, 2000 and XP, the 64-bit build as Windows XP x64.
#
#   tests/e2e/old_windows.sh <x64 build dir> <x86 build dir>
#
# The driver is the 64-bit build's e2e_tests.exe, which drives 32-bit programs as well.
# Wine reports a Windows version per program: HKCU\Software\Wine\AppDefaults\<exe> value
# "Version", set here for Tarvesk.exe and TarveskA.exe only and removed at the end (a
# 64-bit prefix cannot report win98, win2k or winxp as a whole: winecfg refuses them, and
# Wine's own 64-bit programs such as the taskbar keep their version). The cases run in one
# driver process per version; a case that failed because Wine could not start a program at
# all (what scripts/lib/checks.sh recognises as a launch failure) runs once more, and no
# other failure ever does. On a host that cannot run 32-bit programs the 32-bit versions are
# skipped, with the reason, and winxp64 still runs.
#
# Prints a line per version and ends with "old-windows: N passed, N failed, N skipped";
# exits non-zero when a case failed. Screenshots go to
# <x64 build dir>/../screenshots/old-windows/<version>/, logs to
# <x64 build dir>/../test-logs/old-windows/.
set -uo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 <x64 build dir> <x86 build dir>" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
x64=$(cd "$1" && pwd) || exit 2
x86=$(cd "$2" 2>/dev/null && pwd || echo "$2")
work=$(dirname "$x64")
driver="$x64/tests/e2e/e2e_tests.exe"
logs="$work/test-logs/old-windows"
shots="$work/screenshots/old-windows"
mkdir -p "$logs" "$shots"

# A few cases of each area, named in full: a name that no longer matches a case counts as
# a failure rather than shrinking the run unnoticed.
cases=(
  WindowsVersionTest.BothProgramsAreToldTheWindowsTheyRunAs
  StartUpTest.AgentMarkStartsInTheTrayWithoutShowingAWindowAndIsConsumed
  MainWindowTest.TitleAndLabelShowThisMachinesMemory
  TrayTest.SettingsMenuSendsToTrayAndDoubleClickBringsTheWindowBack
  TrayTest.IconMenuTogglesAutomaticOptimizationAndExitLeavesNoIcon
  MonitorTest.SliderKeysStoreTheAmountAndSetItsTooltip
  MonitorTest.OptimizeRunsTheBarToItsEndAndTheTickGoesOn
  DialogTest.TypedValuesThatBreakTheRulesAreReportedAndCorrected
  AgentTest.LogOnStartLeavesTheMainProgramInTheTray
  AgentTest.RunRegistrationFromTheConfigurationDialogStartsTheTray
  AgentTest.PerUserRunRegistrationStartsTheTrayAtLogOn
  HelpTest.BeforeVistaTheHelpFileOpensInTheViewer
  ClassicControlsTest.MainWindowSliderGaugeOptimizeAndTooltips
  ClassicControlsTest.ConfigurationCheckBoxesOptionButtonsAndBoxes
  ClassicControlsTest.AboutWindowAndItsCloseButton
)
# version and the build it runs with
versions=(win98:x86 win2k:x86 winxp:x86 winxp64:x64)

# shellcheck source=../../scripts/lib/wine_env.sh
source "$root/scripts/lib/wine_env.sh"
# shellcheck source=../../scripts/lib/checks.sh
source "$root/scripts/lib/checks.sh"
had_display=${DISPLAY:-}
# A caller that has its Wine environment (a lane of scripts/test) keeps it; else our own.
if [ -z "${WINEPREFIX:-}" ] || [ -z "$had_display" ]; then
  tarvesk_wine_env "$work" || { echo "old-windows: 0 passed, 1 failed, 0 skipped"; exit 1; }
fi

programs=(Tarvesk.exe TarveskA.exe)
report_as() {
  local version=$1 program
  for program in "${programs[@]}"; do
    if [ -n "$version" ]; then
      wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$program" /v Version /d "$version" /f
    else
      wine reg delete "HKCU\\Software\\Wine\\AppDefaults\\$program" /v Version /f
    fi
  done >/dev/null 2>&1
}
finish() {
  report_as ""
  # Only what this script started is stopped: the caller's display and Wine stay.
  [ -z "$had_display" ] && tarvesk_wine_stop
}
trap finish EXIT

# Runs the cases named in $2 (":"-separated) under version $1 with the programs in $3; the
# names of those that passed, failed and were skipped go to $4.{passed,failed,skipped}.
run_cases() {
  local version=$1 filter=$2 bin=$3 out=$4
  TARVESK_BIN="$bin" TARVESK_E2E_WINDOWS="$version" TARVESK_SCREENSHOTS="$shots/$version" \
    timeout 1200 wine "$driver" --gtest_filter="$filter" >"$out.log" 2>&1
  local kind
  for kind in OK:passed FAILED:failed SKIPPED:skipped; do
    sed -nE "s/^\[ +${kind%%:*} +\] ([A-Za-z0-9_./]+) \([0-9]+ ms\)\r?$/\1/p" "$out.log" \
      >"$out.${kind#*:}"
  done
}

# What the driver printed for one case: from its "[ RUN ]" line to its result line.
case_output() {   # log name
  awk -v name="$2" '
    { sub(/\r$/, "") }
    /^\[ RUN      \] / { inside = ($4 == name) }
    inside { print }
    /^\[ +(OK|FAILED|SKIPPED) +\] / && inside { inside = 0 }
  ' "$1"
}

total_passed=0 total_failed=0 total_skipped=0
all=$(IFS=:; echo "${cases[*]}")
for entry in "${versions[@]}"; do
  version=${entry%%:*}
  build=${entry#*:}
  if [ "$build" = x86 ]; then bin="$x86/bin"; else bin="$x64/bin"; fi
  if [ "$build" = x86 ] && ! tarvesk_host_runs_32bit; then
    echo "$version (32-bit build): 0 passed, 0 failed, ${#cases[@]} skipped: $(tarvesk_no_32bit_reason)"
    total_skipped=$((total_skipped + ${#cases[@]}))
    continue
  fi
  if [ ! -f "$driver" ] || [ ! -f "$bin/Tarvesk.exe" ] || [ ! -f "$bin/TarveskA.exe" ]; then
    echo "$version ($build build): 0 passed, ${#cases[@]} failed, 0 skipped: missing $driver or the programs in $bin"
    total_failed=$((total_failed + ${#cases[@]}))
    continue
  fi

  report_as "$version"
  run_cases "$version" "$all" "$bin" "$logs/$version"
  # A case that failed because Wine could not start a program runs once more on its own.
  again=""
  : >"$logs/$version.launch-failed"
  while read -r name; do
    [ -n "$name" ] || continue
    _is_launch_failure "$(case_output "$logs/$version.log" "$name")" &&
      echo "$name" >>"$logs/$version.launch-failed"
  done <"$logs/$version.failed"
  if [ -s "$logs/$version.launch-failed" ]; then
    run_cases "$version" "$(paste -sd: "$logs/$version.launch-failed")" "$bin" "$logs/$version.again"
    again=" ($(wc -l <"$logs/$version.again.passed") passed only on their second run, after Wine failed to start a program)"
    cat "$logs/$version.again.passed" >>"$logs/$version.passed"
  fi
  passed=$(sort -u "$logs/$version.passed" | wc -l)
  skipped=$(sort -u "$logs/$version.skipped" | wc -l)
  # Whatever did not pass and was not skipped failed: cases that were not found or did not
  # finish (the driver ended) included.
  failed=$((${#cases[@]} - passed - skipped))
  echo "$version ($build build): $passed passed, $failed failed, $skipped skipped$again"
  grep -h "is told Windows" "$logs/$version.log" | sed 's/\r$//; s/^/  /'
  if [ "$failed" -gt 0 ]; then
    for name in "${cases[@]}"; do
      grep -qxF "$name" "$logs/$version.passed" "$logs/$version.skipped" ||
        echo "  failed: $name (see $logs/$version.log)"
    done
  fi
  total_passed=$((total_passed + passed))
  total_failed=$((total_failed + failed))
  total_skipped=$((total_skipped + skipped))
done

echo "Screenshots: $shots"
echo "old-windows: $total_passed passed, $total_failed failed, $total_skipped skipped"
[ "$total_failed" -eq 0 ]
