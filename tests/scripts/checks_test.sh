#!/usr/bin/env bash
# How scripts/lib/checks.sh counts, and when it runs a test again, against a small ctest
# project whose tests fail on purpose:
#   - an end-to-end test that fails once because a program could not be started, then
#     passes: passed, and named as passed only on its second run;
#   - an end-to-end test whose programs can never be started: failed after two runs;
#   - an end-to-end test that fails for any other reason: failed, run once;
#   - a unit test that fails with the same launch message: failed, run once;
#   - a test that exits with its skip code: skipped, with the reason it printed;
# and run_check's ways: a count line of the command's own (with a SKIP line for each skip,
# or lines that say why), exit 77 (skipped, with the reason), and a plain failure. Exit 0
# when all is as expected.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/project"
# A test: runs <counter> up by one, prints <message> and exits <status> on the runs given.
cat >"$work/project/fake_test.sh" <<'SH'
#!/bin/sh
counter=$1 failing_runs=$2 message=$3
runs=$(( $(cat "$counter" 2>/dev/null || echo 0) + 1 ))
echo "$runs" >"$counter"
if [ "$runs" -le "$failing_runs" ]; then echo "$message"; exit 1; fi
echo ok
SH
cat >"$work/project/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.21)
project(checks_test NONE)
enable_testing()
function(fake name failing_runs message)
  string(MAKE_C_IDENTIFIER "${name}" counter)
  add_test(NAME ${name} COMMAND sh ${CMAKE_SOURCE_DIR}/fake_test.sh
           ${CMAKE_BINARY_DIR}/${counter}.runs ${failing_runs} "${message}")
endfunction()
fake(e2e.StartsOnTheSecondTry 1 "cannot start Z:\\bin\\Tarvesk.exe, error 5")
fake("e2e.Every/Typed.Case/empty  # GetParam() = empty" 1 "wine: failed to start L\"Z:\\bin\\Tarvesk.exe\"")
fake(e2e.NeverStarts 9 "wine: could not load kernel32.dll, status c0000135")
fake(e2e.WrongTitle 9 "Expected equality of these values: title")
fake(Unit.LaunchMessage 9 "Application could not be started, or no application associated with the specified file.")
fake(Unit.Passes 0 "")
add_test(NAME e2e.CannotRunHere COMMAND sh -c "echo 'skip pictures on old systems: no 32-bit execution here'; exit 77")
set_tests_properties(e2e.CannotRunHere PROPERTIES SKIP_RETURN_CODE 77)
CMAKE
cmake -S "$work/project" -B "$work/build" >/dev/null || { echo "checks_test: FAIL (cmake)"; exit 1; }

# shellcheck source=../../scripts/lib/checks.sh
source "$root/scripts/lib/checks.sh"
checks_begin "$work/logs"
run_ctest fake --test-dir "$work/build" >/dev/null

run_check counted sh -c 'echo "SKIP a: no such thing here"; echo "SKIP b: nor this"; echo "x: 3 passed, 1 failed, 2 skipped"; exit 1' >/dev/null
run_check skipped sh -c 'echo working; echo "needs a printer"; exit 77' >/dev/null
run_check versions sh -c 'echo "old (32-bit build): 0 passed, 0 failed, 4 skipped: no 32-bit here"; echo "all: 1 passed, 0 failed, 4 skipped"' >/dev/null
run_check broken sh -c 'echo oops; exit 2' >/dev/null
run_check fine true >/dev/null
summary=$(checks_summary)

failures=0
expect() { # <what> <expected> <actual>
    if [ "$2" = "$3" ]; then
        echo "ok   $1"
    else
        echo "FAIL $1: expected [$2], got [$3]"
        failures=$((failures + 1))
    fi
}
runs() { cat "$work/build/$(tr -c 'A-Za-z0-9\n' _ <<<"$1").runs" 2>/dev/null || echo 0; }

expect "a launch failure of an end-to-end test runs it again" 2 "$(runs e2e.StartsOnTheSecondTry)"
expect "so does one of a test whose name holds blanks" 2 "$(runs "e2e.Every/Typed.Case/empty  # GetParam() = empty")"
expect "a launch failure that repeats runs twice, no more" 2 "$(runs e2e.NeverStarts)"
expect "another failure of an end-to-end test runs once" 1 "$(runs e2e.WrongTitle)"
expect "a unit test never runs again" 1 "$(runs Unit.LaunchMessage)"
expect "the summary line" "8 passed, 5 failed, 8 skipped" "$(tail -n 1 <<<"$summary")"
expect "the second-run passes are counted" 1 \
    "$(grep -c '^2 passed only on their second run' <<<"$summary")"
expect "the second-run passes are named" 2 \
    "$(grep -cE '^  fake: (e2e.StartsOnTheSecondTry|e2e.Every/Typed.Case/empty  # GetParam\(\) = empty)$' <<<"$summary")"
expect "the failed tests are named" 3 "$(grep -cE '^  fake: (e2e.NeverStarts|e2e.WrongTitle|Unit.LaunchMessage) ' <<<"$summary")"
expect "skips keep their reasons" 3 "$(grep -cE '^  (counted: a: no such thing here|counted: b: nor this|skipped: needs a printer)$' <<<"$summary")"
expect "a skipped ctest test keeps its reason" 1 \
    "$(grep -cxF '  fake: e2e.CannotRunHere: pictures on old systems: no 32-bit execution here' <<<"$summary")"
expect "skips counted without SKIP lines say why" 1 \
    "$(grep -cxF '  versions: old (32-bit build): 0 passed, 0 failed, 4 skipped: no 32-bit here' <<<"$summary")"
expect "a failed summary is false" 1 "$(checks_summary >/dev/null; echo $?)"

if [ "$failures" -eq 0 ]; then
    echo "checks_test: PASS"
    exit 0
fi
echo "checks_test: FAIL ($failures)"
echo "$summary"
exit 1
