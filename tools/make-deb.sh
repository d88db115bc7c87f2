#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package qdx_1.0-1_<arch>.deb into build-deb/ and checks it with lintian.
set -euo pipefail
source "$(dirname "$0")/setup.sh"

qdx_install debhelper dpkg-dev fakeroot cmake g++ qt6-base-dev lintian
out="$QDX_ROOT/build-deb"
rm -rf "$out"
mkdir -p "$out/qdx-1.0"
# A clean copy of the sources, so the package is built from nothing a local build left behind.
tar -C "$QDX_ROOT" --exclude=./.git --exclude=./build --exclude='./build-*' \
    --exclude=./portable -cf - . | tar -C "$out/qdx-1.0" -xf -
(cd "$out/qdx-1.0" && dpkg-buildpackage -us -uc -b)
lintian --fail-on error "$out"/qdx_1.0-1_*.changes
ls "$out"/qdx_1.0-1_*.deb
