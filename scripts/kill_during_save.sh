#!/usr/bin/env bash
# Kills during saves: SAVE_KILLS (default 200) kills of a program that saves through the game's
# own save, then GAME_KILLS (default 5) kills of the game closing at the initials prompt
# (tests/e2e/kill_during_save.sh says what it checks). The test command runs 20 and 1.
#   scripts/kill_during_save.sh [SAVE_KILLS [GAME_KILLS]]
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${QUADRONE_BUILD_DIR:-$ROOT/build}
bash "$ROOT/scripts/setup.sh" || exit 1
. "$ROOT/scripts/build.sh"
build_native && build_windows || exit 1
. "$ROOT/scripts/wine-env.sh"
trap wine_stop EXIT
wine_start || exit 1
export ROOT BUILD_DIR GAME_DIR QUADRONE_SAVE_KILLS=${1:-200} QUADRONE_GAME_KILLS=${2:-5}
bash "$ROOT/tests/e2e/kill_during_save.sh" </dev/null
