# Shared by run.sh and test.sh: installs what is missing and builds in build/.
# shellcheck shell=bash

QDX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
QDX_BUILD="$QDX_ROOT/build"

# What every build needs; the image format plugins read WebP and TIFF.
QDX_PACKAGES=(cmake g++ pkg-config qt6-base-dev libexiv2-dev libheif-dev qt6-image-formats-plugins)

# qdx_install PACKAGE... [--optional PACKAGE...]: installs what is missing, asking for root once
# (through sudo where it is present). An optional package that cannot be installed only costs
# the checks that need it.
qdx_install() {
    local required=() optional=() pkg list=required
    for pkg in "$@"; do
        if [ "$pkg" = --optional ]; then
            list=optional
            continue
        fi
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' && continue
        if [ "$list" = required ]; then required+=("$pkg"); else optional+=("$pkg"); fi
    done
    local missing=("${required[@]}" "${optional[@]}")
    [ ${#missing[@]} -eq 0 ] && return 0
    local root=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null; then
            root=(sudo)
        else
            echo "Missing packages. Run this as root (su -), then try again:"
            echo "  apt-get update && apt-get install -y ${missing[*]}"
            [ ${#required[@]} -gt 0 ] && exit 1
            echo "Only optional packages are missing: the checks that need them are skipped."
            return 0
        fi
    fi
    echo "Installing ${missing[*]} ..."
    echo "  reading the package lists"
    "${root[@]}" apt-get update -qq || true
    # Each package (and each it needs) is named as it is set up: a first install takes minutes.
    local said='s/^Setting up \([^ ]*\) .*/  set up \1/p'
    if [ ${#required[@]} -gt 0 ]; then
        "${root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${required[@]}" |
            sed -un "$said"
    fi
    for pkg in "${optional[@]}"; do
        "${root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "$pkg" |
            sed -un "$said" ||
            echo "Could not install $pkg; the checks that need it are skipped."
    done
}

# qdx_build [build type [targets...]]: configures once, then builds the targets (default all).
qdx_build() {
    local type="${1:-RelWithDebInfo}"
    shift || true
    if [ ! -f "$QDX_BUILD/CMakeCache.txt" ]; then
        cmake -S "$QDX_ROOT" -B "$QDX_BUILD" -DCMAKE_BUILD_TYPE="$type" >/dev/null
    fi
    local targets=()
    [ $# -gt 0 ] && targets=(--target "$@")
    cmake --build "$QDX_BUILD" -j"$(nproc)" "${targets[@]}"
}
