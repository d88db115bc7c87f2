# Shared by run.sh and test.sh: installs what is missing and builds in build/.
# shellcheck shell=bash

QDX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
QDX_BUILD="$QDX_ROOT/build"

qdx_install() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages. Run this as root (su -), then try again:"
        echo "  apt-get update && apt-get install -y ${missing[*]}"
        exit 1
    fi
    echo "Installing ${missing[*]} ..."
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# As qdx_install, but a package that cannot be installed only costs the checks that need it.
qdx_install_optional() {
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' && continue
        if [ "$(id -u)" -ne 0 ]; then
            echo "Optional package $pkg is missing; the checks that need it are skipped."
            echo "To have them, run this as root: apt-get install -y $pkg"
            continue
        fi
        echo "Installing $pkg ..."
        apt-get update -qq || true
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$pkg" >/dev/null ||
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
