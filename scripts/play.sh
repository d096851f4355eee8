#!/usr/bin/env bash
# Builds and starts Quadrone. On Linux: the native game (SDL2), needing only cmake, g++,
# pkg-config and the SDL2, Vorbis and zlib headers; it keeps its table and log in
# ~/.local/share/Quadrone. With --windows: the Windows game under Wine, as the user who runs it,
# with their own sound output. Other arguments go to the game ("/full" or "--full" starts it full
# screen). On a machine without a display either plays a short scripted session on a private
# virtual display instead and prints where its screenshots are.
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${QUADRONE_BUILD_DIR:-$ROOT/build}

if [ -e "$BUILD_DIR" ] && [ ! -w "$BUILD_DIR" ]; then
    echo "play: $BUILD_DIR belongs to $(stat -c %U "$BUILD_DIR"); remove it or set QUADRONE_BUILD_DIR" >&2
    exit 1
fi

play_windows() {
    bash "$ROOT/scripts/setup.sh" windows || exit 1
    . "$ROOT/scripts/build.sh"
    echo "Building (logs in $BUILD_DIR/logs)..."
    build_native game_assets vbftool && build_windows quadrone || exit 1
    local had_display=${DISPLAY:-}
    . "$ROOT/scripts/wine-env.sh"
    trap wine_stop EXIT
    if [ -n "$had_display" ]; then
        wine_start_desktop || exit 1
        cd "$GAME_DIR" && wine quadrone.exe "$@"
    else
        wine_start || exit 1
        echo "No display: playing a short scripted session on a virtual one."
        export ROOT BUILD_DIR GAME_DIR
        bash "$ROOT/scripts/demo_session.sh"
    fi
}

# A release build of its own, without tests, so it needs nothing but the native packages.
build_native_game() {
    local dir="$BUILD_DIR/play"
    mkdir -p "$BUILD_DIR/logs"
    echo "Building (log in $BUILD_DIR/logs/play-build.log)..."
    if ! (cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DQUADRONE_TESTS=OFF \
        -DQUADRONE_GAME_DIR="$dir/game" -DQUADRONE_ASSET_DIR="$dir/assets" &&
        cmake --build "$dir" --target quadrone -j "$(nproc)") >"$BUILD_DIR/logs/play-build.log" 2>&1; then
        tail -n 25 "$BUILD_DIR/logs/play-build.log" >&2
        exit 1
    fi
    GAME="$dir/game/quadrone"
}

# Title, Play, a few moves and the pause, on a private display; a screenshot of each.
native_session() {
    echo "No display: playing a short scripted session on a virtual one."
    export ROOT BUILD_DIR GAME_DIR="$BUILD_DIR/play/game" E2E_BACKEND=native
    bash "$ROOT/scripts/demo_session.sh"
}

if [ "${1:-}" = --windows ]; then
    shift
    play_windows "$@"
    exit
fi
bash "$ROOT/scripts/setup.sh" native || exit 1
build_native_game
if [ -n "${DISPLAY:-}" ]; then
    exec "$GAME" "$@"
fi
bash "$ROOT/scripts/setup.sh" session || exit 1
native_session
