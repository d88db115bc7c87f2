#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian source package and the package qdx_1.00_<arch>.deb into build-deb/ and checks
# them with lintian.
set -euo pipefail
source "$(dirname "$0")/setup.sh"

qdx_install debhelper dpkg-dev fakeroot "${QDX_PACKAGES[@]}" lintian
out="$QDX_ROOT/build-deb"
rm -rf "$out"
mkdir -p "$out/qdx-1.00"
# A clean copy of the sources, so the package is built from nothing a local build left behind.
tar -C "$QDX_ROOT" --exclude=./.git --exclude=./build --exclude='./build-*' \
    --exclude=./portable -cf - . | tar -C "$out/qdx-1.00" -xf -
# The package's build runs no tests (./test.sh does), so the test-only build dependencies are left
# out with the nocheck profile: a fresh machine needs nothing but what is installed above.
(cd "$out/qdx-1.00" && export DEB_BUILD_OPTIONS=nocheck DEB_BUILD_PROFILES=nocheck &&
    dpkg-buildpackage -us -uc -S && dpkg-buildpackage -us -uc -b)
lintian --fail-on error "$out"/qdx_1.00_*.changes
ls "$out"/qdx_1.00.dsc "$out"/qdx_1.00_*.deb
