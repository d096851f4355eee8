// folders.h -- where the SDL build finds its data files and keeps the files it writes.
#pragma once

// The game writes its table and log into the player's data folder (on Linux
// ~/.local/share/Quadrone/), since an installed program's folder is not writable; it reads
// "graphics.vbf", "audio.vbf" and "loop1.dat" beside the executable, or else from the installed
// data folder, looked for first from where the program is. Sets SaveFolder and DataFolder;
// without a data folder for the player the game writes into the current one.
void ChooseFolders();

// Once the files the game wrote are to outlive the program: the browser's folder lives in memory
// until it is written through to the page's storage; a disk needs nothing.
void KeepSaveFolder();
