// main.cpp -- assetgen <output-folder>: draws, synthesises and packs every asset of the game.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bmp_writer.h"
#include "byte_writer.h"
#include "contact_sheet.h"
#include "core/archive/resource_archive.h"
#include "core/display/glyph_sheet.h"
#include "glyph_sheet.h"
#include "icon_cursor.h"
#include "music.h"
#include "ogg_encoder.h"
#include "pictures.h"
#include "png_writer.h"
#include "sound_effects.h"
#include "synth.h"
#include "wav_writer.h"

namespace fs = std::filesystem;

namespace {

struct StoredFile {
    std::string name;
    std::vector<uint8_t> bytes;
};

// Writes the files into the scratch folder, then packs them in the given order.
bool PackArchive(const fs::path& archivePath, const fs::path& scratch, const std::vector<StoredFile>& files)
{
    for (const StoredFile& f : files) {
        if (!WriteWholeFile((scratch / f.name).string(), f.bytes)) {
            std::fprintf(stderr, "assetgen: cannot write %s\n", (scratch / f.name).string().c_str());
            return false;
        }
    }
    ResourceArchive archive;
    if (!archive.Create(archivePath.string().c_str())) {
        std::fprintf(stderr, "assetgen: cannot create %s\n", archivePath.string().c_str());
        return false;
    }
    for (const StoredFile& f : files) {
        if (!archive.AddFile((scratch / f.name).string().c_str())) {
            std::fprintf(stderr, "assetgen: cannot add %s\n", f.name.c_str());
            return false;
        }
    }
    if (!archive.WriteArchive()) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", archivePath.string().c_str());
        return false;
    }
    archive.Close();
    return true;
}

bool WriteOutput(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    if (bytes.empty()) {
        std::fprintf(stderr, "assetgen: could not encode %s\n", path.string().c_str());
        return false;
    }
    if (WriteWholeFile(path.string(), bytes)) {
        return true;
    }
    std::fprintf(stderr, "assetgen: cannot write %s\n", path.string().c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: assetgen <output-folder>\n");
        return 2;
    }
    const fs::path out = argv[1];
    const fs::path scratch = out / "assetgen-stored";
    std::error_code error;
    fs::create_directories(scratch, error);
    if (error) {
        std::fprintf(stderr, "assetgen: cannot create %s: %s\n", scratch.string().c_str(), error.message().c_str());
        return 1;
    }

    const std::vector<Picture> pictures = MakePictureSet();
    std::vector<StoredFile> bitmaps;
    for (const Picture& p : pictures) {
        bitmaps.push_back({p.name, EncodeBmp24(p.image)});
    }
    // Last, so the 32 pictures keep their places in the archive: what only the SDL build reads,
    // its font and its window's icon (on black, its transparent colour).
    bitmaps.push_back({GlyphSheetName, EncodeBmp24(MakeGlyphSheet())});
    std::vector<bool> opaque;
    const Image icon = MakeIconImage(48, opaque);
    bitmaps.push_back({"icon.bmp", EncodeBmp24(icon)});
    if (!PackArchive(out / "graphics.vbf", scratch, bitmaps)) {
        return 1;
    }
    // The same icon for the desktop's menus, where an installed SDL build shows it.
    if (!WriteOutput(out / "quadrone.png", EncodePng(icon, opaque))) {
        return 1;
    }
    if (!WriteOutput(out / "contact-sheet.png", EncodePng(MakeContactSheet(pictures)))) {
        return 1;
    }

    std::vector<StoredFile> waves;
    for (const SoundEffect& effect : MakeSoundEffects()) {
        waves.push_back({effect.name, EncodeWav16(effect.samples, SampleRate)});
    }
    if (!PackArchive(out / "audio.vbf", scratch, waves)) {
        return 1;
    }

    if (!WriteOutput(out / "loop1.dat", EncodeOggVorbis(ComposeMusic(), SampleRate))) {
        return 1;
    }
    if (!WriteOutput(out / "quadrone.ico", MakeIconFile())) {
        return 1;
    }
    if (!WriteOutput(out / "quadrone.cur", MakeCursorFile())) {
        return 1;
    }
    return 0;
}
