#!/usr/bin/env bash
# cmake --install into a scratch prefix: every file lands where the desktop looks for it, and the
# installed game, started from another folder, reads its data from the installed data folder.
#   install_test.sh CMAKE BUILD-FOLDER CONFIGURED-DATA-FOLDER
set -uo pipefail
cmake=$1 build=$2 configured=$3
if [ -e "$configured/graphics.vbf" ]; then
    echo "$configured holds data files already: the game could read those instead; skipped"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" || {
    cat "$work/install.log"
    exit 1
}
status=0
for file in bin/quadrone share/quadrone/graphics.vbf share/quadrone/audio.vbf share/quadrone/loop1.dat \
    share/applications/quadrone.desktop share/icons/hicolor/48x48/apps/quadrone.png; do
    if [ ! -s "$prefix/$file" ]; then
        echo "not installed: $file"
        status=1
    fi
done

# SDL turns SIGTERM into a quit, which the game takes as its close box.
mkdir "$work/elsewhere" && cd "$work/elsewhere" || exit 1
log=$work/data/Quadrone/debug.log
XDG_DATA_HOME=$work/data SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$prefix/bin/quadrone" &
game=$!
for _ in $(seq 200); do
    grep -q 'Starting game' "$log" 2>/dev/null && break
    sleep 0.1
done
kill -TERM "$game"
wait "$game" || status=1
if ! grep -q 'Graphics loaded' "$log" || ! grep -q 'Bitmap loaded' "$log" || grep -q 'Error' "$log"; then
    echo "the installed game did not load its data; its log:"
    cat "$log"
    status=1
fi
exit $status
