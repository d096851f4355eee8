#!/usr/bin/env bash
# Builds the game and writes the Windows download, dist/quadrone-<version>-windows-x64.zip: a
# folder Quadrone/ with the executable, its data files, README.txt and LICENSE.txt; and the browser
# game, dist/quadrone-<version>-web.zip: the files of dist/web at its top, for any static web host.
# Prints the zips' paths.
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${QUADRONE_BUILD_DIR:-$ROOT/build}
DIST_DIR="$ROOT/dist"

fail() {
    echo "package: $*" >&2
    exit 1
}

bash "$ROOT/scripts/setup.sh" || exit 1
. "$ROOT/scripts/build.sh"
build_native game_assets && build_windows quadrone && build_web || exit 1
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$BUILD_DIR/windows/CMakeCache.txt")
[ -n "$version" ] || fail "no project version in $BUILD_DIR/windows/CMakeCache.txt"

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/Quadrone"
for file in quadrone.exe graphics.vbf audio.vbf loop1.dat; do
    cp "$GAME_DIR/$file" "$stage/Quadrone/" || fail "the game folder lacks $file"
done
# Windows line ends, so that every editor shows the texts as they are meant.
sed -e "s/@VERSION@/$version/" -e 's/$/\r/' "$ROOT/docs/README.txt" >"$stage/Quadrone/README.txt"
sed -e 's/$/\r/' "$ROOT/LICENSE" >"$stage/Quadrone/LICENSE.txt"

zip_file="$DIST_DIR/quadrone-$version-windows-x64.zip"
mkdir -p "$DIST_DIR"
rm -f "$zip_file"
(cd "$stage" && zip -q -X -r "$zip_file" Quadrone) || fail "could not write $zip_file"
echo "$zip_file"

web_zip="$DIST_DIR/quadrone-$version-web.zip"
rm -f "$web_zip"
(cd "$WEB_DIR" && zip -q -X "$web_zip" index.html quadrone.js quadrone.wasm quadrone.data) ||
    fail "could not write $web_zip"
echo "$web_zip"
