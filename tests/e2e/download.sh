#!/usr/bin/env bash
# The Windows download: exactly the game's files in one folder, an executable that needs only
# DLLs every Windows has and carries the version, and a game that runs from the unpacked folder
# in a fresh Wine prefix and writes its files beside itself.
. "$(dirname "$0")/lib.sh"

# Part of Windows since Windows 2000 (msvcrt.dll is the system's C runtime, not a redistributable).
SYSTEM_DLLS="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll
    winmm.dll ddraw.dll dinput.dll dsound.dll msvcrt.dll"

step "package.sh writes the zip with the folder Quadrone/ and nothing else"
zip_file=$(QUADRONE_BUILD_DIR=$BUILD_DIR bash "$ROOT/scripts/package.sh" | tail -n 1)
[ -f "$zip_file" ] || fail "package.sh left no zip"
version=$(basename "$zip_file" | sed -n 's/^quadrone-\([0-9][0-9.]*\)-windows-x64\.zip$/\1/p')
[ -n "$version" ] || fail "unexpected name $(basename "$zip_file")"
expected=$(printf 'Quadrone/%s\n' "" quadrone.exe graphics.vbf audio.vbf loop1.dat README.txt LICENSE.txt | sort)
diff <(echo "$expected") <(unzip -Z1 "$zip_file" | sort) || fail "the zip holds other files"
echo "$(basename "$zip_file"): $(stat -c %s "$zip_file") bytes"
unzip -l "$zip_file"

unpacked="$E2E_WORK/unpacked"
mkdir -p "$unpacked"
unzip -q "$zip_file" -d "$unpacked" || fail "unzip failed"
E2E_GAME="$unpacked/Quadrone"
exe="$E2E_GAME/quadrone.exe"

step "the executable imports only system DLLs and shows the version under Properties"
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$imports" ] || fail "no import table read from quadrone.exe"
for dll in $imports; do
    echo " $SYSTEM_DLLS " | tr -s ' \n' ' ' | grep -qF " $dll " || fail "quadrone.exe needs $dll"
done
resource=$(strings -el "$exe" | tr '\n' ' ')
for pair in "FileVersion $version" "ProductVersion $version" "ProductName Quadrone" "FileDescription Quadrone"; do
    echo "$resource" | grep -q "$pair" || fail "the version resource lacks \"$pair\""
done

step "from the unpacked folder in a fresh Wine prefix: title picture, exit code 0, files beside it"
export WINEPREFIX="$E2E_WORK/prefix"
trap 'wineserver -k 2>/dev/null; e2e_cleanup' EXIT
timeout 300 wineboot -i >"$E2E_WORK/wineboot.log" 2>&1 || fail "wineboot failed"
e2e_extract_pictures
e2e_start_game
e2e_move 5 5
sleep 0.5
shot=$(e2e_screenshot title)
e2e_expect_picture "title picture" "$shot" 0 0 400 170 "$E2E_PICTURES/titlescreen.bmp"
e2e_close_game
[ "$GAME_STATUS" = "0" ] || fail "exit code $GAME_STATUS"
for file in quadrone.dat debug.log; do
    [ -s "$E2E_GAME/$file" ] || fail "no $file beside quadrone.exe"
done
echo "download: passed"
