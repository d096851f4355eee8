// effects.h -- loading and deleting the game's five effects (the shell calls these).
#pragma once

#include <windows.h>

class Sound;

// Opens "audio.vbf" and loads the five effects; a missing archive leaves them all silent.
HRESULT LoadSounds();
// One effect from an archive entry of the open DataArchive: S_OK (even when the device made no
// Sound) or E_FAIL after logging why the entry was refused.
HRESULT LoadWaveEffect(Sound** out, const char* entryName, DWORD creationFlags, GUID algorithm3D, DWORD count);
// The shutdown step: deletes the five effects and sets them to none.
void DeleteEffects();
