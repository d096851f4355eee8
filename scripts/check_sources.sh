#!/usr/bin/env bash
# Checks of the sources themselves; each prints the offending places and exits non-zero on any.
#   scripts/check_sources.sh layers   includes point one way: the core sees only itself and the
#                                     ports; a back end sees the core, the ports and itself
#   scripts/check_sources.sh format   C++ as .clang-format lays it out, shell as shfmt does, and
#                                     no finding of shellcheck
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT" || exit 1

# The back end a file belongs to: its source folder, its tests and its tools; none for the rest.
back_end_of() {
    case "$1" in
        src/win32/* | tests/win32/* | tests/support/*_win32.* | tests/reliability/* | tools/bench/*) echo win32 ;;
        src/sdl/* | tests/sdl/*) echo sdl ;;
        *) echo none ;;
    esac
}

# Project includes ("folder/file.h") that the file's place does not allow.
forbidden_includes() {
    local file=$1 own allowed="core|ports"
    own=$(back_end_of "$file")
    [ "$own" = none ] || allowed+="|$own"
    grep -nE '#[[:space:]]*include[[:space:]]*"[a-z0-9_]+/' "$file" |
        grep -vE "#[[:space:]]*include[[:space:]]*\"($allowed)/" | sed "s|^|$file:|"
}

# Platform headers and macros outside the back end that owns them.
platform_reaches() {
    local file=$1
    [ "$(back_end_of "$file")" = win32 ] && return
    grep -nE '#[[:space:]]*include[[:space:]]*<(windows|ddraw|dinput|dsound|mmsystem|objbase)\.h>|_WIN32|__MINGW' \
        "$file" | sed "s|^|$file:|"
}

sources() { git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'tools/*.cpp' 'tools/*.h'; }

check_layers() {
    local file offenders=""
    for file in $(sources); do
        offenders+=$(
            forbidden_includes "$file"
            platform_reaches "$file"
        )$'\n'
    done
    offenders=$(echo "$offenders" | sed '/^$/d')
    [ -z "$offenders" ] && return 0
    echo "includes that cross a layer (core and ports see only themselves; a back end sees them and itself):"
    echo "$offenders"
    return 1
}

check_format() {
    local status=0 cpp shell=()
    cpp=$(sources | xargs clang-format --dry-run 2>&1 | grep -E '^[^ ].*: warning' | cut -d: -f1,2 | sort -u)
    if [ -n "$cpp" ]; then
        echo "C++ laid out otherwise than .clang-format says (clang-format -i FILE mends it):"
        echo "$cpp"
        status=1
    fi
    mapfile -t shell < <(git ls-files '*.sh' .ci/run)
    if ! shfmt -d -i 4 -ci "${shell[@]}" >/dev/null; then
        echo "shell laid out otherwise than shfmt -i 4 -ci says (shfmt -w -i 4 -ci FILE mends it):"
        shfmt -l -i 4 -ci "${shell[@]}"
        status=1
    fi
    if ! shellcheck -x "${shell[@]}"; then
        status=1
    fi
    return $status
}

case "${1:-}" in
    layers) check_layers ;;
    format) check_format ;;
    *)
        echo "usage: $0 layers|format" >&2
        exit 2
        ;;
esac
