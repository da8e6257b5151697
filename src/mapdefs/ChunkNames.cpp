#include "mapdefs/ChunkNames.h"

#include "core/TableText.h"
#include "core/TextFile.h"

#include <algorithm>
#include <array>
#include <optional>

namespace tsl {

namespace {

constexpr int kMaxChunkCount = 65535;
constexpr const char* kChunkNamesCaption = "Error loading map definitions";

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
    const auto read = [&names](const TableLine& line) -> std::optional<std::string> {
        const std::vector<std::string_view> fields = Fields(line.text);
        if (fields.size() != 5)
            return std::string("a line takes file,count,chunk,kind,name");
        const std::string_view file = fields[0];
        if (file != "graphics" && file != "audio")
            return "the file is graphics or audio, not \"" + std::string(file) + "\"";
        const auto count = WholeNumber(fields[1], 1, kMaxChunkCount);
        if (!count)
            return "the count is a number from 1 to " + std::to_string(kMaxChunkCount);
        const auto chunk = WholeNumber(fields[2], 0, *count - 1);
        if (!chunk)
            return "the chunk is a number from 0 to " + std::to_string(*count - 1);
        if (!KnownChunkKind(file, fields[3]))
            return "\"" + std::string(fields[3]) + "\" is no kind of " + std::string(file) + " chunk";
        ChunkLayout* layout = nullptr;
        for (ChunkLayout& known : names.layouts_)
            if (known.file == file && known.count == *count)
                layout = &known;
        if (!layout)
            layout = &names.layouts_.emplace_back(ChunkLayout{std::string(file), *count, {}});
        if (static_cast<int>(layout->chunks.size()) != *chunk)
            return "chunk " + std::to_string(*chunk) + " of the " + std::string(file) + " layout of " +
                   std::to_string(*count) + " chunks should be " + std::to_string(layout->chunks.size()) +
                   ": a layout lists its chunks in order";
        layout->chunks.push_back({*chunk, std::string(fields[3]), std::string(fields[4])});
        return std::nullopt;
    };
    if (auto failure = ReadTable(text, fileName, kChunkNamesCaption, read))
        return *failure;
    for (const ChunkLayout& layout : names.layouts_)
        if (static_cast<int>(layout.chunks.size()) != layout.count)
            return Failure{"\"" + fileName + "\": the " + layout.file + " layout of " + std::to_string(layout.count) +
                               " chunks lists only " + std::to_string(layout.chunks.size()) + ".",
                           kChunkNamesCaption, MessageIcon::Warning};
    return names;
}

Outcome<ChunkNames> ChunkNames::Load(const std::filesystem::path& path)
{
    const auto text = ReadTextFile(path);
    if (!text)
        return Failure{"Couldn't read " + path.string() + "!", kChunkNamesCaption, MessageIcon::Warning};
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
