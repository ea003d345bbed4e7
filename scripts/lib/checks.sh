# Running checks and counting them, for scripts/test. Every check ends passed, failed or
# skipped with its reason, as one line of a results file; the summary counts those lines.
# Checks may run at once in several background shells: each line is appended whole.
#
# Source this file, then:
#   checks_begin <log dir>             an empty results file; every check's log goes there
#   run_check <name> <command...>      a command as one check (log: <log dir>/<name>.log).
#                                      Exit 0 passes, 77 skips (the output's last line says
#                                      why), anything else fails. A command whose output
#                                      ends with its own count ("...: N passed, N failed,
#                                      N skipped") is counted by that line.
#   run_ctest <name> <ctest args...>   every test of the run as one check; see retries below
#   skip_check <name> <reason>         a check this host cannot run
#   fail_check <name> <reason>         a check that could not even begin
#   needs_32bit <run_check|run_ctest> <name> ...
#                                      runs it where this host runs 32-bit programs, else
#                                      skips it with the reason (scripts/lib/wine_env.sh)
#   checks_summary                     failures, skips and second-run passes, then the line
#                                      "N passed, N failed, N skipped"; false on any failure
#
# Retries: an end-to-end test (its name starts with "e2e.") that failed because Wine could
# not start a program at all, recognised by what Wine or the driver prints then, runs once
# more; if it passes then, it counts as passed and the summary names it. No other test is
# ever run twice: a unit test that fails now and then is a failure every time it fails.

# What is printed when a program could not be started at all (extended regular expressions):
#  - start.exe, through which Debian's launcher starts a program of the other bitness;
#  - Wine's loader, when the new process dies before it runs anything;
#  - the end-to-end fixtures, when CreateProcess of a program under test fails.
TARVESK_LAUNCH_FAILURES=(
    'Application could not be started, or no application associated with the specified file'
    'wine: failed to start '
    'wine: could not load kernel32\.dll'
    'wine: failed to open '
    'could not exec the wine loader'
    'cannot start .*, error [0-9]+'
)

checks_begin() {
    CHECKS_LOG_DIR=$1
    mkdir -p "$CHECKS_LOG_DIR"
    CHECKS_RESULTS="$CHECKS_LOG_DIR/results"
    : >"$CHECKS_RESULTS"
    export CHECKS_LOG_DIR CHECKS_RESULTS
}

# One results line: <status> <count> <name and details>.
_checks_record() {
    printf '%s %s %s\n' "$1" "$2" "$3" >>"$CHECKS_RESULTS"
}

# Prints a check's block in one write, so that blocks of checks running at once do not mix.
_checks_show() {
    printf '%s\n' "$1"
}

# "(1 min 5 s)" since <seconds>, for a check's heading.
_checks_took() {
    local took=$((SECONDS - $1))
    if [ "$took" -ge 60 ]; then echo "($((took / 60)) min $((took % 60)) s)"; else echo "($took s)"; fi
}

skip_check() {
    local name=$1 reason=$2
    _checks_record skipped 1 "$name: $reason"
    _checks_show "== $name
SKIP $name: $reason"
}

fail_check() {
    local name=$1 reason=$2
    _checks_record failed 1 "$name: $reason"
    _checks_show "== $name
FAIL $name: $reason"
}

needs_32bit() {
    local runner=$1 name=$2
    if tarvesk_host_runs_32bit; then
        "$@"
    else
        skip_check "$name" "$(tarvesk_no_32bit_reason)"
    fi
}

run_check() {
    local name=$1; shift
    local log="$CHECKS_LOG_DIR/$name.log" status count began=$SECONDS heading
    "$@" >"$log" 2>&1 </dev/null
    status=$?
    heading="== $name $(_checks_took "$began")"
    count=$(grep -E ': [0-9]+ passed, [0-9]+ failed(, [0-9]+ skipped)?$' "$log" | tail -n 1)
    if [ -n "$count" ]; then
        local passed failed skipped
        passed=$(sed -E 's/.*: ([0-9]+) passed.*/\1/' <<<"$count")
        failed=$(sed -E 's/.* ([0-9]+) failed.*/\1/' <<<"$count")
        skipped=0
        [[ $count =~ ([0-9]+)\ skipped$ ]] && skipped=${BASH_REMATCH[1]}
        # A command that fails without counting a failure has failed all the same.
        [ "$status" -ne 0 ] && [ "$failed" -eq 0 ] && failed=1
        [ "$passed" -gt 0 ] && _checks_record passed "$passed" "$name"
        [ "$failed" -gt 0 ] && _checks_record failed "$failed" "$name (see $log)"
        local line
        while IFS= read -r line; do
            _checks_record skipped 1 "$name: ${line#SKIP }"
        done < <(grep -E '^SKIP ' "$log")
        local noted
        noted=$(grep -cE '^SKIP ' "$log")
        if [ "$skipped" -gt "$noted" ]; then
            # Counted without a SKIP line each: the lines that say why, where there are any.
            local why
            why=$(grep -E ' skipped: ' "$log" | sed -E 's/^ +//' | paste -sd';' - | sed 's/;/; /g')
            _checks_record skipped $((skipped - noted)) "$name: ${why:-see $log}"
        fi
        if [ "$failed" -gt 0 ]; then
            _checks_show "$heading
$(tail -n 30 "$log")"
        else
            _checks_show "$heading
$(grep -E '^SKIP ' "$log")
$count"
        fi
    elif [ "$status" -eq 0 ]; then
        _checks_record passed 1 "$name"
        _checks_show "$heading
$(tail -n 3 "$log")"
    elif [ "$status" -eq 77 ]; then
        _checks_record skipped 1 "$name: $(tail -n 1 "$log")"
        _checks_show "$heading
SKIP $name: $(tail -n 1 "$log")"
    else
        _checks_record failed 1 "$name (see $log)"
        _checks_show "$heading
$(tail -n 30 "$log")"
    fi
}

# "<result><TAB><name>" for every test a ctest log reports, in order. A result is
# "Passed", "Failed", "Timeout", "Exception: ...", "Not Run", ...; a name may hold blanks
# ("e2e.Suite/Test.Case/value  # GetParam() = value"). ctest pads every name with a blank
# and dots up to the result.
_ctest_results() {
    sed -nE 's/^ *([0-9]+\/[0-9]+ +)?Test +#[0-9]+: (.*[^ ]) \.+ *(\*\*\*)?(.*[^ ]) +[0-9.]+ sec$/\4\t\2/p' "$1"
}

# One test's whole output from ctest's JUnit file (its <system-out>).
_junit_output_of() {
    awk -v test="$2" '
        index($0, "<testcase name=\"" test "\"") { inside = 1; next }
        !inside { next }
        /<\/testcase>/ { exit }
        {
            line = $0
            if (sub(/.*<system-out>/, "", line)) out = 1
            if (out && sub(/<\/system-out>.*/, "", line)) { print line; out = 0; next }
            if (out) print line
        }
    ' "$1" 2>/dev/null
}

# The output ctest shows for one test: the lines after its result, up to the next test's.
_ctest_output_of() {
    awk -v test="$2" '
        /^ *([0-9]+\/[0-9]+ +)?Test +#[0-9]+: / {
            name = $0
            sub(/^ *([0-9]+\/[0-9]+ +)?Test +#[0-9]+: /, "", name)
            inside = substr(name, 1, length(test) + 2) == test " ."
            next
        }
        /^ *Start +[0-9]+: / || /tests passed, / { inside = 0 }
        inside { print }
    ' "$1"
}

_is_launch_failure() {
    local output=$1 pattern
    for pattern in "${TARVESK_LAUNCH_FAILURES[@]}"; do
        grep -qE -- "$pattern" <<<"$output" && return 0
    done
    return 1
}

run_ctest() {
    local name=$1; shift
    local log="$CHECKS_LOG_DIR/$name.log" status began=$SECONDS
    # Every test's output, skipped ones' too, which --output-on-failure leaves out.
    local outputs="$CHECKS_LOG_DIR/$name.junit.xml"
    ctest "$@" --output-on-failure --output-junit "$outputs" >"$log" 2>&1 </dev/null
    status=$?
    local test result passed=0 failed=0 second=() failures=() skips=()
    while IFS=$'\t' read -r result test; do
        if [ "$result" = Passed ]; then
            passed=$((passed + 1))
            continue
        fi
        # A test that tells ctest it could not run here (its skip code), with the reason
        # it printed.
        if [ "$result" = Skipped ]; then
            local why
            why=$(_junit_output_of "$outputs" "$test" | grep -iE '(^|[^a-z])skip' | head -n 1 |
                sed -E 's/^ *(SKIP|skip|\[  SKIPPED \]) *//')
            skips+=("$test: ${why:-see $log}")
            continue
        fi
        if [[ $test == e2e.* ]] && _is_launch_failure "$(_ctest_output_of "$log" "$test")"; then
            local again="$CHECKS_LOG_DIR/$name.second-run.$(printf '%s' "$test" | tr -c 'A-Za-z0-9._-' _).log"
            local exact="^$(sed 's/[][\.*^$(){}+?|]/\\&/g' <<<"$test")\$"
            if ctest "$@" -R "$exact" --output-on-failure >"$again" 2>&1 </dev/null &&
                [ "$(_ctest_results "$again" | cut -f1)" = Passed ]; then
                passed=$((passed + 1))
                second+=("$test")
                continue
            fi
        fi
        failed=$((failed + 1))
        failures+=("$test ($result)")
    done < <(_ctest_results "$log")

    # ctest failing with no test failed (it could not list or start them) is a failure too.
    if [ "$status" -ne 0 ] && [ "$failed" -eq 0 ] && [ ${#second[@]} -eq 0 ]; then
        failed=1
        failures+=("ctest itself (exit $status)")
    fi
    [ "$passed" -gt 0 ] && _checks_record passed "$passed" "$name"
    local test_name
    for test_name in "${skips[@]}"; do
        _checks_record skipped 1 "$name: $test_name"
    done
    for test_name in "${second[@]}"; do
        _checks_record passed-second 0 "$name: $test_name"
    done
    for test_name in "${failures[@]}"; do
        _checks_record failed 1 "$name: $test_name (see $log)"
    done
    local block="== $name $(_checks_took "$began")
$passed passed, $failed failed"
    [ ${#skips[@]} -gt 0 ] && block+=", ${#skips[@]} skipped
$(printf 'SKIP %s\n' "${skips[@]}")"
    [ ${#second[@]} -gt 0 ] && block+="
passed only on their second run, after Wine failed to start a program: ${second[*]}"
    [ "$failed" -gt 0 ] && block+="
$(grep -E '\*\*\*|Failure|Error' "$log" | head -n 30)"
    _checks_show "$block"
}

_checks_total() {
    awk -v status="$1" '$1 == status { n += $2 } END { print n + 0 }' "$CHECKS_RESULTS"
}

checks_summary() {
    local passed failed skipped second
    passed=$(_checks_total passed)
    failed=$(_checks_total failed)
    skipped=$(_checks_total skipped)
    second=$(grep -c '^passed-second ' "$CHECKS_RESULTS")
    echo
    if [ "$skipped" -gt 0 ]; then
        echo "Skipped:"
        sed -nE 's/^skipped [0-9]+ /  /p' "$CHECKS_RESULTS"
    fi
    echo "$second passed only on their second run, after Wine failed to start a program the first time"
    sed -nE 's/^passed-second [0-9]+ /  /p' "$CHECKS_RESULTS"
    if [ "$failed" -gt 0 ]; then
        echo "Failed:"
        sed -nE 's/^failed [0-9]+ /  /p' "$CHECKS_RESULTS"
    fi
    echo "$passed passed, $failed failed, $skipped skipped"
    [ "$failed" -eq 0 ]
}
