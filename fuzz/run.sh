#!/bin/sh
# Builds the conversions' fuzz target with clang++ and libFuzzer (AddressSanitizer, UBSan)
# and runs it for a bounded number of inputs. Usage: fuzz/run.sh [extra libFuzzer options]
# Environment: RUNS (default 200000), SECONDS_MAX (default 120), OUT (default build/fuzz).
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${OUT:-$ROOT/build/fuzz}
RUNS=${RUNS:-200000}
SECONDS_MAX=${SECONDS_MAX:-120}
BIN=$OUT/conversions_fuzz
CORPUS=$OUT/conversions_corpus
LOG=$OUT/conversions_fuzz.log
mkdir -p "$OUT" "$CORPUS"

echo "building $BIN"
clang++ -std=c++20 -g -O1 -Wall -Wextra -Werror \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer \
    -I"$ROOT/src" \
    "$ROOT/fuzz/conversions_fuzz.cpp" "$ROOT/src/settings/Conversions.cpp" \
    -o "$BIN"

# A few seeds in the shapes the program stores and a hand editor might leave.
i=0
for seed in "0" "12" "10.5" "-3" " 1 2 " "12MB" "&HFFFF" "&O777" "1D3" "1e999" "10,5" \
            "99999999999" "1.79769313486231E+308" "0.0001" "1E-05" "abc"; do
    i=$((i + 1))
    printf '%s' "$seed" > "$CORPUS/seed$i"
done

echo "running $BIN (at most $RUNS runs, $SECONDS_MAX s)"
if "$BIN" -runs="$RUNS" -max_total_time="$SECONDS_MAX" -timeout=10 -rss_limit_mb=2048 \
        -max_len=4096 -dict="$ROOT/fuzz/conversions.dict" -artifact_prefix="$OUT/conversions-" \
        "$@" "$CORPUS" >"$LOG" 2>&1; then
    tail -n 3 "$LOG"
    echo "conversions_fuzz: PASS (no crash, hang or broken rule)"
else
    tail -n 40 "$LOG"
    echo "conversions_fuzz: FAIL (see $LOG and $OUT/conversions-*)"
    exit 1
fi
