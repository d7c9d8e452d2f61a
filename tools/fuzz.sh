#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz and runs each for a
# bounded time (ONDRIX_FUZZ_SECONDS, 20 by default) from its committed seed
# corpus. A crash or sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${ONDRIX_FUZZ_SECONDS:-20}"
CC=clang CXX=clang++ cmake -G Ninja -S . -B build-fuzz -DONDRIX_FUZZ=ON >/dev/null
cmake --build build-fuzz --target fuzzers
for fuzzer in build-fuzz/fuzz/fuzz_*; do
    name="${fuzzer##*/fuzz_}"
    work=$(mktemp -d)
    cp tests/fuzz/corpus/"$name"/* "$work"/ 2>/dev/null || true
    echo "fuzzing $name for ${seconds}s"
    QT_QPA_PLATFORM=offscreen "$fuzzer" -max_total_time="$seconds" -print_final_stats=0 \
        -artifact_prefix=build-fuzz/ "$work" 2>&1 | tail -n 3
    rc=${PIPESTATUS[0]}
    rm -rf "$work"
    [ "$rc" -eq 0 ] || { echo "fuzz_$name failed"; exit 1; }
done
