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
    // Installed under another prefix than the configured one (cmake --install --prefix), the data
    // folder is still where it is from the program; the configured one serves a copied program.
    const std::string candidates[] = {
        beside, beside + QUADRONE_DATA_DIR_FROM_PROGRAM "/", QUADRONE_INSTALLED_DATA_DIR "/"};
    std::string chosen = beside;
    for (const std::string& folder : candidates) {
        if (HasGraphics(folder)) {
            chosen = folder;
            break;
        }
    }
    SetFolder(DataFolder, chosen);
    char* pref = SDL_GetPrefPath("", "Quadrone");
    SetFolder(SaveFolder, pref != nullptr ? pref : "./");
    SDL_free(pref);
}
