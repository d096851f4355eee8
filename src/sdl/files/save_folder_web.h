// save_folder_web.h -- the browser's save folder, kept in the page's storage.
#pragma once

// Puts the stored files into the save folder, then calls loaded; returns at once.
void LoadSaveFolder(void (*loaded)());
