// save_folder_web.cpp -- the browser's save folder: Emscripten's IDBFS over the folder SDL names,
// read from the page's IndexedDB before the game starts and written back after each save. The
// write-backs run one after the other; Module.saved settles when the last one asked for has.
#include <emscripten.h>

#include <string>

#include "core/log/debug_log.h"
#include "sdl/files/folders.h"
#include "sdl/files/save_folder_web.h"

namespace {

using LoadedCall = void (*)();

// clang-format off
EM_JS(void, MountAndLoad, (const char* folder, LoadedCall loaded), {
    FS.mount(IDBFS, {}, UTF8ToString(folder));
    FS.syncfs(true, function (error) {
        if (error) {
            console.warn("The saved files could not be read: " + error);
        }
        dynCall("v", loaded, []);
    });
});

EM_JS(void, WriteBack, (), {
    Module.saved = (Module.saved || Promise.resolve()).then(function () {
        return new Promise(function (resolve) {
            FS.syncfs(false, function (error) {
                if (error) {
                    console.warn("The saved files could not be written: " + error);
                }
                resolve();
            });
        });
    });
});
// clang-format on

}  // namespace

void LoadSaveFolder(void (*loaded)())
{
    ChooseFolders();
    std::string folder = SaveFolder;
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    MountAndLoad(folder.c_str(), loaded);
}

void KeepSaveFolder()
{
    WriteBack();
}
