#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
set -euo pipefail
source "$(dirname "$0")/tools/setup.sh"

qdx_install cmake g++ qt6-base-dev
# The catalog page is checked in a real browser, the installed tree with Debian's validators.
qdx_install_optional chromium desktop-file-utils appstream
qdx_build
cd "$QDX_BUILD"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
