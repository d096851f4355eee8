// save_folder_disk.cpp -- on a disk the files the game wrote are kept as they are written.
#include "sdl/files/folders.h"

void KeepSaveFolder()
{
}
