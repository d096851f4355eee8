#!/usr/bin/env bash
# The long reliability runs of the real game; the test command runs short versions.
#   scripts/reliability.sh [--native] soak [MINUTES]    play for MINUTES (default 30) and print
#                                                       per-minute figures (tests/e2e/scenarios/soak.sh)
#   scripts/reliability.sh [--native] kills [SAVE_KILLS [GAME_KILLS]]
#                                                       kill a saving program SAVE_KILLS times
#                                                       (default 200), then the game closing at
#                                                       the initials prompt GAME_KILLS times
#                                                       (default 5) (tests/e2e/scenarios/kill_during_save.sh)
# The Windows build under Wine by default; --native runs the native (SDL2) build and its POSIX save.
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${QUADRONE_BUILD_DIR:-$ROOT/build}
BACKEND=windows
if [ "${1:-}" = --native ]; then
    BACKEND=native
    shift
fi
case "${1:-}" in
    soak) export QUADRONE_SOAK_MINUTES=${2:-30} && script=soak ;;
    kills) export QUADRONE_SAVE_KILLS=${2:-200} QUADRONE_GAME_KILLS=${3:-5} && script=kill_during_save ;;
    *) sed -n '3,10s/^# \{0,1\}//p' "$0" >&2 && exit 2 ;;
esac
bash "$ROOT/scripts/setup.sh" windows || exit 1
. "$ROOT/scripts/build.sh"
build_native && build_windows || exit 1
# Wine's set-up brings the virtual display both builds are driven on.
. "$ROOT/scripts/wine-env.sh"
trap wine_stop EXIT
wine_start || exit 1
export ROOT BUILD_DIR GAME_DIR
bash "$ROOT/tests/e2e/run.sh" "$script" "$BACKEND" </dev/null
