#!/usr/bin/env bash
# The settings store and the Run registration in a real registry, under Wine: values the
# program writes are read back with Wine's reg tool, hand-edited values are read the way the
# program reads them, and keys the user may not write leave the program working.
#
# Usage: tests/e2e/registry_test.sh <build-dir>     (runs <build-dir>/bin/registry_probe.exe)
# Uses $WINEPREFIX when set, else a prefix of its own in <build-dir>/registry-wineprefix.
# Whatever the prefix held under HKCU\Software\Tarvesk and in the two Run values (machine-wide
# and the user's) is put back.
# Exit 0 when every check passes, 1 otherwise.
set -uo pipefail

build=${1:?usage: registry_test.sh <build-dir>}
build=$(cd "$build" && pwd)
probe="$build/bin/registry_probe.exe"
if [ ! -f "$probe" ]; then
    echo "registry_test: FAIL ($probe not built)"
    exit 1
fi

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ -z "${WINEPREFIX:-}" ]; then
    export WINEPREFIX="$build/registry-wineprefix"
    export WINEARCH=win64
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "creating Wine prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
fi

# `wine reg` is the 32-bit or the 64-bit tool, as the host's Wine starts it: name the
# registry view the probe itself sees.
if file -b "$probe" | grep -q 'PE32+'; then view=/reg:64; else view=/reg:32; fi

settings='HKCU\Software\Tarvesk\Settings'
run='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
user_run='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
work=$(mktemp -d)

passed=0
failed=0
check() {   # check <what> <expected> <actual>
    if [ "$2" == "$3" ]; then
        passed=$((passed + 1))
        echo "ok   $1"
    else
        failed=$((failed + 1))
        echo "FAIL $1: expected [$2], got [$3]"
    fi
}

reg() { wine reg "$@" "$view" 2>/dev/null | tr -d '\r'; }

# "<type> <data>" of a value, or "absent".
value_of() {
    local line
    line=$(reg query "$1" /v "$2" | grep -E "^    $2    REG_" | head -n 1)
    if [ -z "$line" ]; then echo absent; return; fi
    echo "$line" | sed -E "s/^    $2    (REG_[A-Z_]+)    ?(.*)$/\1 \2/"
}

# One field of the probe's output: probe_field <output> <name>
field() { echo "$1" | grep -E "^$2=" | head -n 1 | cut -d= -f2-; }

run_probe() { wine "$probe" "$@" 2>&1 | tr -d '\r'; return "${PIPESTATUS[0]}"; }

# Put back what the prefix held before.
had_settings=0
if wine reg query 'HKCU\Software\Tarvesk' "$view" >/dev/null 2>&1; then
    had_settings=1
    wine reg export 'HKCU\Software\Tarvesk' "$(winepath -w "$work/tarvesk.reg")" /y "$view" >/dev/null 2>&1
fi
old_run=$(value_of "$run" Tarvesk)
old_user_run=$(value_of "$user_run" Tarvesk)
put_back() {   # put_back <key> <"type data" or absent>
    reg delete "$1" /v Tarvesk /f >/dev/null
    if [ "$2" != absent ]; then
        reg add "$1" /v Tarvesk /t "${2%% *}" /d "${2#* }" /f >/dev/null
    fi
}
restore() {
    reg delete 'HKCU\Software\Tarvesk' /f >/dev/null
    if [ "$had_settings" = 1 ]; then
        wine reg import "$(winepath -w "$work/tarvesk.reg")" "$view" >/dev/null 2>&1
    fi
    put_back "$run" "$old_run"
    put_back "$user_run" "$old_user_run"
    rm -rf "$work"
}
trap restore EXIT

echo "== an empty store reads every default"
reg delete 'HKCU\Software\Tarvesk' /f >/dev/null
out=$(run_probe read)
for pair in autoOptimize=0 alarmLevel=0 freeAtAlarm=0 trayTip=0 startAgent=0 lastRAM=0 \
            dialogAuto=0 dialogAlarm=0 dialogFree=0 dialogTray=0 "rawAlarm=<absent>"; do
    check "default ${pair%%=*}" "${pair#*=}" "$(field "$out" "${pair%%=*}")"
done

echo "== values the program writes are REG_SZ text under HKCU\\Software\\Tarvesk\\Settings"
out=$(run_probe save)
check "probe save" 0 "$?"
check AutomaticOptimize "REG_SZ 1" "$(value_of "$settings" AutomaticOptimize)"
check LastRAMValue "REG_SZ 42" "$(value_of "$settings" LastRAMValue)"
check "AlarmLevel with a comma separator" "REG_SZ 10,5" "$(value_of "$settings" AlarmLevel)"
check FreeMBatAlarm "REG_SZ 1E+20" "$(value_of "$settings" FreeMBatAlarm)"
check SysTrayTTT "REG_SZ 1" "$(value_of "$settings" SysTrayTTT)"
check StartAgent "REG_SZ 1" "$(value_of "$settings" StartAgent)"
out=$(run_probe read)
for pair in autoOptimize=1 alarmLevel=10 freeAtAlarm=2147483647 trayTip=1 startAgent=1 \
            lastRAM=42 dialogAuto=1 dialogAlarm=10 dialogFree=1E+20 dialogTray=1; do
    check "read back ${pair%%=*}" "${pair#*=}" "$(field "$out" "${pair%%=*}")"
done

echo "== hand-edited values never stop the program"
long=$(printf '9%.0s' $(seq 1 5000))
reg add "$settings" /v SysTrayTTT /t REG_DWORD /d 1 /f >/dev/null
reg add "$settings" /v AlarmLevel /t REG_SZ /d "$long" /f >/dev/null
reg add "$settings" /v FreeMBatAlarm /t REG_SZ /d abc /f >/dev/null
reg add "$settings" /v LastRAMValue /t REG_SZ /d -5 /f >/dev/null
reg add "$settings" /v AutomaticOptimize /t REG_SZ /d 1e999 /f >/dev/null
reg add "$settings" /v StartAgent /t REG_SZ /d "  1  " /f >/dev/null
out=$(run_probe read)
check "probe read of hand-edited values" 0 "$?"
for pair in trayTip=0 dialogTray=0 alarmLevel=0 dialogAlarm=0 freeAtAlarm=0 dialogFree=0 \
            lastRAM=0 autoOptimize=255 dialogAuto=0 startAgent=1; do
    check "hand-edited ${pair%%=*}" "${pair#*=}" "$(field "$out" "${pair%%=*}")"
done

for place in machine user; do
    if [ $place = machine ]; then key=$run; else key=$user_run; fi
    other=$run; [ $place = machine ] && other=$user_run
    reg delete "$other" /v Tarvesk /f >/dev/null

    echo "== the $place Run value appears, quoted, and disappears"
    run_probe run-delete $place >/dev/null
    check "$place: Run value absent at first" absent "$(value_of "$key" Tarvesk)"
    out=$(run_probe run-set $place 'C:\Program Files\Tarvesk')
    check "$place: probe run-set" 0 "$?"
    check "$place: Run key writable" 1 "$(field "$out" writable)"
    check "$place: Run value" 'REG_SZ "C:\Program Files\Tarvesk\TarveskA.exe"' "$(value_of "$key" Tarvesk)"
    check "$place: the other place untouched" absent "$(value_of "$other" Tarvesk)"
    check "$place: registered after set" 1 "$(field "$(run_probe run-query $place)" registered)"
    out=$(run_probe run-delete $place)
    check "$place: probe run-delete" 0 "$?"
    check "$place: Run value gone" absent "$(value_of "$key" Tarvesk)"
    check "$place: not registered after delete" 0 "$(field "$(run_probe run-query $place)" registered)"

    echo "== any value of that name counts as registered ($place)"
    reg add "$key" /v Tarvesk /t REG_SZ /d 'C:\Other\other.exe' /f >/dev/null
    check "$place: another program's path" 1 "$(field "$(run_probe run-query $place)" registered)"
    reg add "$key" /v Tarvesk /t REG_DWORD /d 7 /f >/dev/null
    check "$place: a value of another type" 1 "$(field "$(run_probe run-query $place)" registered)"
    run_probe run-set $place 'C:\Tools' >/dev/null
    check "$place: set replaces the other value" 'REG_SZ "C:\Tools\TarveskA.exe"' "$(value_of "$key" Tarvesk)"
    run_probe run-delete $place >/dev/null
done

echo "== the user's Run key is made when a profile lacks it"
wine reg export "$user_run" "$(winepath -w "$work/user-run.reg")" /y "$view" >/dev/null 2>&1
reg delete "$user_run" /f >/dev/null
out=$(run_probe run-query user)
check "user: absent key opened" 1 "$(field "$out" opened)"
check "user: absent key made writable" 1 "$(field "$out" writable)"
check "user: the key exists now" 0 "$(reg query "$user_run" >/dev/null; echo $?)"
# Put back the other programs' values the key held.
[ -f "$work/user-run.reg" ] && wine reg import "$(winepath -w "$work/user-run.reg")" "$view" >/dev/null 2>&1

echo "== keys the user may not write"
out=$(run_probe run-denied)
check "probe run-denied" 0 "$?"
check "absent key: nothing opened" 0 "$(field "$out" missingOpened)"
check "user: absent key made and written" 1 "$(field "$out" missingUserRegistered)"
if [ "$(field "$out" denyEnforced)" = 1 ]; then
    check "read-only key opened" 1 "$(field "$out" deniedOpened)"
    check "read-only key not writable" 0 "$(field "$out" deniedWritable)"
    check "presence seen on a read-only key" 1 "$(field "$out" deniedRegistered)"
    check "user: read-only key opened" 1 "$(field "$out" userDeniedOpened)"
    check "user: read-only key not writable" 0 "$(field "$out" userDeniedWritable)"
    check "user: presence seen on a read-only key" 1 "$(field "$out" userDeniedRegistered)"
else
    echo "note: this Wine does not enforce key permissions; read-only case not simulated"
fi
out=$(run_probe store-denied)
check "probe store-denied" 0 "$?"
if [ "$(field "$out" denyEnforced)" = 1 ]; then
    check "refused settings write reported" 0 "$(field "$out" saved)"
    check "read after a refused write" old "$(field "$out" readBack)"
fi

echo "== the program's folder"
out=$(run_probe info)
check "folder of the executable" "$(winepath -w "$build/bin" | tr -d '\r')" "$(field "$out" folder)"

echo
if [ "$failed" -eq 0 ]; then
    echo "registry_test: PASS ($passed checks)"
    exit 0
fi
echo "registry_test: FAIL ($failed of $((passed + failed)) checks failed)"
exit 1
