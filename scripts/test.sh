#!/usr/bin/env bash
# Runs every test of Quadrone and prints one summary; exits non-zero on any failure.
#   1. native unit tests of the portable code (AddressSanitizer, UndefinedBehaviorSanitizer)
#   2. the archive fuzzer for a fixed time
#   3. Windows tests under Wine
#   4. end-to-end tests of the real game under Wine, where they exist
# Installs what it needs first (scripts/setup.sh). QUADRONE_FUZZ_SECONDS sets the fuzzing time.
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${QUADRONE_BUILD_DIR:-$ROOT/build}
FUZZ_SECONDS=${QUADRONE_FUZZ_SECONDS:-30}
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
    printf '%-22s %4d passed, %d failed\n' "$layer" "$passed" "$failed"
}

# Code that must build without the platform never reaches for it.
check_portable_sources() {
    local offenders
    offenders=$(grep -rlE '#[[:space:]]*include[[:space:]]*<windows\.h>|_WIN32|__MINGW' \
        "$ROOT/src" "$ROOT/tools" --include='*.cpp' --include='*.h' | grep -v '_win32\.' || true)
    if [ -n "$offenders" ]; then
        echo "platform code outside *_win32 files:" >&2
        echo "$offenders" >&2
        report "portability check" 0 1
    else
        report "portability check" 1 0
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

# A tiny archive with one bitmap and one WAV gets the fuzzer past the signature at once.
make_fuzz_seed() {
    local corpus=$1 work
    work=$(mktemp -d)
    printf 'BM:\0\0\0\0\0\0\0006\0\0\0(\0\0\0\1\0\0\0\1\0\0\0\1\0\030\0\0\0\0\0\4\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\377\0\0\0' \
        >"$work/block1.bmp"
    printf 'RIFF(\0\0\0WAVEfmt \020\0\0\0\1\0\1\0D\254\0\0\210X\1\0\2\0\020\0data\4\0\0\0\0\0\377\177' \
        >"$work/rotate.wav"
    "$BUILD_DIR/native/tools/vbftool" pack "$corpus/seed.vbf" "$work/block1.bmp" "$work/rotate.wav" \
        >/dev/null
    rm -rf "$work"
}

run_fuzzer() {
    if ! build_fuzz; then
        report "archive fuzzer" 0 1
        return
    fi
    local corpus="$BUILD_DIR/fuzz/corpus" work="$BUILD_DIR/fuzz/run"
    local log="$BUILD_DIR/logs/fuzz.log"
    mkdir -p "$corpus"
    rm -rf "$work" && mkdir -p "$work"
    [ -f "$corpus/seed.vbf" ] || make_fuzz_seed "$corpus"
    if (cd "$work" && timeout $((FUZZ_SECONDS + 60)) "$BUILD_DIR/fuzz/tests/fuzz/fuzz_archive" \
        -max_total_time="$FUZZ_SECONDS" -max_len=4096 -artifact_prefix="$work/" "$corpus") >"$log" 2>&1; then
        report "archive fuzzer" 1 0
    else
        echo "archive fuzzer: a crash, leak or time-out; see $log and $work" >&2
        report "archive fuzzer" 0 1
    fi
    rm -f "$work/.\\debug.log"
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

run_end_to_end_tests() {
    export ROOT BUILD_DIR GAME_DIR
    local script
    for script in "$ROOT"/tests/e2e/*.sh; do
        [ "$(basename "$script")" = lib.sh ] && continue
        local name log
        name=$(basename "$script" .sh)
        log="$BUILD_DIR/logs/e2e-$name.log"
        if timeout 600 bash "$script" >"$log" 2>&1 </dev/null; then
            report "end to end: $name" 1 0
        else
            echo "end to end: $name failed; the end of $log:" >&2
            tail -n 20 "$log" >&2
            report "end to end: $name" 0 1
        fi
    done
}

check_portable_sources
run_native_tests
run_fuzzer
if wine_start; then
    run_windows_tests
    run_end_to_end_tests
else
    report "Wine" 0 1
fi

echo "Total: $TOTAL_PASSED passed, $TOTAL_FAILED failed"
[ "$TOTAL_FAILED" -eq 0 ]
