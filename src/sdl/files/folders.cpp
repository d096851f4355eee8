// folders.cpp -- the player's data folder from SDL, the game's data files beside the program.
#include "sdl/files/folders.h"

#include <SDL.h>

#include <cstdio>
#include <string>

#include "core/log/debug_log.h"

namespace {

bool HasGraphics(const std::string& folder)
{
    std::FILE* file = std::fopen((folder + "graphics.vbf").c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    std::fclose(file);
    return true;
}

void SetFolder(char (&folder)[DataPathSize], const std::string& path)
{
    std::snprintf(folder, DataPathSize, "%s", path.c_str());
}

}  // namespace

void ChooseFolders()
{
    char* base = SDL_GetBasePath();
    const std::string beside = base != nullptr ? base : "./";
    SDL_free(base);
    const std::string installed = QUADRONE_INSTALLED_DATA_DIR "/";
    SetFolder(DataFolder, HasGraphics(beside) || !HasGraphics(installed) ? beside : installed);
    char* pref = SDL_GetPrefPath("", "Quadrone");
    SetFolder(SaveFolder, pref != nullptr ? pref : "./");
    SDL_free(pref);
}
