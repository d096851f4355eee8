#!/usr/bin/env bash
# Installs everything that building and testing Quadrone needs on a Debian 12 machine (as root):
# Debian packages, libogg/libvorbis and GoogleTest cross-built for Windows into a cache folder.
# Idempotent: a second run only checks and takes seconds. Quiet unless something fails.
set -euo pipefail

QUADRONE_CACHE=${QUADRONE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quadrone}
MINGW_PREFIX="$QUADRONE_CACHE/mingw64"
TRIPLE=x86_64-w64-mingw32
PACKAGES=(
    cmake ninja-build g++ clang libclang-rt-14-dev pkg-config dpkg-dev zlib1g-dev
    googletest libgtest-dev libvorbis-dev libogg-dev
    g++-mingw-w64-x86-64 wine wine64 xvfb xdotool x11-utils imagemagick sox python3-numpy
)

fail() {
    echo "setup: $*" >&2
    exit 1
}

install_packages() {
    local missing=()
    for package in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    [ "$(id -u)" -eq 0 ] || fail "needs root to install: ${missing[*]}"
    local log="$QUADRONE_CACHE/apt.log"
    DEBIAN_FRONTEND=noninteractive apt-get update -qq >"$log" 2>&1 ||
        fail "apt-get update failed (see $log)"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >>"$log" 2>&1 ||
        fail "could not install ${missing[*]} (see $log)"
}

# Debian's own source packages, fetched through a private deb-src list so the system's
# apt configuration stays untouched.
fetch_sources() {
    local work=$1
    local codename
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    mkdir -p "$work/lists/partial"
    echo "deb-src http://deb.debian.org/debian $codename main" >"$work/sources.list"
    local opts=(-o "Dir::Etc::SourceList=$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
                -o "Dir::State::Lists=$work/lists")
    apt-get "${opts[@]}" update -qq >"$work/fetch.log" 2>&1 &&
        (cd "$work" && apt-get "${opts[@]}" source -qq libogg libvorbis >>"$work/fetch.log" 2>&1) ||
        fail "could not fetch the libogg and libvorbis sources (see $work/fetch.log)"
}

build_autotools() {
    local source=$1 log=$2
    shift 2
    (cd "$source" && export PKG_CONFIG_LIBDIR="$MINGW_PREFIX/lib/pkgconfig" &&
        ./configure --host=$TRIPLE --prefix="$MINGW_PREFIX" --disable-shared --enable-static "$@" &&
        make -j"$(nproc)" && make install) >"$log" 2>&1 ||
        fail "building $(basename "$source") for Windows failed (see $log)"
}

build_vorbis_for_windows() {
    [ -f "$MINGW_PREFIX/lib/libvorbisfile.a" ] && [ -f "$MINGW_PREFIX/lib/libogg.a" ] && return
    local work="$QUADRONE_CACHE/src"
    rm -rf "$work"
    mkdir -p "$work"
    fetch_sources "$work"
    build_autotools "$(echo "$work"/libogg-*/)" "$work/ogg.log"
    build_autotools "$(echo "$work"/libvorbis-*/)" "$work/vorbis.log" \
        --with-ogg="$MINGW_PREFIX" --disable-docs --disable-examples --disable-oggtest
    rm -rf "$work"
}

build_gtest_for_windows() {
    [ -f "$MINGW_PREFIX/lib/libgtest.a" ] && return
    local build="$QUADRONE_CACHE/gtest-build"
    local here
    here=$(cd "$(dirname "$0")/.." && pwd)
    rm -rf "$build"
    (cmake -S /usr/src/googletest -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$MINGW_PREFIX" \
        -DBUILD_GMOCK=ON &&
        cmake --build "$build" && cmake --install "$build") >"$QUADRONE_CACHE/gtest.log" 2>&1 ||
        fail "building GoogleTest for Windows failed (see $QUADRONE_CACHE/gtest.log)"
    rm -rf "$build"
}

mkdir -p "$QUADRONE_CACHE"
install_packages
build_vorbis_for_windows
build_gtest_for_windows
