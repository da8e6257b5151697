#pragma once
// Hand-built page files for the graphics tests: walls, sprites made of posts
// as the engine stores them, and the directory that lists them.

#include "core/Bytes.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace tsl::test {

// One run of opaque rows [top, bottom) of a sprite column and its pixels.
struct TestPost {
    int top = 0;
    int bottom = 0;
    std::vector<std::uint8_t> pixels; // bottom - top palette indices
};
// `length` pixels counting up from `seed`.
std::vector<std::uint8_t> TestPixels(int length, int seed);
struct TestColumn {
    int column = 0;
    std::vector<TestPost> posts;
};

// A wall chunk: 4096 bytes, the byte at c * 64 + r being (seed + c * 3 + r) mod 256.
Bytes TestWall(int seed);
// A sprite chunk with the columns `first` .. `last`; a column without an entry
// has no posts. Each post's pixel offset is its pixels' place minus its
// start row, wrapped to 16 bits, as the game files hold it.
Bytes TestSprite(int first, int last, const std::vector<TestColumn>& columns);

// A page file: the chunks in order (an empty one is listed with offset and
// length 0), with the first sprite and sound chunks given.
Bytes TestPageFile(const std::vector<Bytes>& chunks, int firstSprite, int firstSound);

// The real shareware page file, when the game data is there.
std::optional<std::filesystem::path> RealPageFileWL1();

} // namespace tsl::test
