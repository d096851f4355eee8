# Sourced by the play and test scripts: a private Wine inside the build folder and a display.
# Needs BUILD_DIR. Call wine_start (tests and the scripted session: a private HOME and a sound
# device that needs no hardware) or wine_start_desktop (a player's own HOME and sound output)
# first, wine_stop at the end.

WINE_ROOT="$BUILD_DIR/wine"
PLAYER_HOME=$HOME
PLAYER_PULSE_SERVER=${PULSE_SERVER-}
export WINEPREFIX="$WINE_ROOT/prefix"
export HOME="$WINE_ROOT/home"
export WINEDEBUG=-all
# No network here: never offer to download Mono or Gecko.
export WINEDLLOVERRIDES="mscoree=;mshtml="
# Everything DirectSound plays lands in this file.
export QUADRONE_SOUND_CAPTURE="$WINE_ROOT/sound-capture.raw"
# No PulseAudio server, not even one started on demand: Wine falls back to ALSA and the capture.
export PULSE_SERVER="unix:$WINE_ROOT/no-pulseaudio"
XVFB_PID=""

wine_write_asoundrc() {
    mkdir -p "$HOME"
    cat >"$HOME/.asoundrc" <<EOF
pcm.!default {
    type file
    slave.pcm "null"
    file "$QUADRONE_SOUND_CAPTURE"
    format "raw"
}
EOF
}

# wine_start_display [XVFB_OPTION...]: a virtual display of our own, unless there is one.
wine_start_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    mkdir -p "$WINE_ROOT"
    local number
    for number in $(seq 90 120); do
        [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] || break
    done
    Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp "$@" >"$WINE_ROOT/xvfb.log" 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$number"
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X$number" ] && return 0
        sleep 0.1
    done
    echo "wine-env: the virtual display did not start (see $WINE_ROOT/xvfb.log)" >&2
    return 1
}

wine_make_prefix() {
    [ -f "$WINEPREFIX/.quadrone-ready" ] && return 0
    rm -rf "$WINEPREFIX"
    timeout 300 wineboot -i >"$WINE_ROOT/wineboot.log" 2>&1 &&
        timeout 60 wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /t REG_SZ /d gdi /f \
            >>"$WINE_ROOT/wineboot.log" 2>&1 &&
        timeout 60 wineserver -w &&
        touch "$WINEPREFIX/.quadrone-ready" ||
        {
            echo "wine-env: could not prepare the Wine prefix (see $WINE_ROOT/wineboot.log)" >&2
            return 1
        }
}

wine_start() {
    mkdir -p "$WINE_ROOT"
    wine_write_asoundrc
    wine_start_display || return 1
    wine_make_prefix || return 1
    # One server for the whole run: a cold Wine start costs about a second more.
    wineserver -p
}

# The player's own HOME, so Wine reaches their sound server (PulseAudio or PipeWire through its
# pulse driver, else ALSA's default device); a prefix of its own, made without the capture.
wine_start_desktop() {
    export HOME=$PLAYER_HOME
    export WINEPREFIX="$WINE_ROOT/desktop-prefix"
    # The player's menus get no entries for the programs of the prefix.
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
    unset QUADRONE_SOUND_CAPTURE PULSE_SERVER
    [ -z "$PLAYER_PULSE_SERVER" ] || export PULSE_SERVER=$PLAYER_PULSE_SERVER
    # Wine's PulseAudio driver keeps a 15 ms buffer by default and often lets it run dry: through a
    # null sink, 4 and 16 dropouts in 3 minutes of music; with 60 ms, 3 in 18 minutes. A player's
    # own setting is kept.
    export PULSE_LATENCY_MSEC=${PULSE_LATENCY_MSEC:-60}
    mkdir -p "$WINE_ROOT"
    wine_make_prefix || return 1
    wineserver -p
}

wine_stop() {
    wineserver -k 2>/dev/null || true
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=""
    fi
}
