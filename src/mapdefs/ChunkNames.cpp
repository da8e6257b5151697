#include "mapdefs/ChunkNames.h"

#include "core/TextFile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

namespace tsl {

namespace {

constexpr int kMaxChunkCount = 65535;

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string_view> Fields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(Trimmed(line.substr(start, comma == std::string_view::npos ? comma : comma - start)));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
    }
}

std::optional<int> Number(std::string_view text, int min, int max)
{
    int value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() || value < min || value > max)
        return std::nullopt;
    return value;
}

} // namespace

bool KnownChunkKind(std::string_view file, std::string_view kind)
{
    static constexpr std::array<std::string_view, 6> kGraphics = {"table", "font", "picture", "masked_picture",
                                                                  "tile8", "data"};
    static constexpr std::array<std::string_view, 4> kAudio = {"pc_speaker", "adlib", "digitised", "music"};
    if (file == "graphics")
        return std::find(kGraphics.begin(), kGraphics.end(), kind) != kGraphics.end();
    if (file == "audio")
        return std::find(kAudio.begin(), kAudio.end(), kind) != kAudio.end();
    return false;
}

Outcome<ChunkNames> ChunkNames::Parse(std::string_view text, const std::string& fileName)
{
    ChunkNames names;
    const std::vector<std::string> lines = SplitLines(text);
    const auto refuse = [&](std::size_t line, const std::string& what) {
        return Failure{fileName + ", line " + std::to_string(line + 1) + ": " + what, "Error loading map definitions",
                       MessageIcon::Warning};
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = Trimmed(lines[i]);
        if (line.empty() || line.front() == '#')
            continue;
        const std::vector<std::string_view> fields = Fields(line);
        if (fields.size() != 5)
            return refuse(i, "a line takes file,count,chunk,kind,name.");
        const std::string_view file = fields[0];
        if (file != "graphics" && file != "audio")
            return refuse(i, "the file is graphics or audio, not \"" + std::string(file) + "\".");
        const auto count = Number(fields[1], 1, kMaxChunkCount);
        if (!count)
            return refuse(i, "the count is a number from 1 to " + std::to_string(kMaxChunkCount) + ".");
        const auto chunk = Number(fields[2], 0, *count - 1);
        if (!chunk)
            return refuse(i, "the chunk is a number from 0 to " + std::to_string(*count - 1) + ".");
        if (!KnownChunkKind(file, fields[3]))
            return refuse(i, "\"" + std::string(fields[3]) + "\" is no kind of " + std::string(file) + " chunk.");
        ChunkLayout* layout = nullptr;
        for (ChunkLayout& known : names.layouts_)
            if (known.file == file && known.count == *count)
                layout = &known;
        if (!layout)
            layout = &names.layouts_.emplace_back(ChunkLayout{std::string(file), *count, {}});
        if (static_cast<int>(layout->chunks.size()) != *chunk)
            return refuse(i, "chunk " + std::to_string(*chunk) + " of the " + std::string(file) + " layout of " +
                                 std::to_string(*count) + " chunks should be " +
                                 std::to_string(layout->chunks.size()) + ": a layout lists its chunks in order.");
        layout->chunks.push_back({*chunk, std::string(fields[3]), std::string(fields[4])});
    }
    for (const ChunkLayout& layout : names.layouts_)
        if (static_cast<int>(layout.chunks.size()) != layout.count)
            return Failure{fileName + ": the " + layout.file + " layout of " + std::to_string(layout.count) +
                               " chunks lists only " + std::to_string(layout.chunks.size()) + ".",
                           "Error loading map definitions", MessageIcon::Warning};
    return names;
}

Outcome<ChunkNames> ChunkNames::Load(const std::filesystem::path& path)
{
    const auto text = ReadTextFile(path);
    if (!text)
        return Failure{"Couldn't read " + path.string() + "!", "Error loading map definitions", MessageIcon::Warning};
    return Parse(*text, path.filename().string());
}

const ChunkLayout* ChunkNames::Layout(std::string_view file, int count) const
{
    for (const ChunkLayout& layout : layouts_)
        if (layout.file == file && layout.count == count)
            return &layout;
    return nullptr;
}

} // namespace tsl
