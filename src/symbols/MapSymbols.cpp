#include "symbols/MapSymbols.h"

#include "core/Image.h"

namespace tsl {

std::uint32_t PatternDigitPixel(char digit)
{
    // Upper case only: a lower-case "a" is no digit and gives white, as it
    // always has in the shipped files.
    const auto at = kPatternDigits.find(digit);
    return PixelOf(at == std::string_view::npos ? 0xFFFFFFu : PatternPalette[at]);
}

char PatternPixelDigit(std::uint32_t pixel)
{
    const std::uint32_t rgb = RgbOf(pixel);
    for (std::size_t i = 0; i < PatternPalette.size(); ++i)
        if (PatternPalette[i] == rgb)
            return kPatternDigits[i];
    return 'F';
}

int DirectionIndex(std::string_view code)
{
    for (std::size_t i = 0; i < kDirectionCodes.size(); ++i)
        if (kDirectionCodes[i] == code)
            return static_cast<int>(i);
    return 0;
}

} // namespace tsl
