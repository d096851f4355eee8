# The Windows download: exactly the game's files in one folder, an executable that needs only
# DLLs every Windows has and carries the version, and a game that runs from the unpacked folder
# in a fresh Wine prefix and writes its files beside itself.
# Part of Windows since Windows 2000 (msvcrt.dll is the system's C runtime, not a redistributable).
SYSTEM_DLLS=" kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll winmm.dll
    ddraw.dll dinput.dll dsound.dll msvcrt.dll "

step "package.sh writes the zip with the folder Quadrone/ and nothing else"
# It prints the zips it wrote, the Windows one and the web one, a line each.
zip_file=$(QUADRONE_BUILD_DIR=$BUILD_DIR bash "$ROOT/scripts/package.sh" | grep -- '-windows-x64\.zip$')
[ -f "$zip_file" ] || fail "package.sh left no zip"
version=$(basename "$zip_file" | sed -n 's/^quadrone-\([0-9][0-9.]*\)-windows-x64\.zip$/\1/p')
[ -n "$version" ] || fail "unexpected name $(basename "$zip_file")"
diff <(printf 'Quadrone/%s\n' "" quadrone.exe graphics.vbf audio.vbf loop1.dat README.txt LICENSE.txt | sort) \
    <(unzip -Z1 "$zip_file" | sort) || fail "the zip holds other files"
unzip -l "$zip_file"
unzip -q "$zip_file" -d "$E2E_WORK/unpacked" || fail "unzip failed"
E2E_GAME="$E2E_WORK/unpacked/Quadrone"

step "the executable imports only system DLLs and shows the version under Properties"
imports=$(x86_64-w64-mingw32-objdump -p "$E2E_GAME/quadrone.exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '[:upper:]' '[:lower:]')
[ -n "$imports" ] || fail "no import table read from quadrone.exe"
for dll in $imports; do
    echo "$SYSTEM_DLLS" | tr -s ' \n' ' ' | grep -qF " $dll " || fail "quadrone.exe needs $dll"
done
resource=$(strings -el "$E2E_GAME/quadrone.exe" | tr '\n' ' ')
for pair in "FileVersion $version" "ProductVersion $version" "ProductName Quadrone" "FileDescription Quadrone"; do
    echo "$resource" | grep -q "$pair" || fail "the version resource lacks \"$pair\""
done

step "from the unpacked folder in a fresh Wine prefix: title picture, exit code 0, files beside it"
export WINEPREFIX="$E2E_WORK/prefix"
on_exit "wineserver -k 2>/dev/null"
timeout 300 wineboot -i >"$E2E_WORK/wineboot.log" 2>&1 || fail "wineboot failed"
start_game
move_mouse 5 5 && sleep 0.5
see title "${TITLE[@]}"
close_game
[ -s "$E2E_GAME/quadrone.dat" ] && [ -s "$E2E_GAME/debug.log" ] || fail "no quadrone.dat or debug.log beside quadrone.exe"
