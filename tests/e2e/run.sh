#!/usr/bin/env bash
# Runs one end-to-end scenario, tests/e2e/scenarios/NAME.sh, with the verbs of lib.sh: a scenario
# is a short list of steps and checks on the real game. It starts with a fresh game folder; a game
# it leaves running is closed as a player does, and must end with exit code 0.
#   tests/e2e/run.sh NAME [BACKEND]   (BACKEND: windows, the default, or native; in the environment
#                                      scripts/test.sh makes: ROOT, BUILD_DIR, GAME_DIR, DISPLAY
#                                      and the Wine variables)
E2E_NAME=${1:?which scenario?}
E2E_BACKEND=${2:-windows}
RUN_AS="$E2E_NAME ($E2E_BACKEND)"
. "$(dirname "$0")/lib.sh"
[ -f "$E2E_DIR/scenarios/$E2E_NAME.sh" ] || fail "no scenario $E2E_NAME"
prepare_game
# shellcheck source=/dev/null
. "$E2E_DIR/scenarios/$E2E_NAME.sh"
[ -z "$GAME_PID" ] || close_game
echo "$RUN_AS: passed"
