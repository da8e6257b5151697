// The RLEW and Carmack codecs against hand-built byte streams, random round
// trips, and the exhaustive compressor as the oracle.

#include "CarmackOracle.h"
#include "TestUtil.h"
#include "core/Compression.h"

#include <gtest/gtest.h>

#include <random>

using namespace tsl;
using namespace tsl::test;

namespace {

constexpr std::uint16_t kTag = 0xABCD;

Bytes Words(std::initializer_list<std::uint16_t> words)
{
    Bytes out;
    for (std::uint16_t w : words)
        Put16(out, w);
    return out;
}

} // namespace

TEST(RLEWCompress, WritesTheLengthWordAndCollapsesRunsOfFourOrMore)
{
    // A plane of 4096 equal words is one run: 0x2000, tag, 4096, value.
    std::vector<std::uint16_t> plane(4096, 0x0001);
    EXPECT_EQ(RLEWCompress(plane, kTag), Words({0x2000, kTag, 4096, 0x0001}));

    // Three equal words stay literals; four become a run.
    EXPECT_EQ(RLEWCompress(std::vector<std::uint16_t>{7, 7, 7, 9}, kTag), Words({0x2000, 7, 7, 7, 9}));
    EXPECT_EQ(RLEWCompress(std::vector<std::uint16_t>{7, 7, 7, 7, 9}, kTag), Words({0x2000, kTag, 4, 7, 9}));

    // A lone tag word is a run of one.
    EXPECT_EQ(RLEWCompress(std::vector<std::uint16_t>{1, kTag, 2}, kTag), Words({0x2000, 1, kTag, 1, kTag, 2}));
}

TEST(RLEWCompress, SplitsRunsLongerThanTheCountCanTell)
{
    // A full 256 x 256 plane of one word: 65536 words do not fit one count.
    std::vector<std::uint16_t> plane(65536, 0x0005);
    EXPECT_EQ(RLEWCompress(plane, kTag), Words({0x2000, kTag, 0xFFFF, 5, 5}));

    // 65535 + 4 words: a full run and a short one.
    std::vector<std::uint16_t> longer(65539, kTag);
    EXPECT_EQ(RLEWCompress(longer, kTag), Words({0x2000, kTag, 0xFFFF, kTag, kTag, 4, kTag}));
}

TEST(RLEWExpand, ReadsLiteralsRunsAndEmptyRuns)
{
    const Bytes stream = Words({1, kTag, 3, 9, kTag, 0, 4, 2});
    std::vector<std::uint16_t> plane(5);
    const ExpandResult r = RLEWExpand(std::span<const std::uint8_t>(stream), plane, kTag);
    EXPECT_TRUE(r.sound);
    EXPECT_EQ(plane, (std::vector<std::uint16_t>{1, 9, 9, 9, 2}));
}

TEST(RLEWExpand, StaysInsideItsBuffersOnBadStreams)
{
    std::vector<std::uint16_t> plane(4, 0);
    // A run longer than the plane is cut at its end.
    ExpandResult r = RLEWExpand(std::span<const std::uint8_t>(Words({kTag, 100, 6})), plane, kTag);
    EXPECT_FALSE(r.sound);
    EXPECT_EQ(plane, (std::vector<std::uint16_t>{6, 6, 6, 6}));

    // A stream that ends early leaves the rest as it was.
    plane.assign(4, 0);
    r = RLEWExpand(std::span<const std::uint8_t>(Words({5, 6})), plane, kTag);
    EXPECT_FALSE(r.sound);
    EXPECT_EQ(r.produced, 2u);
    EXPECT_EQ(plane, (std::vector<std::uint16_t>{5, 6, 0, 0}));

    // A run cut after its tag or count.
    r = RLEWExpand(std::span<const std::uint8_t>(Words({5, kTag, 3})), plane, kTag);
    EXPECT_FALSE(r.sound);
    EXPECT_EQ(r.produced, 1u);
}

TEST(CarmackExpand, ReadsLiteralsNearAndFarReferencesAndTagEscapes)
{
    const Bytes chunk = {
        1, 0,             // literal
        2, 0,             // literal
        0x02, 0xA7, 2,    // near: 2 words, 2 back
        0x03, 0xA8, 1, 0, // far: 3 words from word 1
        0x00, 0xA7, 0x12, // escaped 0xA712
        0x00, 0xA8, 0xFF, // escaped 0xA8FF
    };
    std::vector<std::uint16_t> out(9);
    const ExpandResult r = CarmackExpand(chunk, out, 0xA7, 0xA8);
    EXPECT_TRUE(r.sound);
    EXPECT_EQ(out, (std::vector<std::uint16_t>{1, 2, 1, 2, 2, 1, 2, 0xA712, 0xA8FF}));
}

TEST(CarmackExpand, OverlappingCopiesRepeatTheWordsJustWritten)
{
    const Bytes chunk = {
        5, 0, 6, 0,
        0x05, 0xA7, 2,    // 5 words from 2 back: 5 6 5 6 5
        0x03, 0xA8, 6, 0, // 3 words from word 6 (the last), overlapping the output
    };
    std::vector<std::uint16_t> out(10);
    EXPECT_TRUE(CarmackExpand(chunk, out, 0xA7, 0xA8).sound);
    EXPECT_EQ(out, (std::vector<std::uint16_t>{5, 6, 5, 6, 5, 6, 5, 5, 5, 5}));
}

TEST(CarmackExpand, UsesTheConfiguredTags)
{
    const Bytes chunk = {
        0x01, 0xA7,    // an ordinary word under other tags
        0x01, 0x10, 1, // near tag 0x10: one word, one back
    };
    std::vector<std::uint16_t> out(2);
    EXPECT_TRUE(CarmackExpand(chunk, out, 0x10, 0x20).sound);
    EXPECT_EQ(out, (std::vector<std::uint16_t>{0xA701, 0xA701}));
}

TEST(CarmackExpand, RefusesReferencesOutsideWhatWasProduced)
{
    // Chunks byte by byte; all but the first start with the literal 1. The
    // output holds 4 words.
    struct Case {
        const char* what;
        Bytes chunk;
        std::size_t produced;
    };
    const Case cases[] = {
        {"near one back, with nothing produced yet", {0x01, 0xA7, 1}, 0},
        {"near distance 0: the word being written", {1, 0, 0x01, 0xA7, 0}, 1},
        {"far from word 1, not produced yet", {1, 0, 0x02, 0xA8, 1, 0}, 1},
        {"255 words into a buffer of 4", {1, 0, 0xFF, 0xA7, 1}, 1},
        {"chunk ends inside an item: the distance byte is missing", {1, 0, 0x02, 0xA7}, 1},
        {"chunk ends early", {1, 0}, 1},
    };
    for (const Case& c : cases) {
        std::vector<std::uint16_t> out(4, 0xEEEE);
        const ExpandResult r = CarmackExpand(c.chunk, out, 0xA7, 0xA8);
        EXPECT_FALSE(r.sound) << c.what;
        EXPECT_EQ(r.produced, c.produced) << c.what;
    }
}

TEST(CarmackCompress, EscapesWordsWhoseHighByteIsATag)
{
    // No earlier word matches, so 0xA712 is a literal: 0x00, 0xA7, 0x12.
    const Bytes rlew = Words({0x2000, 0xA712, 0xA8FF});
    const Bytes expected = {6, 0, 0x00, 0x20, 0x00, 0xA7, 0x12, 0x00, 0xA8, 0xFF};
    const Bytes chunk = *CarmackCompress(rlew, 0xA7, 0xA8);
    EXPECT_EQ(chunk, expected);
    std::vector<std::uint16_t> back(3);
    EXPECT_TRUE(CarmackExpand(std::span(chunk).subspan(2), back, 0xA7, 0xA8).sound);
    EXPECT_EQ(back, (std::vector<std::uint16_t>{0x2000, 0xA712, 0xA8FF}));
}

TEST(CarmackCompress, PrefersNearReferencesAndTheNearestOfEqualMatches)
{
    // 1 2 1 2 ... : the second pair is a near reference of length 2, 2 back.
    EXPECT_EQ(*CarmackCompress(Words({1, 2, 1, 2}), 0xA7, 0xA8), (Bytes{8, 0, 1, 0, 2, 0, 0x02, 0xA7, 2}));

    // 3 4 9 3 4 8 3 4: the last pair matches at both earlier places; the
    // nearest (3 back) wins.
    const Bytes chunk = *CarmackCompress(Words({3, 4, 9, 3, 4, 8, 3, 4}), 0xA7, 0xA8);
    ASSERT_GE(chunk.size(), 3u);
    EXPECT_EQ(Bytes(chunk.end() - 3, chunk.end()), (Bytes{0x02, 0xA7, 0x03}));
}

TEST(CarmackCompress, UsesFarReferencesOnlyForThreeWordsOrMore)
{
    // A pattern, then 300 distinct words, then the pattern again: too far for
    // a near reference. Three words go as a far reference to word 0.
    Bytes rlew = Words({100, 101, 102});
    for (std::uint16_t k = 0; k < 300; ++k)
        Put16(rlew, static_cast<std::uint16_t>(1000 + k));
    for (std::uint16_t w : {100, 101, 102, 100, 101})
        Put16(rlew, w);
    const Bytes chunk = *CarmackCompress(rlew, 0xA7, 0xA8);
    // ... far 3 from word 0, then the last two words as a near reference of 2.
    const Bytes tail(chunk.end() - 7, chunk.end());
    EXPECT_EQ(tail, (Bytes{0x03, 0xA8, 0x00, 0x00, 0x02, 0xA7, 0x03}));
    EXPECT_EQ(chunk, CarmackCompressExhaustive(rlew, 0xA7, 0xA8));
}

TEST(CarmackCompress, MatchesTheExhaustiveSearchOnRandomStreams)
{
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        const std::size_t words = 1 + random() % 900;
        const unsigned alphabet = 1 + random() % 20;
        // Tags from the default pair, or values that collide with the data.
        const auto nearTag = static_cast<std::uint8_t>(round % 3 == 0 ? 0xA7 : random() % 256);
        auto farTag = static_cast<std::uint8_t>(round % 3 == 0 ? 0xA8 : random() % 256);
        if (farTag == nearTag)
            farTag = static_cast<std::uint8_t>(nearTag + 1);
        Bytes source;
        for (std::size_t k = 0; k < words; ++k) {
            const auto high = static_cast<std::uint16_t>(random() % 4 == 0 ? nearTag : random() % alphabet);
            Put16(source, static_cast<std::uint16_t>((high << 8) | (random() % alphabet)));
        }
        if (round % 5 == 0)
            source.push_back(0x42); // an odd length
        ASSERT_EQ(*CarmackCompress(source, nearTag, farTag), CarmackCompressExhaustive(source, nearTag, farTag))
            << "round " << round;
    }
}

TEST(CarmackCompress, MatchesTheExhaustiveSearchOnLongRepetitiveStreams)
{
    // Long runs of one pattern make matches reach the 255-word cap and the
    // chains grow long.
    for (std::uint16_t period : {1, 2, 3, 7, 300}) {
        Bytes source;
        for (std::size_t k = 0; k < 4000; ++k)
            Put16(source, static_cast<std::uint16_t>(k % period));
        EXPECT_EQ(*CarmackCompress(source, 0xA7, 0xA8), CarmackCompressExhaustive(source, 0xA7, 0xA8)) << period;
    }
}

TEST(Codecs, RandomPlanesRoundTripThroughBothLayouts)
{
    std::mt19937 random(2024);
    const std::pair<int, int> sizes[] = {{1, 1}, {2, 3}, {32, 32}, {64, 64}, {64, 40}, {100, 7}, {128, 128}};
    for (auto [w, h] : sizes) {
        for (int round = 0; round < 6; ++round) {
            const auto rlewTag = static_cast<std::uint16_t>(round == 0 ? 0xABCD : random() % 16);
            const auto nearTag = static_cast<std::uint8_t>(round < 2 ? 0xA7 : random() % 256);
            const auto farTag = static_cast<std::uint8_t>(nearTag ^ (1 + random() % 255));
            std::vector<std::uint16_t> plane(static_cast<std::size_t>(w * h));
            std::uint16_t value = 0;
            for (auto& word : plane) {
                if (random() % 4 == 0)
                    value = static_cast<std::uint16_t>((random() % 3 == 0 ? nearTag << 8 : 0) | random() % 16);
                word = value;
            }
            // RLEW only (MAPTEMP).
            const Bytes rlew = RLEWCompress(plane, rlewTag);
            std::vector<std::uint16_t> back(plane.size());
            ASSERT_TRUE(RLEWExpand(std::span(rlew).subspan(2), back, rlewTag).sound);
            ASSERT_EQ(back, plane) << w << "x" << h;

            // Carmack over RLEW (GAMEMAPS).
            const Bytes chunk = *CarmackCompress(rlew, nearTag, farTag);
            std::vector<std::uint16_t> stream(Get16(chunk, 0) / 2u);
            ASSERT_TRUE(CarmackExpand(std::span(chunk).subspan(2), stream, nearTag, farTag).sound);
            back.assign(plane.size(), 0);
            ASSERT_TRUE(RLEWExpand(std::span<const std::uint16_t>(stream).subspan(1), back, rlewTag).sound);
            ASSERT_EQ(back, plane) << w << "x" << h << " tags " << int(nearTag) << "/" << int(farTag);
        }
    }
}

TEST(CarmackCompress, RefusesASourceItsLengthWordCannotHold)
{
    EXPECT_FALSE(CarmackCompress(Bytes(0x10000, 1), 0xA7, 0xA8));
    EXPECT_TRUE(CarmackCompress(Bytes(0xFFFF, 1), 0xA7, 0xA8));
}
