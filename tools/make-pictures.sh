#!/usr/bin/env bash
# Makes the README's pictures again: the windows rendered offscreen, and the catalog page of the
# sample folder as headless Chromium shows it.
set -euo pipefail
source "$(dirname "$0")/setup.sh"

qdx_install "${QDX_PACKAGES[@]}" fonts-dejavu-core fonts-liberation2 chromium imagemagick
qdx_build

# shot PICTURE WIDTH,HEIGHT PAGE: the page as headless Chromium shows it in a window of that size.
shot() {
    chromium --headless --no-sandbox --disable-gpu --disable-background-networking \
        --disable-component-update --disable-sync --no-first-run --hide-scrollbars \
        --user-data-dir="$(mktemp -d)" --window-size="$2" \
        --screenshot="$docs/$1" "file://$3" 2>/dev/null
    echo "wrote $docs/$1"
}

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
shot catalog-page.png 760,560 "$samples/index.htm"

# The same pictures in folders, one album a folder, with the shipped settings.
albums="$(mktemp -d)"
mkdir -p "$albums/pictures/Coast" "$albums/pictures/Mountains/Glacier walk" "$albums/site"
cp "$samples"/meadow.jpg "$albums/pictures/"
cp "$samples"/{harbour.jpg,lagoon.gif,sunrise.gif} "$albums/pictures/Coast/"
cp "$samples"/{forest.jpg,desert.jpg} "$albums/pictures/Mountains/"
cp "$samples"/{glacier.jpg,dusk.jpg} "$albums/pictures/Mountains/Glacier walk/"
cp "$QDX_ROOT/QDX.ini" "$albums/QDX.ini"
"$QDX_BUILD/bin/qdx-catalog" --ini "$albums/QDX.ini" --out "$albums/site" -q "$albums/pictures"
shot album-page.png 760,400 "$albums/site/Mountains/index.htm"
rm -rf "$albums"
# The sample catalog on a phone, and the page of one of its pictures.
shot phone-page.png 390,844 "$samples/index.htm"
shot picture-page.png 760,400 "$(ls "$samples"/harbour-*.htm)"
