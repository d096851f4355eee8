#!/usr/bin/env bash
# Installs everything that building, playing and testing Quadrone needs on a Debian 12 machine:
# Debian packages (the one step that needs root: through sudo, or it prints the command to run),
# libogg/libvorbis and GoogleTest cross-built for Windows, SDL2, libogg and libvorbis built for the
# browser, and the browser tests' Node modules (package-lock.json), all into the user's cache folder.
# Idempotent: a second run only checks and takes seconds. Quiet unless something fails.
#   setup.sh windows   only what the Windows build and its tests under Wine need (play.sh --windows)
#   setup.sh native    only what the native game needs to build
#   setup.sh session   only what its scripted session without a display needs
#   setup.sh web       what the browser build needs: Emscripten, Chromium, and SDL2, libogg and
#                      libvorbis built with emcc into the cache
set -euo pipefail

QUADRONE_CACHE=${QUADRONE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quadrone}
MINGW_PREFIX="$QUADRONE_CACHE/mingw64"
WASM_PREFIX="$QUADRONE_CACHE/wasm"
TRIPLE=x86_64-w64-mingw32
PACKAGES=(
    cmake ninja-build g++ clang libclang-rt-14-dev pkg-config dpkg-dev zlib1g-dev
    googletest libgtest-dev libvorbis-dev libogg-dev libsdl2-dev
    g++-mingw-w64-x86-64 wine wine64 xvfb xdotool x11-utils imagemagick sox python3-numpy
    pulseaudio pulseaudio-utils libpulse0 zip unzip clang-format shfmt shellcheck
)
NATIVE_PACKAGES=(cmake make g++ pkg-config zlib1g-dev libsdl2-dev libvorbis-dev)
SESSION_PACKAGES=(xvfb xdotool imagemagick)
# The native build makes the data files; dpkg-dev unpacks the fetched sources.
WEB_PACKAGES=("${NATIVE_PACKAGES[@]}" ninja-build dpkg-dev python3 emscripten chromium)
# Extra options of apt-get install: the web mode leaves out the browser's desktop recommendations.
INSTALL_OPTIONS=()

fail() {
    echo "setup: $*" >&2
    exit 1
}

# The packages named, or all of them.
install_packages() {
    local missing=() wanted=("$@")
    [ ${#wanted[@]} -gt 0 ] || wanted=("${PACKAGES[@]}")
    for package in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null ||
            fail "missing Debian packages; as root, run: apt-get install ${missing[*]}"
        echo "setup: installing ${missing[*]} (sudo asks for your password)" >&2
        sudo=(sudo)
    fi
    local log="$QUADRONE_CACHE/apt.log"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq >"$log" 2>&1 ||
        fail "apt-get update failed (see $log)"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ${INSTALL_OPTIONS[@]+"${INSTALL_OPTIONS[@]}"} "${missing[@]}" >>"$log" 2>&1 ||
        fail "could not install ${missing[*]} (see $log)"
}

# One "deb-src" line for each "deb" entry of the system's own sources, in the one-line format
# (*.list) and the deb822 format (*.sources); the folder is /etc/apt unless given.
system_deb_src_lines() {
    local etc=${1:-/etc/apt} file
    for file in "$etc/sources.list" "$etc"/sources.list.d/*.list; do
        [ -f "$file" ] || continue
        sed -e 's/#.*//' "$file" | awk '$1 == "deb" && !/cdrom:/ { $1 = "deb-src"; print }'
    done
    for file in "$etc"/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        deb822_deb_src_lines <"$file"
    done
}

# Stanzas are separated by blank lines; a field's value may go on in indented lines.
deb822_deb_src_lines() {
    sed -e '/^[[:space:]]*#/d' | awk '
        function flush(   n, i, s, u, suites, uris, opts) {
            if (fields["types"] ~ /(^| )deb( |$)/ && fields["enabled"] !~ /^no$/) {
                opts = fields["signed-by"] ~ /^\// ? "[signed-by=" fields["signed-by"] "] " : ""
                n = split(fields["uris"], uris, " ")
                s = split(fields["suites"], suites, " ")
                for (i = 1; i <= n; i++)
                    for (u = 1; u <= s; u++)
                        print "deb-src " opts uris[i] " " suites[u] " " fields["components"]
            }
            delete fields
            last = ""
        }
        /^[ \t]*$/ { flush(); next }
        /^[ \t]/ { if (last != "") { sub(/^[ \t]+/, ""); fields[last] = fields[last] " " $0 }; next }
        {
            last = tolower(substr($0, 1, index($0, ":") - 1))
            value = substr($0, index($0, ":") + 1)
            gsub(/^[ \t]+|[ \t]+$/, "", value)
            fields[last] = value
        }
        END { flush() }'
}

# Debian's own source packages (the ones named, or libogg and libvorbis), fetched through a
# private deb-src list so the system's apt configuration stays untouched.
fetch_sources() {
    local work=$1
    shift
    local packages=("$@")
    [ ${#packages[@]} -gt 0 ] || packages=(libogg libvorbis)
    mkdir -p "$work/lists/partial"
    system_deb_src_lines >"$work/sources.list"
    [ -s "$work/sources.list" ] || fail "no Debian sources are configured in /etc/apt"
    local opts=(-o "Dir::Etc::SourceList=$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
        -o "Dir::State::Lists=$work/lists")
    # A source that offers no deb-src fails the update; the fetch below says whether one sufficed.
    apt-get "${opts[@]}" update -qq >"$work/fetch.log" 2>&1
    (cd "$work" && apt-get "${opts[@]}" source -qq "${packages[@]}" >>"$work/fetch.log" 2>&1) ||
        fail "could not fetch the sources of ${packages[*]} (see $work/fetch.log)"
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

# One CMake project built with emcc, static, into the wasm prefix.
build_with_emcmake() {
    local source=$1 log=$2
    shift 2
    (emcmake cmake -S "$source" -B "$source/wasm-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$WASM_PREFIX" -DCMAKE_FIND_ROOT_PATH="$WASM_PREFIX" \
        -DBUILD_SHARED_LIBS=OFF "$@" &&
        cmake --build "$source/wasm-build" && cmake --install "$source/wasm-build") >"$log" 2>&1 ||
        fail "building $(basename "$source") for the browser failed (see $log)"
}

# SDL2 without threads, as the game runs in the browser without them (no shared memory, so any
# static host serves it); Emscripten's own ports would download, which cannot work here.
build_libraries_for_web() {
    local lib="$WASM_PREFIX/lib"
    [ -f "$lib/libSDL2.a" ] && [ -f "$lib/libvorbisfile.a" ] && [ -f "$lib/libogg.a" ] && return
    local work="$QUADRONE_CACHE/wasm-src"
    # Debian's emcc runs its JavaScript tools with whichever node is first; they need Debian's modules.
    export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
    rm -rf "$work"
    mkdir -p "$work"
    fetch_sources "$work" libogg libvorbis libsdl2
    # CMake cannot read a type's size out of a wasm test program; wasm32's are known.
    build_with_emcmake "$(echo "$work"/libogg-*/)" "$work/ogg.log" -DINSTALL_DOCS=OFF \
        -DHAVE_INT16_SIZE=TRUE -DINT16_SIZE=2 -DHAVE_UINT16_SIZE=TRUE -DUINT16_SIZE=2 \
        -DHAVE_INT32_SIZE=TRUE -DINT32_SIZE=4 -DHAVE_UINT32_SIZE=TRUE -DUINT32_SIZE=4 \
        -DHAVE_INT64_SIZE=TRUE -DINT64_SIZE=8
    build_with_emcmake "$(echo "$work"/libvorbis-*/)" "$work/vorbis.log"
    build_with_emcmake "$(echo "$work"/libsdl2-*/)" "$work/sdl2.log" \
        -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_THREADS=OFF -DSDL_PTHREADS=OFF
    rm -rf "$work"
}

# The browser tests' puppeteer-core, exactly as locked, into the cache; it drives Debian's chromium
# and downloads no browser of its own.
install_node_modules() {
    local here node="$QUADRONE_CACHE/node"
    here=$(cd "$(dirname "$0")/.." && pwd)
    cmp -s "$here/package-lock.json" "$node/installed-lock.json" && return
    rm -rf "$node"
    mkdir -p "$node"
    cp "$here/package.json" "$here/package-lock.json" "$node/"
    (cd "$node" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund) \
        >"$QUADRONE_CACHE/npm.log" 2>&1 || fail "npm ci failed (see $QUADRONE_CACHE/npm.log)"
    cp "$here/package-lock.json" "$node/installed-lock.json"
}

# The packages, and the libraries cross-built for Windows.
set_up_windows() {
    install_packages
    build_vorbis_for_windows
    build_gtest_for_windows
}

# Sourced by a test, it only defines the functions.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    mkdir -p "$QUADRONE_CACHE"
    case "${1:-}" in
        native) install_packages "${NATIVE_PACKAGES[@]}" ;;
        session) install_packages "${SESSION_PACKAGES[@]}" ;;
        windows) set_up_windows ;;
        web)
            INSTALL_OPTIONS=(--no-install-recommends)
            install_packages "${WEB_PACKAGES[@]}"
            build_libraries_for_web
            ;;
        *)
            set_up_windows
            INSTALL_OPTIONS=(--no-install-recommends)
            # Debian's nodejs comes without npm, which is a package of its own.
            command -v npm >/dev/null || WEB_PACKAGES+=(npm)
            install_packages "${WEB_PACKAGES[@]}"
            build_libraries_for_web
            install_node_modules
            ;;
    esac
fi
