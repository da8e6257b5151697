#include "graphics/Palette.h"

#include "core/Image.h"
#include "core/TableText.h"
#include "core/TextFile.h"
#include "graphics/PageFile.h"

#include <limits>
#include <optional>
#include <vector>

namespace tsl {

namespace {

// The whole-number fields of a line separated by blanks; nothing when a field
// is not a number.
std::optional<std::vector<int>> Numbers(std::string_view line)
{
    std::vector<int> numbers;
    for (const std::string_view item : Items(line)) {
        const auto value = WholeNumber(item, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        if (!value)
            return std::nullopt;
        numbers.push_back(*value);
    }
    return numbers;
}

} // namespace

Outcome<Palette> Palette::Parse(std::string_view text, const std::string& fileName)
{
    const std::vector<std::string> lines = SplitLines(text);
    std::size_t at = 0;
    auto nextLine = [&](bool skipComments) -> std::optional<std::string_view> {
        for (; at < lines.size(); ++at) {
            const std::string_view line = Trimmed(lines[at]);
            if (line.empty() || (skipComments && line.front() == '#'))
                continue;
            return lines[at++];
        }
        return std::nullopt;
    };

    Palette palette;
    palette.colours.fill(kBlackPixel);
    int count = 256, maximum = 63;
    const auto first = nextLine(true);
    if (first && Trimmed(*first) == "JASC-PAL") {
        const auto version = nextLine(false);
        if (!version || Trimmed(*version) != "0100")
            return LineFailure(fileName, at, "a JASC-PAL file has the version 0100 here", kGraphicsErrorCaption);
        const auto countLine = nextLine(false);
        const auto counted = countLine ? Numbers(*countLine) : std::nullopt;
        if (!counted || counted->size() != 1 || (*counted)[0] < 1 || (*counted)[0] > 256)
            return LineFailure(fileName, at, "a JASC-PAL file gives its number of colours (1 to 256) here",
                               kGraphicsErrorCaption);
        count = (*counted)[0];
        maximum = 255;
    } else {
        at = 0; // the first colour line is read again below
    }

    for (int index = 0; index < count; ++index) {
        const auto line = nextLine(maximum == 63);
        if (!line)
            return Failure{"\"" + fileName + "\" holds " + std::to_string(index) + " colours instead of " +
                               std::to_string(count) + ".",
                           kGraphicsErrorCaption, MessageIcon::Warning};
        const auto rgb = Numbers(*line);
        if (!rgb || rgb->size() != 3)
            return LineFailure(fileName, at, "a colour is three numbers, red, green and blue", kGraphicsErrorCaption);
        std::uint32_t pixel = kOpaque;
        for (int channel = 0; channel < 3; ++channel) {
            const int value = (*rgb)[static_cast<std::size_t>(channel)];
            if (value < 0 || value > maximum)
                return LineFailure(fileName, at, "the colour values lie from 0 to " + std::to_string(maximum),
                                   kGraphicsErrorCaption);
            const int scaled = maximum == 63 ? value * 255 / 63 : value;
            pixel |= static_cast<std::uint32_t>(scaled) << (16 - 8 * channel);
        }
        palette.colours[static_cast<std::size_t>(index)] = pixel;
    }
    if (nextLine(maximum == 63))
        return LineFailure(fileName, at, "the palette ends after " + std::to_string(count) + " colours",
                           kGraphicsErrorCaption);
    return palette;
}

Outcome<Palette> Palette::Load(const std::filesystem::path& path)
{
    return LoadTable<Palette>(path, "The palette", kGraphicsErrorCaption);
}

} // namespace tsl
