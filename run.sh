#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds the two programs, and starts QDX from a folder of its own,
# where it keeps its settings and log beside itself. That folder (portable/) is not the build
# folder, so the settings a user changed survive a fresh build.
set -euo pipefail
source "$(dirname "$0")/tools/setup.sh"

# A display that does not answer would make Qt abort with a misleading message.
display_answers() {
    if [ -n "${WAYLAND_DISPLAY:-}" ]; then
        local socket="$WAYLAND_DISPLAY"
        [ "${socket#/}" = "$socket" ] && socket="${XDG_RUNTIME_DIR:-/run/user/$(id -u)}/$socket"
        [ -S "$socket" ] && return 0
    fi
    [ -n "${DISPLAY:-}" ] || return 1
    local host="${DISPLAY%%:*}" number="${DISPLAY#*:}"
    number="${number%%.*}"
    if [ -z "$host" ] || [ "$host" = unix ]; then
        [ -S "/tmp/.X11-unix/X$number" ]
    else
        (exec 3<>"/dev/tcp/$host/$((6000 + number))") 2>/dev/null
    fi
}

if [ -z "${QT_QPA_PLATFORM:-}" ]; then
    if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        echo "QDX needs a graphical display (DISPLAY or WAYLAND_DISPLAY is not set)."
        exit 1
    fi
    if ! display_answers; then
        echo "QDX needs a graphical display: ${WAYLAND_DISPLAY:-$DISPLAY} does not answer."
        exit 1
    fi
fi

qdx_install "${QDX_PACKAGES[@]}"
qdx_build RelWithDebInfo qdx qdx-catalog

here="$QDX_ROOT/portable"
mkdir -p "$here"
cp "$QDX_BUILD/bin/qdx" "$QDX_BUILD/bin/qdx-catalog" "$here/"
# The settings file is the user's once it is there: copy it only the first time, from where an
# earlier run.sh kept it if there is one.
for file in QDX.ini QDX.hlp; do
    [ -e "$here/$file" ] && continue
    if [ -e "$QDX_BUILD/bin/$file" ]; then
        cp "$QDX_BUILD/bin/$file" "$here/$file"
    else
        cp "$QDX_ROOT/$file" "$here/$file"
    fi
done
# The user guide is the program's, not the user's: always the one of this build.
mkdir -p "$here/docs"
cp "$QDX_ROOT"/docs/guide.htm "$QDX_ROOT"/docs/*.png "$here/docs/"
cd "$here"
exec ./qdx
