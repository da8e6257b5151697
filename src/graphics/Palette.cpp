#include "graphics/Palette.h"

#include "core/Image.h"
#include "core/TextFile.h"
#include "graphics/PageFile.h"

#include <charconv>
#include <optional>
#include <vector>

namespace tsl {

namespace {

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The whole-number fields of a line separated by blanks; nothing when a field
// is not a number.
std::optional<std::vector<int>> Numbers(std::string_view line)
{
    std::vector<int> numbers;
    std::size_t at = 0;
    while (at < line.size()) {
        at = line.find_first_not_of(" \t", at);
        if (at == std::string_view::npos)
            break;
        const std::size_t end = std::min(line.find_first_of(" \t", at), line.size());
        int value = 0;
        const auto [ptr, ec] = std::from_chars(line.data() + at, line.data() + end, value);
        if (ec != std::errc() || ptr != line.data() + end)
            return std::nullopt;
        numbers.push_back(value);
        at = end;
    }
    return numbers;
}

Failure LineFailure(const std::string& fileName, std::size_t line, const std::string& what)
{
    return {"Line " + std::to_string(line) + " of \"" + fileName + "\": " + what + ".", kGraphicsErrorCaption,
            MessageIcon::Warning};
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
            return LineFailure(fileName, at, "a JASC-PAL file has the version 0100 here");
        const auto countLine = nextLine(false);
        const auto counted = countLine ? Numbers(*countLine) : std::nullopt;
        if (!counted || counted->size() != 1 || (*counted)[0] < 1 || (*counted)[0] > 256)
            return LineFailure(fileName, at, "a JASC-PAL file gives its number of colours (1 to 256) here");
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
            return LineFailure(fileName, at, "a colour is three numbers, red, green and blue");
        std::uint32_t pixel = kOpaque;
        for (int channel = 0; channel < 3; ++channel) {
            const int value = (*rgb)[static_cast<std::size_t>(channel)];
            if (value < 0 || value > maximum)
                return LineFailure(fileName, at, "the colour values lie from 0 to " + std::to_string(maximum));
            const int scaled = maximum == 63 ? value * 255 / 63 : value;
            pixel |= static_cast<std::uint32_t>(scaled) << (16 - 8 * channel);
        }
        palette.colours[static_cast<std::size_t>(index)] = pixel;
    }
    if (nextLine(maximum == 63))
        return LineFailure(fileName, at, "the palette ends after " + std::to_string(count) + " colours");
    return palette;
}

Outcome<Palette> Palette::Load(const std::filesystem::path& path)
{
    auto text = ReadTextFile(path);
    if (!text)
        return Failure{"The palette \"" + path.string() + "\" cannot be read.", kGraphicsErrorCaption,
                       MessageIcon::Warning};
    return Parse(*text, path.string());
}

} // namespace tsl
