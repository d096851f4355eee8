#!/usr/bin/env bash
# Benchmark of the game under Wine beside a bare DirectDraw program (tools/bench): time from start
# to the title picture on the screen, resident memory, share of one core on the title screen, in
# play and for the bare program idling with a playing sound buffer, the cost of one playing frame,
# frames per second, and key-to-screen latency. Not part of the test command.
#   scripts/bench.sh [--before REVISION] [--runs N]
# --before also builds quadrone.exe and the frame benchmark of an earlier commit and measures it
# in the same runs, as a column of its own. Every figure is the median of the runs after the
# first, which warms Wine and the file cache up. Needs root once, to install the X headers.
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

bash "$ROOT/scripts/setup.sh" || exit 1
. "$ROOT/scripts/build.sh"
. "$ROOT/scripts/wine-env.sh"
BENCH="$BUILD_DIR/bench"
RESULTS="$BENCH/results.txt"
PROBE="$BENCH/screen_probe"
REFERENCE="$BENCH/title.rgb"
STARTED_PID=""

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
    game_folder "$BENCH/after/game"
    cp "$GAME_DIR/quadrone.exe" "$BUILD_DIR/windows/tools/bench/"*.exe "$BENCH/after/game/"
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

# Percent of one core that PID and the wineserver used while COMMAND ran.
measure_share() {
    local label=$1 what=$2 pid=$3
    shift 3
    local server ticks before server_before start end
    ticks=$(getconf CLK_TCK)
    server=$(wineserver_pid)
    before=$(cpu_ticks "$pid")
    server_before=$(cpu_ticks "$server")
    start=$(date +%s%N)
    "$@"
    end=$(date +%s%N)
    record "$label" "$what" "$(awk -v t="$(($(cpu_ticks "$pid") - before))" -v w="$((end - start))" -v h="$ticks" \
        'BEGIN { printf "%.1f", 100 * t / h / (w / 1e9) }')"
    record "$label" "$what-server" "$(awk -v t="$(($(cpu_ticks "$server") - server_before))" -v w="$((end - start))" \
        -v h="$ticks" 'BEGIN { printf "%.1f", 100 * t / h / (w / 1e9) }')"
}

# Starts a program from FOLDER and records the time until the title picture is in its window.
start_and_time() {
    local label=$1 folder=$2 window=$3
    shift 3
    local start ms
    start=$(date +%s%N)
    (cd "$folder" && exec wine "$@") >"$BENCH/$label.out" 2>&1 </dev/null &
    STARTED_PID=$!
    ms=$("$PROBE" title "$window" "$REFERENCE" 0 0 400 170 "$start" 30) || fail "$label: no title picture"
    record "$label" start-ms "$ms"
    sleep 2
    record "$label" rss-mb "$(awk '/VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$STARTED_PID/status")"
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

# Ten seconds of play: keys held for 100 ms each, as the polled keyboard needs.
play_keys() {
    local keys=(Left Right space Left Down Right space Down) i
    for i in $(seq 0 39); do
        xdotool keydown "${keys[i % 8]}"
        sleep 0.1
        xdotool keyup "${keys[i % 8]}"
        sleep 0.15
    done
}

measure_bare() {
    local folder=$1
    start_and_time bare "$folder" "Bare DirectDraw" quadrone_bare.exe "Z:$BENCH/pictures/titlescreen.bmp"
    measure_share bare idle "$STARTED_PID" sleep 10
    stop_started
}

measure_game() {
    local label=$1 folder=$2 origin latencies
    start_and_time "$label" "$folder" Quadrone quadrone.exe
    xdotool mousemove 0 0
    measure_share "$label" title "$STARTED_PID" sleep 10
    read -r -a origin <<<"$(window_origin)"
    xdotool mousemove $((origin[0] + 480)) $((origin[1] + 190)) mousedown 1
    sleep 0.2
    xdotool mouseup 1 mousemove 0 0
    sleep 1
    import -window root "$BENCH/$label-play.png"
    latencies=$("$PROBE" keys Quadrone 20) || echo "bench: $label: fewer than 20 key presses measured" >&2
    record "$label" key-median "$(echo "$latencies" | tr ' ' '\n' | grep . | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')"
    record "$label" key-worst "$(echo "$latencies" | tr ' ' '\n' | grep . | sort -n | tail -n 1)"
    measure_share "$label" play "$STARTED_PID" play_keys
    stop_started
    local output
    output=$(cd "$folder" && timeout 120 wine quadrone_frame_bench.exe 3000 5 2>/dev/null </dev/null)
    awk -v label="$label" '{ print "  " label ": " $0 }' <<<"$output"
    record "$label" frame-median "$(echo "$output" | sed -n 's/.*median \([0-9.]*\) ms.*/\1/p')"
    record "$label" frame-p99 "$(echo "$output" | sed -n 's/.*p99 \([0-9.]*\) ms.*/\1/p')"
    record "$label" fps "$(echo "$output" | sed -n 's/.*: \([0-9.]*\) frames per second.*/\1/p')"
}

# The median of each figure over the runs after the first, one column per program.
print_table() {
    python3 - "$RESULTS" <<'EOF'
import statistics, sys
values = {}
for run, label, what, value in (line.split() for line in open(sys.argv[1])):
    if run != "1" and value not in ("", "-"):
        values.setdefault((label, what), []).append(float(value))
labels = [l for l in ("bare", "before", "after") if any(k[0] == l for k in values)]
rows = [("start to title picture (ms)", "start-ms"), ("resident memory after start (MB)", "rss-mb"),
        ("share of a core: bare idle, sound playing (%)", "idle"), ("  wineserver meanwhile (%)", "idle-server"),
        ("share of a core: title screen (%)", "title"), ("  wineserver meanwhile (%)", "title-server"),
        ("share of a core: play, keys for 10 s (%)", "play"), ("  wineserver meanwhile (%)", "play-server"),
        ("playing frame, median (ms)", "frame-median"), ("playing frame, p99 (ms)", "frame-p99"),
        ("frames per second in play", "fps"), ("key to screen, median (ms)", "key-median"),
        ("key to screen, worst of 20 (ms)", "key-worst")]
print("%-46s" % "" + "".join("%10s" % l for l in labels))
for title, what in rows:
    cells = [values.get((l, what)) for l in labels]
    medians = [statistics.median(c) if c else None for c in cells]
    print("%-46s" % title + "".join("%10s" % ("-" if m is None else "%.0f" % m if m >= 100 else
                                              "%.1f" % m if m >= 10 else "%.2f" % m) for m in medians))
print("(medians of runs 2 to %d)" % (max(int(l.split()[0]) for l in open(sys.argv[1]))))
EOF
}

mkdir -p "$BENCH"
[ -f "$GAME_DIR/graphics.vbf" ] && [ -x "$BUILD_DIR/native/tools/vbftool" ] || build_native || fail "the native build failed"
build_probe
build_after
[ -n "$BEFORE" ] && build_before
make_reference
wine_start || fail "Wine did not start"
: >"$RESULTS"
echo "load before the runs: $(uptime)"
for RUN in $(seq "$RUNS"); do
    echo "run $RUN of $RUNS"
    measure_bare "$BENCH/after/game"
    [ -n "$BEFORE" ] && measure_game before "$BENCH/before/game"
    measure_game after "$BENCH/after/game"
done
echo "load after the runs: $(uptime)"
print_table
