#!/usr/bin/env bash
# Makes the README's pictures again: the windows rendered offscreen, and the catalog page of the
# sample folder as headless Chromium shows it.
set -euo pipefail
source "$(dirname "$0")/setup.sh"

qdx_install "${QDX_PACKAGES[@]}" fonts-dejavu-core fonts-liberation2 chromium imagemagick
qdx_build

samples="$QDX_ROOT/samples"
docs="$QDX_ROOT/docs"
pictures="$QDX_BUILD/tools/qdx_pictures"
if ! ls "$samples"/*.jpg >/dev/null 2>&1; then
    "$pictures" --draw "$samples"
    # Two of them as GIF, so the catalog shows both kinds.
    for name in sunrise lagoon; do
        /usr/bin/convert "$samples/$name.jpg" "$samples/$name.gif"
        rm "$samples/$name.jpg"
    done
fi
"$pictures" "$samples" "$docs" "$QDX_ROOT/QDX.hlp"
chromium --headless --no-sandbox --disable-gpu --disable-background-networking \
    --disable-component-update --disable-sync --no-first-run --hide-scrollbars \
    --user-data-dir="$(mktemp -d)" --window-size=760,560 \
    --screenshot="$docs/catalog-page.png" "file://$samples/index.htm" 2>/dev/null
echo "wrote $docs/catalog-page.png"

# The same pictures in folders, one album a folder, with the shipped settings.
albums="$(mktemp -d)"
mkdir -p "$albums/pictures/Coast" "$albums/pictures/Mountains/Glacier walk" "$albums/site"
cp "$samples"/meadow.jpg "$albums/pictures/"
cp "$samples"/{harbour.jpg,lagoon.gif,sunrise.gif} "$albums/pictures/Coast/"
cp "$samples"/{forest.jpg,desert.jpg} "$albums/pictures/Mountains/"
cp "$samples"/{glacier.jpg,dusk.jpg} "$albums/pictures/Mountains/Glacier walk/"
cp "$QDX_ROOT/QDX.ini" "$albums/QDX.ini"
"$QDX_BUILD/bin/qdx-catalog" --ini "$albums/QDX.ini" --out "$albums/site" -q "$albums/pictures"
chromium --headless --no-sandbox --disable-gpu --disable-background-networking \
    --disable-component-update --disable-sync --no-first-run --hide-scrollbars \
    --user-data-dir="$(mktemp -d)" --window-size=760,400 \
    --screenshot="$docs/album-page.png" "file://$albums/site/Mountains/index.htm" 2>/dev/null
rm -rf "$albums"
echo "wrote $docs/album-page.png"
