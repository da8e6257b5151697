#include "vgagraph/GraphicsExchange.h"

#include "core/FileSystem.h"
#include "graphics/PagePictureExchange.h"

#include <algorithm>
#include <cstdio>

namespace tsl {

namespace {

constexpr int kSheetColumns = 16;

std::string Numbered(const char* prefix, int chunk, const char* extension)
{
    char name[64];
    std::snprintf(name, sizeof name, "%s-%03d.%s", prefix, chunk, extension);
    return name;
}

Failure Refusal(const std::string& text)
{
    return {text, kPictureImportCaption, MessageIcon::Warning};
}

} // namespace

PictureBounds GraphicsBounds(GraphicsKind kind)
{
    if (kind == GraphicsKind::Tile8)
        return {64, 72, true, "the 8 x 8 tiles are one picture of 64 x 72, 8 tiles across"};
    return {kScreenWidth, kScreenHeight, false, "the game's pictures are at most 320 x 200, the size of its screen"};
}

bool IsText(std::span<const std::uint8_t> contents)
{
    return !contents.empty() && std::all_of(contents.begin(), contents.end(), [](std::uint8_t c) {
        return (c >= 0x20 && c < 0x7F) || c == '\t' || c == '\r' || c == '\n';
    });
}

std::vector<std::string> GraphicsFileNames(const GraphicsSet& set, int chunk)
{
    if (set.IsEmpty(chunk))
        return {};
    switch (set.KindOf(chunk)) {
    case GraphicsKind::Table:
        return {};
    case GraphicsKind::Picture:
        return {Numbered("picture", chunk, "png")};
    case GraphicsKind::Tile8:
        return {Numbered("tile8", chunk, "png")};
    case GraphicsKind::Font:
        return {Numbered("font", chunk, "fnt"), Numbered("font", chunk, "png")};
    case GraphicsKind::MaskedPicture:
    case GraphicsKind::Data:
        break;
    }
    return {IsText(set.Expanded(chunk)) ? Numbered("text", chunk, "txt") : Numbered("data", chunk, "bin")};
}

Bytes GraphicsPng(const IndexedPicture& picture, const Palette& palette)
{
    return EncodeIndexedPng(picture.width, picture.height, picture.indices, palette.colours, std::nullopt);
}

std::optional<IndexedPicture> FontSheet(std::span<const std::uint8_t> font)
{
    if (font.size() < 770)
        return std::nullopt;
    const int height = static_cast<std::int16_t>(GetU16(font.data()));
    int widest = 1;
    for (int c = 0; c < 256; ++c)
        widest = std::max<int>(widest, static_cast<std::int8_t>(font[770 - 256 + static_cast<std::size_t>(c)]));
    if (height < 1 || height > 255)
        return std::nullopt;
    const int cellWidth = widest + 1;
    const int cellHeight = height + 1;
    IndexedPicture sheet{kSheetColumns * cellWidth, 256 / kSheetColumns * cellHeight, {}};
    sheet.indices.assign(static_cast<std::size_t>(sheet.width) * static_cast<std::size_t>(sheet.height), 0);
    for (int c = 0; c < 256; ++c) {
        const int width = static_cast<std::int8_t>(font[514 + static_cast<std::size_t>(c)]);
        const int location = static_cast<std::int16_t>(GetU16(font.data() + 2 + c * 2));
        const int left = c % kSheetColumns * cellWidth;
        const int top = c / kSheetColumns * cellHeight;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                // Rows of `width` bytes, as the engine steps through them.
                const std::size_t at = static_cast<std::size_t>(location) + static_cast<std::size_t>(y * width + x);
                if (location < 0 || at >= font.size())
                    return std::nullopt;
                sheet.indices[static_cast<std::size_t>((top + y) * sheet.width + left + x)] = font[at];
            }
    }
    return sheet;
}

std::optional<Failure> ImportGraphic(GraphicsSet& set, int chunk, std::span<const std::uint8_t> file,
                                     const std::string& name, const Palette& palette)
{
    if (chunk < 0 || chunk >= set.ChunkCount())
        return Refusal("There is no chunk " + std::to_string(chunk) + ": the game's pictures have " +
                       std::to_string(set.ChunkCount()) + " chunks.");
    const GraphicsKind kind = set.KindOf(chunk);
    if (kind == GraphicsKind::Picture || kind == GraphicsKind::Tile8) {
        auto picture = ReadPictureFile(file, name, GraphicsBounds(kind));
        if (!picture)
            return picture.failure();
        return set.ReplacePicture(chunk, {picture->width, picture->height, PaletteIndices(*picture, palette)});
    }
    if (kind == GraphicsKind::Table)
        return set.ReplaceData(chunk, file); // refused with why
    static constexpr std::uint8_t kPngSignature[4] = {0x89, 'P', 'N', 'G'};
    if (file.size() >= 4 && std::equal(kPngSignature, kPngSignature + 4, file.begin()))
        return Refusal("\"" + name + "\" is a picture, but chunk " + std::to_string(chunk) + " is " +
                       (kind == GraphicsKind::Font ? "a font: it comes back from the .fnt file Tesselar exports."
                                                   : "data: it comes back from the .txt or .bin file Tesselar exports."));
    return set.ReplaceData(chunk, file);
}

Outcome<std::vector<std::string>> ExportGraphics(const GraphicsSet& set, const Palette& palette,
                                                 const std::filesystem::path& folder,
                                                 const std::optional<std::set<int>>& chunks)
{
    const auto failed = [](const DiskError& error) {
        return Failure{"Couldn't write " + error.Describe() + "!", kGraphicsExportCaption, MessageIcon::Error};
    };
    std::vector<FileWrite> files;
    for (int chunk = 0; chunk < set.ChunkCount(); ++chunk) {
        const std::vector<std::string> names = GraphicsFileNames(set, chunk);
        if (names.empty() || (chunks && !chunks->contains(chunk)))
            continue;
        const GraphicsKind kind = set.KindOf(chunk);
        if (kind == GraphicsKind::Picture || kind == GraphicsKind::Tile8) {
            if (const auto picture = set.Picture(chunk))
                files.push_back({folder / names[0], GraphicsPng(*picture, palette)});
            continue;
        }
        const Bytes contents = set.Expanded(chunk);
        files.push_back({folder / names[0], contents});
        if (kind == GraphicsKind::Font)
            if (const auto sheet = FontSheet(contents))
                files.push_back({folder / names[1], GraphicsPng(*sheet, palette)});
    }
    if (auto error = MakeDirectories(folder))
        return failed(*error);
    if (auto error = WriteFiles(files))
        return failed(*error);
    std::vector<std::string> written;
    for (const FileWrite& file : files)
        written.push_back(file.target.filename().string());
    return written;
}

} // namespace tsl
