# Sourced by the play and test scripts: configure and build each flavour into BUILD_DIR.
# Each function logs to BUILD_DIR/logs and prints the log's tail when it fails.

# Exported: the tests run with a private HOME, the cache stays the one of the user.
export QUADRONE_CACHE=${QUADRONE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quadrone}
# The browser game: the page, its script, wasm and data file.
WEB_DIR=${WEB_DIR:-$ROOT/dist/web}
# The folder the game runs from: data files from the native build, quadrone.exe from the Windows one.
GAME_DIR="$BUILD_DIR/game"
# Everything the asset tool writes, the icon and cursor the executable carries among it.
ASSET_DIR="$BUILD_DIR/assets"
mkdir -p "$BUILD_DIR/logs"

run_logged() {
    local log="$BUILD_DIR/logs/$1.log"
    shift
    if ! "$@" >"$log" 2>&1; then
        echo "build: '$*' failed; the end of $log:" >&2
        tail -n 25 "$log" >&2
        return 1
    fi
}

# Configures again only when the options differ from the last time. A first argument "emcmake"
# configures through Emscripten's wrapper.
configure_once() {
    local wrapper=()
    if [ "$1" = emcmake ]; then
        wrapper=(emcmake)
        shift
    fi
    local dir=$1
    shift
    local options="$dir/quadrone-options.txt"
    [ -f "$dir/CMakeCache.txt" ] && [ "$(cat "$options" 2>/dev/null)" = "$*" ] && return 0
    "${wrapper[@]}" cmake -S "$ROOT" -B "$dir" -G Ninja "$@" && echo "$*" >"$options"
}

# Native build with AddressSanitizer and UndefinedBehaviorSanitizer: unit tests and host tools.
# Arguments name the targets to build (default: all).
build_native() {
    run_logged native-configure configure_once "$BUILD_DIR/native" \
        -DCMAKE_BUILD_TYPE=Debug -DQUADRONE_SANITIZE=ON -DQUADRONE_ASSET_DIR="$ASSET_DIR" \
        -DQUADRONE_GAME_DIR="$GAME_DIR" &&
        run_logged native-build cmake --build "$BUILD_DIR/native" ${1:+--target "$@"}
}

build_fuzz() {
    run_logged fuzz-configure configure_once "$BUILD_DIR/fuzz" \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUADRONE_FUZZ=ON -DQUADRONE_SANITIZE=ON &&
        run_logged fuzz-build cmake --build "$BUILD_DIR/fuzz"
}

build_windows() {
    run_logged windows-configure configure_once "$BUILD_DIR/windows" \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_PREFIX_PATH="$QUADRONE_CACHE/mingw64" -DCMAKE_BUILD_TYPE=Release \
        -DQUADRONE_GAME_DIR="$GAME_DIR" -DQUADRONE_ASSET_DIR="$ASSET_DIR" &&
        run_logged windows-build cmake --build "$BUILD_DIR/windows" ${1:+--target "$@"}
}

# The asset tool alone, in a release build without tests, into ASSET_DIR: all the browser build
# needs of a native one, with nothing but the native packages.
build_assets() {
    local dir="$BUILD_DIR/assets-tool"
    run_logged assets-configure configure_once "$dir" -DCMAKE_BUILD_TYPE=Release -DQUADRONE_TESTS=OFF \
        -DQUADRONE_ASSET_DIR="$ASSET_DIR" -DQUADRONE_GAME_DIR="$dir/game" &&
        run_logged assets-build cmake --build "$dir" --target game_assets
}

# The browser game into WEB_DIR, with the libraries that "setup.sh web" built and the data files in
# ASSET_DIR (build_assets or build_native first).
build_web() {
    # Debian's emcc runs its JavaScript tools with whichever node is first; they need Debian's modules.
    case ":${NODE_PATH:-}:" in
        *:/usr/share/nodejs:*) ;;
        *) export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH} ;;
    esac
    run_logged web-configure configure_once emcmake "$BUILD_DIR/web" \
        -DCMAKE_BUILD_TYPE=Release -DQUADRONE_BACKEND=sdl -DQUADRONE_TESTS=OFF \
        -DCMAKE_FIND_ROOT_PATH="$QUADRONE_CACHE/wasm" \
        -DQUADRONE_GAME_DIR="$WEB_DIR" -DQUADRONE_ASSET_DIR="$ASSET_DIR" &&
        run_logged web-build cmake --build "$BUILD_DIR/web" --target quadrone
}
