// picture_set.h -- the numbered pictures of "graphics.vbf": how many, their names, and the order
// and failure lines of their loading, which every back end keeps.
#pragma once

#include <cstdio>

#include "core/log/debug_log.h"

constexpr int BlockPictureCount = 7;
constexpr int SparkPictureCount = 3;

constexpr const char* BlockNameFormat = "block%i.bmp";
constexpr const char* GhostBlockNameFormat = "block%i-ghost.bmp";
constexpr const char* SparkNameFormat = "spark%i.bmp";

// A numbered picture's name, such as "block3.bmp"; the numbers count from 1.
struct NumberedName {
    char text[32];
    NumberedName(const char* format, int number) { std::snprintf(text, sizeof text, format, number); }
};

namespace picture_set {

template <typename Picture, typename Load>
void LoadNumbered(Picture*& slot, const char* format, int number, const char* missing, Load load)
{
    slot = load(NumberedName(format, number).text);
    if (slot == nullptr) {
        WriteDebugLog(missing);
    }
}

}  // namespace picture_set

// Each block, then its ghost, from load(name), which gives null for a missing one; that is logged.
template <typename Picture, typename Load>
void LoadBlockPictures(Picture* (&blocks)[BlockPictureCount], Picture* (&ghosts)[BlockPictureCount], Load load)
{
    for (int i = 1; i <= BlockPictureCount; ++i) {
        picture_set::LoadNumbered(blocks[i - 1], BlockNameFormat, i, "Error loading blocks!", load);
        picture_set::LoadNumbered(ghosts[i - 1], GhostBlockNameFormat, i, "Error loading ghost blocks!", load);
    }
}

template <typename Picture, typename Load>
void LoadSparkPictures(Picture* (&sparks)[SparkPictureCount], Load load)
{
    for (int i = 1; i <= SparkPictureCount; ++i) {
        picture_set::LoadNumbered(sparks[i - 1], SparkNameFormat, i, "Failed to load spark images", load);
    }
}
