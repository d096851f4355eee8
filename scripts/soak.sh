#!/usr/bin/env bash
# Soak: plays the real game under Wine for MINUTES (default 30) and prints its per-minute
# figures (tests/e2e/soak.sh says what it does and checks). The test command runs 2 minutes.
#   scripts/soak.sh [MINUTES]
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${QUADRONE_BUILD_DIR:-$ROOT/build}
bash "$ROOT/scripts/setup.sh" || exit 1
. "$ROOT/scripts/build.sh"
build_native && build_windows || exit 1
. "$ROOT/scripts/wine-env.sh"
trap wine_stop EXIT
wine_start || exit 1
export ROOT BUILD_DIR GAME_DIR QUADRONE_SOAK_MINUTES=${1:-30}
bash "$ROOT/tests/e2e/soak.sh" </dev/null
