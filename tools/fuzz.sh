#!/usr/bin/env bash
# Fuzzes the settings reader and writer, the help source reader and the picture facts reader
# with libFuzzer:
#   tools/fuzz.sh [seconds per target]   (default 60)
# Inputs that break a target are left in build-fuzz/ as crash-*; copy them into
# tests/fuzz/corpus/<target>/ once mended, so every build replays them.
set -euo pipefail
source "$(dirname "$0")/setup.sh"

qdx_install "${QDX_PACKAGES[@]}" clang libclang-rt-14-dev
build="$QDX_ROOT/build-fuzz"
cmake -S "$QDX_ROOT" -B "$build" -DQDX_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_settings fuzz_help fuzz_facts
seconds="${1:-60}"
for target in fuzz_settings fuzz_help fuzz_facts; do
    work="$build/corpus-$target"
    mkdir -p "$work"
    (cd "$build" && QT_QPA_PLATFORM=offscreen "./tests/$target" -max_total_time="$seconds" \
        "$work" "$QDX_ROOT/tests/fuzz/corpus/$target")
done
