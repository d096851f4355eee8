#!/usr/bin/env bash
# Builds what the game needs and starts Quadrone under Wine in a window. Arguments go to the
# game ("/full" starts it full screen). On a machine without a display it plays a short scripted
# session on a private virtual display instead and prints where its screenshots are.
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${QUADRONE_BUILD_DIR:-$ROOT/build}

bash "$ROOT/scripts/setup.sh" || exit 1
. "$ROOT/scripts/build.sh"
echo "Building (logs in $BUILD_DIR/logs)..."
build_native && build_windows || exit 1
HAD_DISPLAY=${DISPLAY:-}
. "$ROOT/scripts/wine-env.sh"
trap wine_stop EXIT
wine_start || exit 1

if [ -n "$HAD_DISPLAY" ]; then
    cd "$GAME_DIR" && wine quadrone.exe "$@"
else
    echo "No display: playing a short scripted session on a virtual one."
    export ROOT BUILD_DIR GAME_DIR
    bash "$ROOT/scripts/demo_session.sh"
fi
