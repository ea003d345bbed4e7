#!/bin/sh
# Builds the benchmarks (Release, native) in build/bench and runs them; extra arguments go
# to the benchmark program (e.g. --benchmark_filter=Tick).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/bench"
cmake -S "$root/bench" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target tarvesk_bench
exec "$build/tarvesk_bench" "$@"
