#!/usr/bin/env bash
# Installs what is missing, builds, and starts QDX beside its settings and help files.
set -euo pipefail
source "$(dirname "$0")/tools/setup.sh"

qdx_install cmake g++ qt6-base-dev
qdx_build

bin="$QDX_BUILD/bin"
# The settings file is the user's once it is there: copy it only the first time.
for file in QDX.ini QDX.hlp; do
    [ -e "$bin/$file" ] || cp "$QDX_ROOT/$file" "$bin/$file"
done

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "QDX needs a graphical display (DISPLAY or WAYLAND_DISPLAY is not set)."
    exit 1
fi
cd "$bin"
exec ./qdx
