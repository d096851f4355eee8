#!/usr/bin/env bash
# Runs the libFuzzer targets and reports executions and their rate. Maintainers' benchmark, not
# part of the test command (which runs each for a few seconds through it).
#   scripts/fuzz.sh                      bitmap, wave and high_scores to 10 million executions each
#   scripts/fuzz.sh TARGET SECONDS       one target for a time on one core, e.g. archive 3600
#   scripts/fuzz.sh TARGET -runs=N       one target to N executions
# Targets: archive, bitmap, wave, high_scores. Exits non-zero on a finding (crash, leak, time-out);
# the input that caused it is kept in a folder BUILD_DIR/fuzz/run-TARGET.*.
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${QUADRONE_BUILD_DIR:-$ROOT/build}
. "$ROOT/scripts/build.sh"

# Small valid inputs get each fuzzer past the first checks at once.
write_seeds() {
    local target=$1 corpus=$2 work
    printf 'BM:\0\0\0\0\0\0\0006\0\0\0(\0\0\0\1\0\0\0\1\0\0\0\1\0\030\0\0\0\0\0\4\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\377\0\0\0' \
        >"$corpus/../block1.bmp"
    printf 'RIFF(\0\0\0WAVEfmt \020\0\0\0\1\0\1\0D\254\0\0\210X\1\0\2\0\020\0data\4\0\0\0\0\0\377\177' \
        >"$corpus/../rotate.wav"
    case $target in
        archive)
            "$BUILD_DIR/native/tools/vbftool" pack "$corpus/seed.vbf" "$corpus/../block1.bmp" \
                "$corpus/../rotate.wav" >/dev/null
            ;;
        bitmap) cp "$corpus/../block1.bmp" "$corpus/seed.bmp" ;;
        wave) cp "$corpus/../rotate.wav" "$corpus/seed.wav" ;;
        high_scores)
            for work in 1 2 3 4 5; do
                printf 'ABC' && head -c 17 /dev/zero && printf '%b' "\\00$work\\0\\0\\0"
            done >"$corpus/seed.dat"
            ;;
    esac
}

# fuzz_one TARGET LIMIT: LIMIT is seconds, or -runs=N. Prints "TARGET: N executions in S s, R/s".
# Each run works in a folder of its own, so runs may overlap; the folder stays after a finding.
fuzz_one() {
    local target=$1 limit=$2 seconds_limit
    local exe="$BUILD_DIR/fuzz/tests/fuzz/fuzz_$target" corpus="$BUILD_DIR/fuzz/corpus-$target"
    [ -x "$exe" ] || {
        echo "fuzz: no target $target" >&2
        return 2
    }
    mkdir -p "$corpus"
    [ -n "$(ls -A "$corpus")" ] || write_seeds "$target" "$corpus"
    local work
    work=$(mktemp -d "$BUILD_DIR/fuzz/run-$target.XXXXXX")
    case $limit in
        -runs=*)
            seconds_limit=86400
            set -- "$limit"
            ;;
        *)
            seconds_limit=$limit
            set -- -max_total_time="$limit"
            ;;
    esac
    local started=$SECONDS status runs elapsed
    (cd "$work" && timeout $((seconds_limit + 120)) "$exe" "$@" -max_len=4096 -print_final_stats=1 \
        -artifact_prefix="$work/" "$corpus") >"$work/fuzz.log" 2>&1
    status=$?
    elapsed=$((SECONDS - started))
    runs=$(grep -oE '^stat::number_of_executed_units: *[0-9]+' "$work/fuzz.log" | grep -oE '[0-9]+$' || echo 0)
    echo "$target: ${runs:-0} executions in $elapsed s, $((${runs:-0} / (elapsed > 0 ? elapsed : 1)))/s"
    if [ "$status" -ne 0 ]; then
        echo "fuzz: $target found a crash, leak or time-out; see $work" >&2
        return 1
    fi
    mv "$work/fuzz.log" "$BUILD_DIR/logs/fuzz-$target.log"
    rm -rf "$work"
}

build_fuzz || exit 1
if [ $# -ge 1 ]; then
    fuzz_one "$1" "${2:-60}"
    exit
fi
failed=0
for target in bitmap wave high_scores; do
    fuzz_one "$target" -runs=10000000 || failed=1
done
exit "$failed"
