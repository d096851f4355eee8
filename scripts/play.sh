#!/usr/bin/env bash
# Builds what the game needs and starts Quadrone under Wine in a window, as the user who runs it,
# with their own sound output. Arguments go to the game ("/full" starts it full screen). On a
# machine without a display it plays a short scripted session on a private virtual display
# instead and prints where its screenshots are.
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${QUADRONE_BUILD_DIR:-$ROOT/build}

if [ -e "$BUILD_DIR" ] && [ ! -w "$BUILD_DIR" ]; then
    echo "play: $BUILD_DIR belongs to $(stat -c %U "$BUILD_DIR"); remove it or set QUADRONE_BUILD_DIR" >&2
    exit 1
fi
bash "$ROOT/scripts/setup.sh" || exit 1
. "$ROOT/scripts/build.sh"
echo "Building (logs in $BUILD_DIR/logs)..."
build_native game_assets vbftool && build_windows quadrone || exit 1
HAD_DISPLAY=${DISPLAY:-}
. "$ROOT/scripts/wine-env.sh"
trap wine_stop EXIT

if [ -n "$HAD_DISPLAY" ]; then
    wine_start_desktop || exit 1
    cd "$GAME_DIR" && wine quadrone.exe "$@"
else
    wine_start || exit 1
    echo "No display: playing a short scripted session on a virtual one."
    export ROOT BUILD_DIR GAME_DIR
    bash "$ROOT/scripts/demo_session.sh"
fi
