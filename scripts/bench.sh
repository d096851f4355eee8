#!/usr/bin/env bash
# Benchmark of the game under Wine beside a bare DirectDraw program (tools/bench), the native
# (SDL) build, the browser build in headless Chromium and two falling-block games from Debian,
# ltris and quadrapassel: time from start to the title picture (the peers: to their settled menu;
# the browser: from navigation start), resident memory, share of one core on the title screen or
# menu, in play and for the bare program idling with a playing sound buffer, the cost of one
# playing frame and frames per second under Wine, key-to-screen latency, what a player downloads
# and the browser game's wasm memory. Not part of the test command.
#   scripts/bench.sh [--before REVISION] [--runs N]
# --before also builds quadrone.exe and the frame benchmark of an earlier commit and measures it
# in the same runs, as a column of its own. Every figure is the median of the runs after the
# first, which warms Wine and the file cache up. Needs root once, to install the X headers and
# the two peer games; without root it prints the command and leaves the peers out.
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${QUADRONE_BUILD_DIR:-$ROOT/build}
RUNS=5
BEFORE=""
while [ $# -gt 0 ]; do
    case $1 in
        --before)
            BEFORE=$2
            shift 2
            ;;
        --runs)
            RUNS=$2
            shift 2
            ;;
        *)
            echo "usage: $0 [--before REVISION] [--runs N]" >&2
            exit 2
            ;;
    esac
done

# All of it: the Windows build, the browser build and the browser tests' puppeteer-core.
bash "$ROOT/scripts/setup.sh" || exit 1
. "$ROOT/scripts/build.sh"
. "$ROOT/scripts/wine-env.sh"
BENCH="$BUILD_DIR/bench"
RESULTS="$BENCH/results.txt"
PROBE="$BENCH/screen_probe"
REFERENCE="$BENCH/title.rgb"
STARTED_PID=""
START_NS=0
PEERS=(ltris quadrapassel)

fail() {
    echo "bench: $*" >&2
    exit 1
}

stop_started() {
    if [ -n "$STARTED_PID" ]; then
        kill "$STARTED_PID" 2>/dev/null
        wait "$STARTED_PID" 2>/dev/null
        STARTED_PID=""
    fi
}
trap 'stop_started; wine_stop' EXIT

build_probe() {
    if [ ! -f /usr/include/X11/extensions/XTest.h ]; then
        [ "$(id -u)" -eq 0 ] || fail "needs root to install libx11-dev and libxtst-dev"
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq libx11-dev libxtst-dev >"$BUILD_DIR/logs/bench-apt.log" 2>&1 ||
            fail "could not install the X headers (see $BUILD_DIR/logs/bench-apt.log)"
    fi
    g++ -O2 -o "$PROBE" "$ROOT/tools/bench/screen_probe.cpp" -lX11 -lXtst || fail "the screen probe did not build"
}

# A display of the bench's own that never resets: between two programs no client may be left, and
# an X server that resets then refuses the next program for a moment.
bench_display() { wine_start_display -noreset || fail "the virtual display did not start (see $WINE_ROOT/xvfb.log)"; }

# The peer games, installed from Debian for the benchmark only; those missing are left out when
# not root.
install_peers() {
    local missing=() installed=() package
    for package in "${PEERS[@]}"; do
        if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            installed+=("$package")
        else
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "bench: leaving out ${missing[*]}; to measure them too, run as root:" \
            "apt-get install --no-install-recommends ${missing[*]}" >&2
        PEERS=("${installed[@]}")
        return 0
    fi
    {
        DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
            DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    } >"$BUILD_DIR/logs/bench-peers-apt.log" 2>&1 ||
        fail "could not install ${missing[*]} (see $BUILD_DIR/logs/bench-peers-apt.log)"
}

# A game folder with the data files, and the icon and cursor that builds before the asset folder
# took from it.
game_folder() {
    local folder=$1 file
    mkdir -p "$folder"
    for file in graphics.vbf audio.vbf loop1.dat; do
        cp "$GAME_DIR/$file" "$folder/" || fail "the game folder lacks $file"
    done
    cp "$ASSET_DIR/quadrone.ico" "$ASSET_DIR/quadrone.cur" "$folder/" || fail "the asset folder lacks the icon"
}

# The worktree's own Windows build, the one the tests use.
build_after() {
    build_windows || fail "the Windows build failed"
    game_folder "$BENCH/windows/game"
    cp "$GAME_DIR/quadrone.exe" "$BUILD_DIR/windows/tools/bench/"*.exe "$BENCH/windows/game/"
}

# The native game as a player builds it (Release, SDL, no sanitizers), beside the data files the
# Windows build reads.
build_native_game() {
    local build="$BENCH/native/build"
    run_logged bench-native-configure configure_once "$build" -DCMAKE_BUILD_TYPE=Release \
        -DQUADRONE_TESTS=OFF -DQUADRONE_BACKEND=sdl -DQUADRONE_GAME_DIR="$BENCH/native/game" \
        -DQUADRONE_ASSET_DIR="$BENCH/native/assets" &&
        run_logged bench-native-build cmake --build "$build" --target quadrone ||
        fail "the native build failed"
    game_folder "$BENCH/native/game"
}

build_browser_game() {
    build_assets && build_web || fail "the browser build failed"
}

# An earlier commit, built the same way (Release, without its tests) into a folder of its own.
build_before() {
    local source="$BENCH/before/source" build="$BENCH/before/build" commit
    commit=$(git -C "$ROOT" rev-parse --verify "$BEFORE^{commit}") || fail "no revision $BEFORE"
    [ "$(cat "$BENCH/before/commit" 2>/dev/null)" = "$commit" ] && return 0
    rm -rf "$source" "$build" "$BENCH/before/commit" && mkdir -p "$source"
    git -C "$ROOT" archive "$BEFORE" | tar -x -C "$source" || fail "no revision $BEFORE"
    game_folder "$BENCH/before/game"
    ROOT="$source" run_logged bench-before-configure configure_once "$build" \
        -DCMAKE_TOOLCHAIN_FILE="$source/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_PREFIX_PATH="$QUADRONE_CACHE/mingw64" -DCMAKE_BUILD_TYPE=Release -DQUADRONE_TESTS=OFF \
        -DQUADRONE_GAME_DIR="$BENCH/before/game" -DQUADRONE_ASSET_DIR="$ASSET_DIR" &&
        run_logged bench-before-build cmake --build "$build" --target quadrone quadrone_frame_bench quadrone_bare ||
        fail "the build of $BEFORE failed"
    cp "$build/tools/bench/"*.exe "$BENCH/before/game/"
    echo "$commit" >"$BENCH/before/commit"
}

make_reference() {
    "$BUILD_DIR/native/tools/vbftool" extract "$GAME_DIR/graphics.vbf" "$BENCH/pictures" >/dev/null &&
        convert "$BENCH/pictures/titlescreen.bmp" -crop 400x170+0+0 +repage "rgb:$REFERENCE" ||
        fail "cannot make the title reference"
}

RUN=0
record() {
    echo "$RUN $1 $2 ${3:--}" >>"$RESULTS"
}

cpu_ticks() {
    awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$1/stat" 2>/dev/null || echo 0
}

# The wineserver of this prefix: its share grows with every message call the game makes.
wineserver_pid() {
    local pid
    for pid in $(pgrep -x 'wineserver(64)?'); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$pid" && return
    done
}

# Percent of one core that TICKS of CPU time make over WALL nanoseconds.
share_of() {
    awk -v t="$1" -v w="$2" -v h="$(getconf CLK_TCK)" 'BEGIN { printf "%.1f", 100 * t / h / (w / 1e9) }'
}

# Percent of one core that PID used while COMMAND ran; beside it the wineserver's (SERVER, if
# any) and the X server's when the bench started it.
measure_share() {
    local label=$1 what=$2 pid=$3 server=$4
    shift 4
    local before server_before x_before start wall
    before=$(cpu_ticks "$pid")
    server_before=$(cpu_ticks "$server")
    x_before=$(cpu_ticks "$XVFB_PID")
    start=$(date +%s%N)
    "$@"
    wall=$(($(date +%s%N) - start))
    record "$label" "$what" "$(share_of $(($(cpu_ticks "$pid") - before)) "$wall")"
    [ -z "$server" ] || record "$label" "$what-server" "$(share_of $(($(cpu_ticks "$server") - server_before)) "$wall")"
    [ -z "$XVFB_PID" ] || record "$label" "$what-x" "$(share_of $(($(cpu_ticks "$XVFB_PID") - x_before)) "$wall")"
}

# Starts COMMAND from FOLDER, its output in a file of its own.
launch() {
    local label=$1 folder=$2
    shift 2
    START_NS=$(date +%s%N)
    (cd "$folder" && exec "$@") >"$BENCH/$label.out" 2>&1 </dev/null &
    STARTED_PID=$!
}

# The time from the launch until the title picture is in the window.
time_title() {
    local ms
    ms=$("$PROBE" title "$2" "$REFERENCE" 0 0 400 170 "$START_NS" 30) || fail "$1: no title picture"
    record "$1" start-ms "$ms"
}

# For a program whose first picture is not known: the time until its window was mapped, and until
# it first showed the picture that then stayed, not all black, for a second.
time_settled() {
    local times
    times=$("$PROBE" settle "$2" "$START_NS" 30 1000) || {
        echo "bench: $1: its window did not settle" >&2
        return 1
    }
    read -r -a times <<<"$times"
    record "$1" map-ms "${times[0]}"
    record "$1" start-ms "${times[1]}"
}

record_rss() {
    sleep 2
    record "$1" rss-mb "$(awk '/VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$STARTED_PID/status")"
}

# The pointer to the far corner of the screen, outside every window.
mouse_away() {
    local size
    read -r -a size <<<"$(xdotool getdisplaygeometry)"
    xdotool mousemove $((size[0] - 1)) $((size[1] - 1))
}

record_latencies() {
    local label=$1 sorted
    sorted=$(echo "$2" | tr ' ' '\n' | grep . | sort -n)
    record "$label" key-median "$(awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }' <<<"$sorted")"
    record "$label" key-worst "$(tail -n 1 <<<"$sorted")"
    record "$label" key-count "$(grep -c . <<<"$sorted")"
}

window_origin() {
    local id info x y width height
    id=$(xdotool search --onlyvisible --name '^Quadrone$' | head -n 1)
    info=$(xwininfo -id "$id")
    x=$(echo "$info" | sed -n 's/.*Absolute upper-left X: *\(-\?[0-9]*\).*/\1/p')
    y=$(echo "$info" | sed -n 's/.*Absolute upper-left Y: *\(-\?[0-9]*\).*/\1/p')
    width=$(echo "$info" | sed -n 's/.*Width: *\([0-9]*\).*/\1/p')
    height=$(echo "$info" | sed -n 's/.*Height: *\([0-9]*\).*/\1/p')
    xdotool windowfocus "$id"
    echo "$((x + (width - 640) / 2)) $((y + (height - 480) / 2))"
}

# Ten seconds of play: keys held for 100 ms each, as the polled keyboard needs; ROTATE is the key
# that turns the tetrad.
play_keys() {
    local keys=(Left Right "$1" Left Down Right "$1" Down) i
    for i in $(seq 0 39); do
        xdotool keydown "${keys[i % 8]}"
        sleep 0.1
        xdotool keyup "${keys[i % 8]}"
        sleep 0.15
    done
}

measure_bare() {
    local folder=$1
    launch bare "$folder" wine quadrone_bare.exe "Z:$BENCH/pictures/titlescreen.bmp"
    time_title bare "Bare DirectDraw"
    record_rss bare
    measure_share bare idle "$STARTED_PID" "$(wineserver_pid)" sleep 10
    stop_started
}

# The Windows build under Wine (KIND wine) or the native one (native): the same steps, and the
# frame benchmark for the Windows build.
measure_game() {
    local label=$1 folder=$2 kind=$3 origin latencies server=""
    if [ "$kind" = native ]; then
        # Its table and log in a folder of the bench's own; its sound to a file device paced in
        # real time, as Wine's goes to the capture file.
        launch "$label" "$folder" env XDG_DATA_HOME="$BENCH/native/data" SDL_AUDIODRIVER=disk \
            SDL_DISKAUDIOFILE=/dev/null ./quadrone
    else
        launch "$label" "$folder" wine quadrone.exe
    fi
    time_title "$label" Quadrone
    record_rss "$label"
    [ "$kind" = native ] || server=$(wineserver_pid)
    mouse_away
    measure_share "$label" title "$STARTED_PID" "$server" sleep 10
    read -r -a origin <<<"$(window_origin)"
    # The native build missed a press sent with the pointer's arrival; a player's click comes later.
    # The menu sees the release in its next frame, and only with the pointer still on the button:
    # leaving at once lost the click in two of four runs.
    xdotool mousemove $((origin[0] + 480)) $((origin[1] + 190))
    sleep 0.2
    xdotool mousedown 1
    sleep 0.2
    xdotool mouseup 1
    sleep 0.2
    mouse_away
    sleep 1
    import -window root "$BENCH/$label-play.png"
    latencies=$("$PROBE" keys Quadrone 20) || echo "bench: $label: fewer than 20 key presses measured" >&2
    record_latencies "$label" "$latencies"
    measure_share "$label" play "$STARTED_PID" "$server" play_keys space
    stop_started
    [ "$kind" = native ] && return 0
    local output
    output=$(cd "$folder" && timeout 120 wine quadrone_frame_bench.exe 3000 5 2>/dev/null </dev/null)
    awk -v label="$label" '{ print "  " label ": " $0 }' <<<"$output"
    record "$label" frame-median "$(echo "$output" | sed -n 's/.*median \([0-9.]*\) ms.*/\1/p')"
    record "$label" frame-p99 "$(echo "$output" | sed -n 's/.*p99 \([0-9.]*\) ms.*/\1/p')"
    record "$label" fps "$(echo "$output" | sed -n 's/.*: \([0-9.]*\) frames per second.*/\1/p')"
}

# The browser game (tools/bench/browser_bench.js): a browser of its own with an empty cache in
# every run, as on a first visit; its lines go straight into the results.
measure_browser() {
    NODE_PATH="$QUADRONE_CACHE/node/node_modules" timeout 120 node "$ROOT/tools/bench/browser_bench.js" \
        "$RUN" "$WEB_DIR" "$REFERENCE" >>"$RESULTS" 2>"$BENCH/browser.out" </dev/null ||
        echo "bench: browser: the run did not finish (see $BENCH/browser.out)" >&2
}

# BYTES in MB of a million bytes.
megabytes() {
    awk -v b="$1" 'BEGIN { printf "%.2f", b / 1e6 }'
}

# The bytes that FILES make compressed one by one with gzip at its default level, as a static host
# sends them.
gzipped_bytes() {
    local file bytes=0
    for file in "$@"; do
        bytes=$((bytes + $(gzip -c "$file" | wc -c)))
    done
    echo "$bytes"
}

# What a player transfers before playing: the browser game's files on a first visit; the native
# game and its data files; the Windows zip that package.sh wrote, if any (the last by name).
record_downloads() {
    local file zip=""
    record browser download-mb "$(megabytes "$(gzipped_bytes "$WEB_DIR"/*)")"
    record native download-mb "$(megabytes "$(gzipped_bytes "$BENCH/native/game/quadrone" \
        "$BENCH/native/game/"{graphics.vbf,audio.vbf,loop1.dat})")"
    for file in "$ROOT"/dist/quadrone-*-windows-x64.zip; do
        [ -f "$file" ] && zip=$file
    done
    [ -z "$zip" ] || record windows download-mb "$(megabytes "$(stat -c %s "$zip")")"
}

# The first start offers the demo, where the computer plays: the bench sets a classic game of one
# player in ltris's own settings, which it writes when it quits.
prepare_ltris() {
    local settings="$BENCH/ltris/home/.lgames/ltris.conf"
    mkdir -p "$BENCH/ltris/home"
    if [ ! -f "$settings" ]; then
        launch ltris-setup "$BENCH/ltris" "${LTRIS[@]}"
        "$PROBE" settle LTris "$START_NS" 30 500 >/dev/null || fail "ltris did not start (see $BENCH/ltris-setup.out)"
        stop_started
    fi
    LC_ALL=C sed -i 's/^gametype\(.\)[0-9]*$/gametype\11/' "$settings" &&
        LC_ALL=C grep -q '^gametype.1$' "$settings" || fail "cannot choose ltris's classic game in $settings"
}

# ltris (SDL 1.2): menu, then New Game and Start Game by keys. Its board is drawn over a picture
# and its tetrads fall smoothly, so no key-to-screen figure.
measure_ltris() {
    launch ltris "$BENCH/ltris" "${LTRIS[@]}"
    time_settled ltris LTris || {
        stop_started
        return
    }
    record_rss ltris
    mouse_away
    measure_share ltris title "$STARTED_PID" "" sleep 10
    xdotool windowfocus "$(xdotool search --onlyvisible --name '^LTris$' | head -n 1)"
    xdotool key --delay 150 Down Return Down Return
    sleep 1
    import -window root "$BENCH/ltris-play.png"
    measure_share ltris play "$STARTED_PID" "" play_keys Up
    stop_started
}

# quadrapassel (GTK 3, Clutter): its start screen, then a game by a click on its Play button
# (Ctrl+N made this version crash); its board is black, so the probe's board mode times the keys.
measure_quadrapassel() {
    local id latencies
    launch quadrapassel "$BENCH/quadrapassel" env HOME="$BENCH/quadrapassel/home" GSETTINGS_BACKEND=memory \
        NO_AT_BRIDGE=1 /usr/games/quadrapassel
    time_settled quadrapassel Quadrapassel || {
        stop_started
        return
    }
    record_rss quadrapassel
    mouse_away
    measure_share quadrapassel title "$STARTED_PID" "" sleep 10
    id=$(xdotool search --onlyvisible --name '^Quadrapassel$' | head -n 1)
    xdotool windowfocus "$id" mousemove --window "$id" 490 535 click 1
    mouse_away
    sleep 1
    import -window root "$BENCH/quadrapassel-play.png"
    latencies=$("$PROBE" board-keys Quadrapassel 20) ||
        echo "bench: quadrapassel: fewer than 20 key presses measured" >&2
    record_latencies quadrapassel "$latencies"
    measure_share quadrapassel play "$STARTED_PID" "" play_keys Up
    stop_started
}

# The median of each figure over the runs after the first, one column per program.
print_table() {
    python3 - "$RESULTS" <<'EOF'
import statistics, sys
values = {}
for run, label, what, value in (line.split() for line in open(sys.argv[1])):
    if run != "1" and value not in ("", "-"):
        values.setdefault((label, what), []).append(float(value))
labels = [l for l in ("bare", "before", "windows", "native", "browser", "ltris", "quadrapassel")
          if any(k[0] == l for k in values)]
rows = [("window mapped (ms)", "map-ms"), ("start to title picture or settled menu (ms)", "start-ms"),
        ("resident memory after start (MB)", "rss-mb"), ("wasm memory (MB)", "wasm-mb"),
        ("download, compressed (MB of 10^6 bytes)", "download-mb"),
        ("share of a core: bare idle, sound playing (%)", "idle"), ("  wineserver meanwhile (%)", "idle-server"),
        ("  X server meanwhile (%)", "idle-x"),
        ("share of a core: title screen or menu (%)", "title"), ("  wineserver meanwhile (%)", "title-server"),
        ("  X server meanwhile (%)", "title-x"),
        ("share of a core: play, keys for 10 s (%)", "play"), ("  wineserver meanwhile (%)", "play-server"),
        ("  X server meanwhile (%)", "play-x"),
        ("playing frame, median (ms)", "frame-median"), ("playing frame, p99 (ms)", "frame-p99"),
        ("frames per second in play", "fps"), ("key to screen, median (ms)", "key-median"),
        ("key to screen, worst (ms)", "key-worst"), ("key presses measured, of 20", "key-count")]
print("%-46s" % "" + "".join("%13s" % l for l in labels))
for title, what in rows:
    cells = [values.get((l, what)) for l in labels]
    medians = [statistics.median(c) if c else None for c in cells]
    print("%-46s" % title + "".join("%13s" % ("-" if m is None else "%.0f" % m if m >= 100 else
                                              "%.1f" % m if m >= 10 else "%.2f" % m) for m in medians))
print("(medians of runs 2 to %d)" % (max(int(l.split()[0]) for l in open(sys.argv[1]))))
EOF
}

mkdir -p "$BENCH"
[ -f "$GAME_DIR/graphics.vbf" ] && [ -x "$BUILD_DIR/native/tools/vbftool" ] || build_native || fail "the native build failed"
build_probe
build_after
build_native_game
build_browser_game
[ -n "$BEFORE" ] && build_before
install_peers
make_reference
bench_display
wine_start || fail "Wine did not start"
LTRIS=(env HOME="$BENCH/ltris/home" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null /usr/games/ltris)
mkdir -p "$BENCH/quadrapassel/home"
[[ " ${PEERS[*]} " == *" ltris "* ]] && prepare_ltris
: >"$RESULTS"
echo "load before the runs: $(uptime)"
for RUN in $(seq "$RUNS"); do
    echo "run $RUN of $RUNS"
    measure_bare "$BENCH/windows/game"
    [ -n "$BEFORE" ] && measure_game before "$BENCH/before/game" wine
    measure_game windows "$BENCH/windows/game" wine
    measure_game native "$BENCH/native/game" native
    record_downloads
    measure_browser
    [[ " ${PEERS[*]} " == *" ltris "* ]] && measure_ltris
    [[ " ${PEERS[*]} " == *" quadrapassel "* ]] && measure_quadrapassel
done
echo "load after the runs: $(uptime)"
print_table
