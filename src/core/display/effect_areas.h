// effect_areas.h -- where the spark and static effects draw on the game area, and the spark's pace.
// Every back end draws them at the same places with the same failure lines.
#pragma once

#include <cstdint>

constexpr uint32_t SparkPauseMs = 20;  // between two cells of a spark's run
constexpr int32_t BoardLeft = 200;
constexpr int32_t BoardTop = 48;

struct StaticArea {
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
    const char* failure;
};
constexpr StaticArea Screen1 = {49, 180, 120, 120, "Error during screen 1 static blit"};
constexpr StaticArea Screen3 = {465, 190, 169, 100, "Error during screen 3static blit"};
