#!/bin/sh
# Builds the Configuration dialog's fuzz target with clang++ and libFuzzer and runs it for a
# bounded time. Usage: fuzz/run_dialog.sh [extra libFuzzer options]
# Environment: RUNS (default 100000), SECONDS_MAX (default 60), OUT (default build/fuzz).
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${OUT:-$ROOT/build/fuzz}
RUNS=${RUNS:-100000}
SECONDS_MAX=${SECONDS_MAX:-60}
BIN=$OUT/dialog_fuzz
CORPUS=$OUT/dialog_corpus
mkdir -p "$OUT" "$CORPUS"

echo "building $BIN"
clang++ -std=c++20 -g -O1 -Wall -Wextra -Werror \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer \
    -I"$ROOT/src" -I"$ROOT/resources" -I"$ROOT/tests/unit" \
    "$ROOT/fuzz/dialog_fuzz.cpp" \
    "$ROOT"/src/forms/*.cpp \
    "$ROOT"/src/settings/*.cpp \
    "$ROOT/tests/unit/fakes/FakePlatform.cpp" \
    -o "$BIN"

echo "running $BIN (at most $RUNS runs, $SECONDS_MAX s)"
if "$BIN" -runs="$RUNS" -max_total_time="$SECONDS_MAX" -timeout=10 -rss_limit_mb=2048 \
        -dict="$ROOT/fuzz/dialog.dict" -artifact_prefix="$OUT/dialog-" "$@" "$CORPUS" \
        >"$OUT/dialog_fuzz.log" 2>&1; then
    tail -n 3 "$OUT/dialog_fuzz.log"
    echo "dialog_fuzz: PASS (no crash, hang or broken rule)"
else
    tail -n 40 "$OUT/dialog_fuzz.log"
    echo "dialog_fuzz: FAIL (see $OUT/dialog_fuzz.log and $OUT/dialog-*)"
    exit 1
fi
