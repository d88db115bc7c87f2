#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
set -euo pipefail
source "$(dirname "$0")/tools/setup.sh"

# The catalog page is checked in a real browser, the installed tree with Debian's validators.
# Java and npm from Debian only where the machine has none of its own.
web_tools=()
command -v java >/dev/null || web_tools+=(default-jre-headless)
command -v npm >/dev/null || web_tools+=(npm)
qdx_install "${QDX_PACKAGES[@]}" --optional chromium desktop-file-utils appstream "${web_tools[@]}"
qdx_build
# The pages for phones go through the Nu Html Checker (run with Java) and axe-core (run in
# Chromium), at the versions the lock file names; their install scripts are not needed.
checkers="$QDX_BUILD/web-checkers"
if command -v npm >/dev/null; then
    mkdir -p "$checkers"
    cp "$QDX_ROOT"/tools/web-checkers/package*.json "$checkers/"
    (cd "$checkers" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error >/dev/null) ||
        echo "Could not install the web checkers from npm."
fi
cd "$QDX_BUILD"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
# What was not checked is said where it is seen, not only inside the tests' own output.
command -v chromium >/dev/null ||
    echo "Skipped: the catalog pages were not checked in a browser (chromium is not installed)."
command -v java >/dev/null && [ -f "$checkers/node_modules/vnu-jar/build/dist/vnu.jar" ] ||
    echo "Skipped: the pages for phones were not checked by the Nu Html Checker (java or vnu-jar missing)."
command -v chromium >/dev/null && [ -f "$checkers/node_modules/axe-core/axe.min.js" ] ||
    echo "Skipped: the pages for phones were not checked by axe-core (chromium or axe-core missing)."
command -v desktop-file-validate >/dev/null && command -v appstreamcli >/dev/null ||
    echo "Skipped: the installed desktop entry and metadata were not validated."
