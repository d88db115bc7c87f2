#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
set -euo pipefail
source "$(dirname "$0")/tools/setup.sh"

# The catalog page is checked in a real browser, the installed tree with Debian's validators.
qdx_install "${QDX_PACKAGES[@]}" --optional chromium desktop-file-utils appstream
qdx_build
cd "$QDX_BUILD"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
# What was not checked is said where it is seen, not only inside the tests' own output.
command -v chromium >/dev/null ||
    echo "Skipped: the catalog pages were not checked in a browser (chromium is not installed)."
command -v desktop-file-validate >/dev/null && command -v appstreamcli >/dev/null ||
    echo "Skipped: the installed desktop entry and metadata were not validated."
