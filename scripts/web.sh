#!/usr/bin/env bash
# Builds the browser game into dist/web (index.html, quadrone.js, quadrone.wasm and quadrone.data,
# which holds the data files) and serves that folder on this machine, printing the address to
# open; Ctrl+C stops the server. The first run builds SDL2, libogg and libvorbis for the browser
# into the cache, which takes some minutes; later runs reuse them.
#   web.sh                build and serve (QUADRONE_WEB_PORT sets the port, 8000 by default)
#   web.sh --build-only   build and print the folder
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${QUADRONE_BUILD_DIR:-$ROOT/build}
PORT=${QUADRONE_WEB_PORT:-8000}

build_only=false
case "${1:-}" in
    --build-only) build_only=true ;;
    "") ;;
    *)
        echo "usage: web.sh [--build-only]" >&2
        exit 2
        ;;
esac

bash "$ROOT/scripts/setup.sh" web || exit 1
. "$ROOT/scripts/build.sh"
echo "Building (logs in $BUILD_DIR/logs)..."
build_assets && build_web || exit 1
if $build_only; then
    echo "$WEB_DIR"
    exit 0
fi
echo "Serving $WEB_DIR: open http://127.0.0.1:$PORT/ in a browser (Ctrl+C stops)."
exec python3 -m http.server --bind 127.0.0.1 --directory "$WEB_DIR" "$PORT"
