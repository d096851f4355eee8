#!/usr/bin/env bash
# Runs every test of Quadrone and prints one summary; exits non-zero on any failure.
#   0. the sources' layers and layout (scripts/check_sources.sh), and the sound analysis of the
#      end-to-end tests on hand-made captures
#   1. native unit tests of the portable code (AddressSanitizer, UndefinedBehaviorSanitizer)
#   2. the fuzzers for a fixed time (scripts/fuzz.sh runs them longer)
#   3. Windows tests under Wine
#   4. end-to-end tests of the real game: every scenario on the Windows build under Wine, those
#      that apply to it on the native build, with the short kill-during-save and soak runs
#      (scripts/reliability.sh runs them longer)
#   5. the browser game in headless Chromium (tests/web), against the native build's screens
# Installs what it needs first (scripts/setup.sh). QUADRONE_FUZZ_SECONDS sets the archive fuzzing time.
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${QUADRONE_BUILD_DIR:-$ROOT/build}
FUZZ_SECONDS=${QUADRONE_FUZZ_SECONDS:-30}
PARSER_FUZZ_SECONDS=5
TOTAL_PASSED=0
TOTAL_FAILED=0

bash "$ROOT/scripts/setup.sh" || exit 1
. "$ROOT/scripts/build.sh"
. "$ROOT/scripts/wine-env.sh"
trap wine_stop EXIT

report() {
    local layer=$1 passed=$2 failed=$3
    TOTAL_PASSED=$((TOTAL_PASSED + passed))
    TOTAL_FAILED=$((TOTAL_FAILED + failed))
    printf '%-40s %4d passed, %d failed\n' "$layer" "$passed" "$failed"
}

# The sources' own checks: the layers and the layout.
check_sources() {
    local check log
    for check in layers format; do
        log="$BUILD_DIR/logs/source-$check.log"
        if bash "$ROOT/scripts/check_sources.sh" "$check" >"$log" 2>&1; then
            report "source check: $check" 1 0
        else
            echo "source check: $check failed:" >&2
            head -n 40 "$log" >&2
            report "source check: $check" 0 1
        fi
    done
}

# The end-to-end tests' sound analysis on hand-made captures.
check_sound_analysis() {
    local log="$BUILD_DIR/logs/sound-analysis.log"
    if /usr/bin/python3 -B "$ROOT/tests/e2e/test_sound_analysis.py" >"$log" 2>&1; then
        report "sound analysis" 1 0
    else
        grep -v '^ok' "$log" >&2
        report "sound analysis" 0 1
    fi
}

# gtest prints "[  PASSED  ] N tests." and "N FAILED TEST(S)".
report_gtest() {
    local layer=$1 log=$2 status=$3
    local passed failed
    passed=$(grep -oE '^\[  PASSED  \] [0-9]+' "$log" | grep -oE '[0-9]+$' || echo 0)
    failed=$(grep -oE '^ ?[0-9]+ FAILED TESTS?' "$log" | grep -oE '[0-9]+' || echo 0)
    if [ "$status" -ne 0 ] && [ "${failed:-0}" -eq 0 ]; then
        echo "$layer: the test program ended with status $status (see $log)" >&2
        failed=1
    fi
    grep -E '^\[  FAILED  \] .*\(' "$log" >&2
    report "$layer" "${passed:-0}" "${failed:-0}"
}

run_native_tests() {
    if ! build_native; then
        report "native unit tests" 0 1
        return
    fi
    local log="$BUILD_DIR/logs/native-tests.log"
    (cd "$BUILD_DIR/native" && ctest -j2 --timeout 300 --output-on-failure) >"$log" 2>&1
    local total failed
    total=$(grep -oE 'tests failed out of [0-9]+' "$log" | grep -oE '[0-9]+$' || echo 0)
    failed=$(grep -oE '[0-9]+ tests failed out of' "$log" | grep -oE '^[0-9]+' || echo 1)
    [ "$failed" -gt 0 ] && grep -E '^\s+[0-9]+ - ' "$log" >&2
    report "native unit tests" "$((total - failed))" "$failed"
}

# The archive fuzzer for the set time, the in-memory parser fuzzers a few seconds each.
run_fuzzers() {
    if ! build_fuzz; then
        report "fuzzers" 0 1
        return
    fi
    local target seconds
    for target in archive bitmap wave high_scores; do
        seconds=$PARSER_FUZZ_SECONDS
        [ "$target" = archive ] && seconds=$FUZZ_SECONDS
        if bash "$ROOT/scripts/fuzz.sh" "$target" "$seconds" >/dev/null; then
            report "fuzzer: $target" 1 0
        else
            report "fuzzer: $target" 0 1
        fi
    done
}

# Every Windows test program: quadrone_wine_tests.exe and one per platform subsystem.
run_windows_tests() {
    # Windows tests find the generated data files here (a Wine path).
    export QUADRONE_GAME_DIR="Z:$GAME_DIR"
    if ! build_windows; then
        report "Windows tests (Wine)" 0 1
        return
    fi
    local exe name log status
    while read -r exe; do
        name=$(basename "$exe" .exe)
        log="$BUILD_DIR/logs/$name.log"
        # Wine's services keep the output open: write to a file, never to a pipe.
        (cd "$(dirname "$exe")" && timeout 300 wine "./$name.exe") >"$log" 2>&1 </dev/null
        status=$?
        report_gtest "Wine: ${name#quadrone_}" "$log" "$status"
    done < <(find "$BUILD_DIR/windows/tests" -name 'quadrone_wine*_tests.exe' | sort)
}

# The scenarios that also run on the native build; the others are about Wine, the Windows
# download and its sound device, or compare the two builds (screens_agree).
NATIVE_SCENARIOS=(title play display_switch damaged_data sound kill_during_save desktop_sound soak)

# end_to_end NAME BACKEND: one scenario through the one runner; its exit status.
end_to_end() {
    timeout 600 bash "$ROOT/tests/e2e/run.sh" "$1" "$2" >"$BUILD_DIR/logs/e2e-$1-$2.log" 2>&1 </dev/null
}

# report_end_to_end NAME BACKEND STATUS
report_end_to_end() {
    local log="$BUILD_DIR/logs/e2e-$1-$2.log"
    if [ "$3" -eq 0 ]; then
        report "end to end: $1 ($2)" 1 0
    else
        echo "end to end: $1 ($2) failed; the end of $log:" >&2
        tail -n 20 "$log" >&2
        report "end to end: $1 ($2)" 0 1
    fi
}

# The native build's scenarios, on a virtual display of their own, each with its exit status.
native_end_to_end() {
    unset DISPLAY
    XVFB_PID=""
    wine_start_display || return 1
    local name
    for name in "${NATIVE_SCENARIOS[@]}"; do
        end_to_end "$name" native
        echo "$name $?"
    done
    kill "$XVFB_PID"
}

# The two builds share nothing on the screen, so the native scenarios run beside the Windows ones:
# the command stays within 20 minutes.
run_end_to_end_tests() {
    export ROOT BUILD_DIR GAME_DIR
    local results="$BUILD_DIR/logs/e2e-native-results.txt" scenario name status
    native_end_to_end >"$results" 2>&1 &
    local native=$!
    for scenario in "$ROOT"/tests/e2e/scenarios/*.sh; do
        name=$(basename "$scenario" .sh)
        end_to_end "$name" windows
        report_end_to_end "$name" windows $?
    done
    wait "$native"
    for name in "${NATIVE_SCENARIOS[@]}"; do
        status=$(sed -n "s/^$name \([0-9]*\)$/\1/p" "$results")
        report_end_to_end "$name" native "${status:-1}"
    done
}

# The browser build, the native game whose screens it must match, and tests/web's checks, a
# report line each.
run_browser_tests() {
    local work="$BUILD_DIR/web-tests" log="$BUILD_DIR/logs/browser-tests.log"
    if ! build_assets || ! build_web || ! run_logged native-game cmake --build "$BUILD_DIR/assets-tool" --target quadrone vbftool; then
        report "browser" 0 1
        return
    fi
    rm -rf "$work" && mkdir -p "$work"
    if ! bash "$ROOT/tests/web/native_screens.sh" "$BUILD_DIR/assets-tool/game/quadrone" "$work/native" ||
        ! "$BUILD_DIR/assets-tool/tools/vbftool" extract "$ASSET_DIR/graphics.vbf" "$work/pictures" >/dev/null; then
        report "browser: references" 0 1
        return
    fi
    NODE_PATH="$QUADRONE_CACHE/node/node_modules" timeout 600 node "$ROOT/tests/web/run.js" "$WEB_DIR" "$ASSET_DIR" \
        "$work/native" "$work/pictures" "$work" >"$log" 2>&1 </dev/null
    local name
    while read -r name; do
        report "browser: $name" 1 0
    done < <(sed -n 's/^ok   \([a-z]*\):.*/\1/p' "$log")
    while read -r name; do
        report "browser: $name" 0 1
    done < <(sed -n 's/^FAIL \([a-z]*\):.*/\1/p' "$log")
    grep -q '^[0-9]* passed, [0-9]* failed$' "$log" || report "browser: the checks did not finish (see $log)" 0 1
    grep -A 12 '^FAIL' "$log" >&2
}

check_sources
check_sound_analysis
run_native_tests
run_fuzzers
if wine_start; then
    run_windows_tests
    run_end_to_end_tests
else
    report "Wine" 0 1
fi
run_browser_tests

echo "Total: $TOTAL_PASSED passed, $TOTAL_FAILED failed"
[ "$TOTAL_FAILED" -eq 0 ]
