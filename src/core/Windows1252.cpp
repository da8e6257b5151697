#include "core/Windows1252.h"

#include <array>
#include <cstdint>

namespace tsl {

namespace {

// The characters of bytes 0x80 ... 0x9F; the rest of the code page is Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The character that starts at `at`, moving `at` past it; U+FFFD for a
// sequence that is not UTF-8 (then `at` moves one byte).
char32_t NextCharacter(std::string_view text, std::size_t& at)
{
    const auto lead = static_cast<std::uint8_t>(text[at++]);
    if (lead < 0x80)
        return lead;
    const int length = lead >= 0xF0 && lead < 0xF5 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
    if (length == 0 || text.size() - at < static_cast<std::size_t>(length - 1))
        return kReplacement;
    char32_t c = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<std::uint8_t>(text[at + static_cast<std::size_t>(i - 1)]);
        if ((next & 0xC0) != 0x80)
            return kReplacement;
        c = (c << 6) | (next & 0x3F);
    }
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kShortest[length] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
        return kReplacement;
    at += static_cast<std::size_t>(length - 1);
    return c;
}

std::optional<char> ByteOf(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == c)
            return static_cast<char>(0x80 + i);
    return std::nullopt;
}

} // namespace

std::string Windows1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char b : bytes) {
        const auto byte = static_cast<std::uint8_t>(b);
        AppendUtf8(out, byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80u] : char32_t{byte});
    }
    return out;
}

std::optional<std::string> Utf8ToWindows1252(std::string_view text, std::string* refused)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t start = at;
        const char32_t c = NextCharacter(text, at);
        const auto byte = c == kReplacement ? std::nullopt : ByteOf(c);
        if (!byte) {
            // A stray byte is named as the replacement character, so that
            // a message naming it stays readable.
            if (refused)
                *refused = c == kReplacement ? "\xEF\xBF\xBD" : text.substr(start, at - start);
            return std::nullopt;
        }
        out += *byte;
    }
    return out;
}

Outcome<std::string> TypedName(std::string_view text, std::string_view what, const char* caption)
{
    std::string refused;
    if (auto bytes = Utf8ToWindows1252(text, &refused))
        return std::move(*bytes);
    return Failure{"A " + std::string(what) + " can't contain \"" + refused +
                       "\"!\n\nNames are stored as Windows-1252 text, which has no such character.",
                   caption, MessageIcon::Error};
}

} // namespace tsl
