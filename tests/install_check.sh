#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build into a temporary DESTDIR, checks the installed tree with the validators that
# are present, and runs the installed qdx-catalog as a new user would: with a home of its own, it
# must copy the default settings there, write the page, and write nothing anywhere else.
set -euo pipefail
build="$1"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
for file in bin/qdx bin/qdx-catalog share/qdx/QDX.ini share/qdx/QDX.hlp share/qdx/docs/guide.htm \
    share/qdx/docs/main-window.png \
    share/applications/org.qdx.QDX.desktop share/icons/hicolor/scalable/apps/org.qdx.QDX.svg \
    share/metainfo/org.qdx.QDX.metainfo.xml share/man/man1/qdx.1 share/man/man1/qdx-catalog.1; do
    [ -e "$stage/usr/$file" ] || { echo "not installed: /usr/$file"; exit 1; }
done
# The command line program has no windows to show a message in.
if ldd "$stage/usr/bin/qdx-catalog" | grep -q Qt6Widgets; then
    echo "qdx-catalog links Qt Widgets"
    exit 1
fi
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$stage/usr/share/applications/org.qdx.QDX.desktop"
else
    echo "desktop-file-validate not installed: the desktop entry is not validated"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$stage/usr/share/metainfo/org.qdx.QDX.metainfo.xml"
else
    echo "appstreamcli not installed: the AppStream metadata is not validated"
fi

home="$stage/home"
mkdir -p "$home" "$stage/pictures" "$stage/out"
printf 'GIF89a\001\000\001\000\200\000\000\000\000\000\377\377\377!\371\004\001\000\000\000\000,\000\000\000\000\001\000\001\000\000\002\001D\000;' \
    >"$stage/pictures/a.gif"
touch "$stage/before"
sleep 1
env -i HOME="$home" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen \
    "$stage/usr/bin/qdx-catalog" --out "$stage/out" "$stage/pictures"
cmp "$stage/usr/share/qdx/QDX.ini" "$home/.config/qdx/QDX.ini"
# The shipped settings give the picture a page of its own, which shows it from where it is.
grep -q 'href="a-[0-9a-f]*.htm"' "$stage/out/index.htm"
grep -q 'src="../pictures/a.gif"' "$stage/out/"a-*.htm
elsewhere="$(find "$stage" -newer "$stage/before" ! -type d ! -path "$home/*" ! -path "$stage/out/*")"
if [ -n "$elsewhere" ]; then
    echo "written outside the home and the output folder:"
    echo "$elsewhere"
    exit 1
fi
echo "installed tree, validators and the installed qdx-catalog: all as expected"
