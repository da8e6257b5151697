// Names between Windows-1252 bytes and UTF-8: every byte comes back as it
// was, and typed text that Windows-1252 cannot hold is refused by name.

#include "core/Windows1252.h"

#include <gtest/gtest.h>

using namespace tsl;

TEST(Windows1252, EveryByteComesBackAsItWas)
{
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(byte)), byte) << b;
    }
    const std::pair<unsigned char, const char*> characters[] = {
        {0x41, "A"},          {0x80, "\u20AC"}, {0x8A, "\u0160"}, {0x9F, "\u0178"}, {0xA0, "\u00A0"},
        {0xE9, "\u00E9"},     {0xFF, "\u00FF"},
        // The five undefined bytes, as the C1 controls of their number.
        {0x81, "\xC2\x81"},   {0x8D, "\xC2\x8D"}, {0x8F, "\xC2\x8F"}, {0x90, "\xC2\x90"}, {0x9D, "\xC2\x9D"}};
    for (auto [byte, utf8] : characters) {
        EXPECT_EQ(Windows1252ToUtf8(std::string(1, static_cast<char>(byte))), utf8) << int{byte};
        EXPECT_EQ(IsUndefinedInWindows1252(byte), utf8[0] == '\xC2' && byte < 0xA0) << int{byte};
    }
}

TEST(Windows1252, TypedTextIsRefusedAtItsFirstCharacterWithoutAByte)
{
    const std::pair<const char*, const char*> refused[] = {
        {"A \u2192 B", "\u2192"},   {"\u6F22\u5B57", "\u6F22"}, {"x\U0001F600", "\U0001F600"},
        {"\u0080", "\u0080"},       // a C1 control that is no undefined byte
        {"\xFF", "\uFFFD"},         // not UTF-8: a stray byte,
        {"\xC3", "\uFFFD"},         // a sequence cut short,
        {"\xC0\xA9", "\uFFFD"},     // an overlong form,
        {"\xED\xA0\x80", "\uFFFD"}, // a surrogate
    };
    for (auto [text, character] : refused) {
        std::string named;
        EXPECT_FALSE(Utf8ToWindows1252(text, &named)) << text;
        EXPECT_EQ(named, character) << text;
    }
    // The refusal's text is checked where each dialog shows it (MapCommandDialogsTest, TMapSymbolsBoxTest).
    EXPECT_EQ(*TypedName("Caf\u00E9 \u20AC5", "map name", "Map name error"), "Caf\xE9 \x80" "5");
}
