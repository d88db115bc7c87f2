#!/usr/bin/env bash
# Builds in release mode and prints every benchmark as tables, each step beside its baseline,
# each table with the machine it ran on and the load before and after it.
set -euo pipefail
source "$(dirname "$0")/../tools/setup.sh"

qdx_install "${QDX_PACKAGES[@]}" libvips-tools imagemagick tree libimage-exiftool-perl libheif-examples
QDX_BUILD="$QDX_ROOT/build-release"
qdx_build Release >/dev/null
bench="$QDX_BUILD/bench"
machine="$(nproc) cores, $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -1), offscreen"

paired="| step | pictures or keys | QDX ms, median (min) | baseline | baseline ms, median (min) | ratio of medians |"
averaged="| step | pictures or keys | QDX ms, mean | baseline | baseline ms, mean | ratio |"

# table TITLE HEADER COMMAND...: one table, with the machine and the load average at its start
# and end.
table() {
    local title="$1" header="$2"
    shift 2
    echo "### $title"
    echo
    echo "QDX benchmarks, $(date +%Y-%m-%d), $machine; load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
    echo
    echo "$header"
    echo "|---|---|---|---|---|---|"
    "$@" 2>/dev/null
    echo
    echo "Load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
    echo
}

catalog() {
    local count
    for count in "$@"; do
        "$bench/bench_catalog" "$count"
    done
}

# shellcheck disable=SC2086 # the counts are words
table "Pictures: the main window and qdx-catalog" "$paired" \
    catalog ${QDX_PICTURE_COUNTS:-1000 10000 100000 1000000}
table "Settings: a keystroke in a folder field, start-up" "$paired" "$bench/bench_iniwrite"
table "The options dialog" "$averaged" "$bench/bench_options"
# Camera pictures are made once and kept, as they take a minute to make.
pictures="$QDX_BUILD/camera-pictures"
[ -d "$pictures" ] || "$bench/bench_thumbnails" make "$pictures" "${QDX_CAMERA_PICTURES:-500}"
# The same, every other one with the camera's own copy in its EXIF.
previews="$QDX_BUILD/camera-previews"
[ -d "$previews" ] || "$bench/bench_thumbnails" previews "$pictures" "$previews"
table "Thumbnails" "$averaged" "$bench/bench_thumbnails" run "$pictures" "$previews"
# Camera JPEGs with their metadata, and phone HEICs, made once and kept too.
facts="$QDX_BUILD/fact-pictures"
[ -d "$facts" ] || "$bench/bench_facts" make "$facts" "${QDX_FACT_PICTURES:-10000}"
table "Dates, titles and HEIC pictures" "$paired" "$bench/bench_facts" run "$facts"
# Trees of many folders; the first gathering of a deep one is stopped when it takes too long.
folders() {
    local count
    for count in 12500 25000 50000 100000; do
        "$bench/bench_folders" wide "$count"
    done
    timeout 600 "$bench/bench_folders" deep 5000 ||
        echo "| Get Images, folders inside each other | 5000 | not done in 600 s | | | |"
}
table "Folders" "$paired" folders
