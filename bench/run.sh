#!/usr/bin/env bash
# Builds in release mode and prints every benchmark as one table, each step beside its baseline.
set -euo pipefail
source "$(dirname "$0")/../tools/setup.sh"

qdx_install cmake g++ qt6-base-dev libvips-tools imagemagick
QDX_BUILD="$QDX_ROOT/build-release"
qdx_build Release >/dev/null
bench="$QDX_BUILD/bench"

echo "QDX benchmarks, $(date +%Y-%m-%d), $(nproc) cores, offscreen"
echo
echo "| step | images or keys | QDX ms | baseline | baseline ms | ratio |"
echo "|---|---|---|---|---|---|"
for count in 10000 100000; do
    "$bench/bench_catalog" "$count" 2>/dev/null
done
"$bench/bench_iniwrite" 2>/dev/null
# Camera pictures are made once and kept, as they take a minute to make.
pictures="$QDX_BUILD/camera-pictures"
[ -d "$pictures" ] || "$bench/bench_thumbnails" make "$pictures" "${QDX_CAMERA_PICTURES:-500}"
"$bench/bench_thumbnails" run "$pictures" 2>/dev/null
"$bench/bench_options" 2>/dev/null
