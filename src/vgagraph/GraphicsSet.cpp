#include "vgagraph/GraphicsSet.h"

#include "core/FileSystem.h"
#include "graphics/DataFileSaving.h"

#include <algorithm>
#include <limits>

namespace tsl {

namespace {

constexpr std::size_t kOffsetBytes = 3;
constexpr std::size_t kLengthBytes = 4;
constexpr std::size_t kFontHeaderBytes = 2 + 256 * 2 + 256; // height, offsets, widths
constexpr std::size_t kTilesBytes = static_cast<std::size_t>(kTile8Count) * kTile8Bytes;
constexpr int kTilesAcross = 8;
constexpr std::size_t kMaxGraph = 0xFFFFFE; // 0xFFFFFF marks an empty chunk

std::uint32_t GetU24(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16);
}

void PutU24(Bytes& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v >> 16));
}

// Pixel (x, y) of a w x h picture in four planes.
std::size_t PlanarIndex(int x, int y, int width, int height)
{
    const auto quarter = static_cast<std::size_t>(width / 4);
    return static_cast<std::size_t>(y) * quarter + static_cast<std::size_t>(x / 4) +
           static_cast<std::size_t>(x & 3) * quarter * static_cast<std::size_t>(height);
}

Bytes ToPlanar(const IndexedPicture& picture)
{
    Bytes planar(picture.indices.size());
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            planar[PlanarIndex(x, y, picture.width, picture.height)] =
                picture.indices[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) +
                                static_cast<std::size_t>(x)];
    return planar;
}

// The tiles (64 bytes each, 8 x 8 in four planes) as a picture 8 tiles across.
constexpr int kTilesWidth = kTilesAcross * 8;
constexpr int kTilesHeight = (kTile8Count + kTilesAcross - 1) / kTilesAcross * 8;

std::size_t TileIndex(int x, int y)
{
    const int tile = (y / 8) * kTilesAcross + x / 8;
    return static_cast<std::size_t>(tile) * kTile8Bytes + PlanarIndex(x % 8, y % 8, 8, 8);
}

// What a font chunk lacks to be one the engine can draw from; empty when sound.
std::string FontFault(std::span<const std::uint8_t> font)
{
    if (font.size() < kFontHeaderBytes)
        return "a font holds at least " + std::to_string(kFontHeaderBytes) + " bytes, this one " +
               std::to_string(font.size());
    const int height = static_cast<std::int16_t>(GetU16(font.data()));
    if (height < 0)
        return "its height is " + std::to_string(height);
    for (int c = 0; c < 256; ++c) {
        const int location = static_cast<std::int16_t>(GetU16(font.data() + 2 + c * 2));
        const int width = static_cast<std::int8_t>(font[2 + 512 + static_cast<std::size_t>(c)]);
        if (width < 0 || location < 0 ||
            static_cast<std::size_t>(location) + static_cast<std::size_t>(width) * static_cast<std::size_t>(height) >
                font.size())
            return "character " + std::to_string(c) + " runs past its " + std::to_string(font.size()) + " bytes";
    }
    return {};
}

} // namespace

bool DrawnAsScreen(std::string_view name)
{
    return name == "TITLEPIC" || name == "CREDITSPIC" || name.starts_with("ENDSCREEN");
}

std::optional<GraphicsPaths> FindGraphicsFiles(const std::filesystem::path& gameDir, std::string_view extension)
{
    const std::string ext(extension);
    auto head = FindNoCase(gameDir, "VGAHEAD." + ext);
    auto dictionary = FindNoCase(gameDir, "VGADICT." + ext);
    auto graph = FindNoCase(gameDir, "VGAGRAPH." + ext);
    if (!head || !dictionary || !graph)
        return std::nullopt;
    return GraphicsPaths{*head, *dictionary, *graph};
}

Failure GraphicsSet::Refusal(std::string text)
{
    return {std::move(text), kGraphicsEditCaption, MessageIcon::Warning};
}

Outcome<GraphicsSet> GraphicsSet::Load(const GraphicsPaths& paths, const ChunkNames* names)
{
    GraphicsFiles files;
    for (const auto& [path, bytes] : {std::pair{&paths.head, &files.head}, std::pair{&paths.dictionary, &files.dictionary},
                                     std::pair{&paths.graph, &files.graph}}) {
        auto read = ReadWholeFile(*path);
        if (!read)
            return Failure{"Couldn't read " + path->string() + "!", kGraphicsLoadCaption, MessageIcon::Warning};
        *bytes = std::move(*read);
    }
    return Read(std::move(files), names, paths);
}

Outcome<GraphicsSet> GraphicsSet::Read(GraphicsFiles files, const ChunkNames* names, const GraphicsPaths& paths)
{
    const std::string fileName = paths.graph.filename().string();
    const std::string headName = paths.head.filename().string();
    const auto damaged = [&](const std::string& what) {
        return Failure{fileName + " is damaged: " + what, kGraphicsLoadCaption, MessageIcon::Warning};
    };
    auto dictionary = HuffmanDictionary::Parse(files.dictionary, paths.dictionary.filename().string());
    if (!dictionary)
        return dictionary.failure();
    const Bytes& head = files.head;
    if (head.size() % kOffsetBytes != 0 || head.size() < 2 * kOffsetBytes)
        return Failure{headName + " is damaged: it holds " + std::to_string(head.size()) +
                           " bytes, which are not 3-byte offsets of the chunks and of their end.",
                       kGraphicsLoadCaption, MessageIcon::Warning};
    const std::size_t count = head.size() / kOffsetBytes - 1;
    std::vector<std::uint32_t> offsets(count + 1);
    for (std::size_t i = 0; i <= count; ++i)
        offsets[i] = GetU24(head.data() + i * kOffsetBytes);
    const std::uint32_t end = offsets[count];
    if (end == kEmptyGraphicsChunk || end > files.graph.size())
        return damaged(headName + " ends the chunks at " + std::to_string(end) + ", past the file's " +
                       std::to_string(files.graph.size()) + " bytes.");

    GraphicsSet set;
    set.dictionary_ = std::move(*dictionary);
    set.chunks_.resize(count);
    std::uint32_t previous = 0;
    std::optional<std::uint32_t> first;
    for (std::size_t i = 0; i < count; ++i) {
        if (offsets[i] == kEmptyGraphicsChunk)
            continue;
        if (offsets[i] < previous || offsets[i] > end)
            return damaged("chunk " + std::to_string(i) + " starts at " + std::to_string(offsets[i]) +
                           (offsets[i] > end ? ", past the end of the chunks." : ", before the chunk ahead of it."));
        previous = offsets[i];
        if (!first)
            first = offsets[i];
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (offsets[i] == kEmptyGraphicsChunk)
            continue;
        std::size_t next = i + 1;
        while (offsets[next] == kEmptyGraphicsChunk)
            ++next;
        if (offsets[next] == offsets[i])
            return damaged("chunk " + std::to_string(i) + " holds no bytes.");
        set.chunks_[i] = std::make_shared<const Bytes>(files.graph.begin() + offsets[i], files.graph.begin() + offsets[next]);
    }
    set.lead_.assign(files.graph.begin(), files.graph.begin() + first.value_or(end));
    set.tail_.assign(files.graph.begin() + end, files.graph.end());

    int pictures = 0;
    if (set.chunks_[0] && set.chunks_[0]->size() >= kLengthBytes)
        pictures = static_cast<int>(std::min<std::uint32_t>(GetU32(set.chunks_[0]->data()) / 4, 0xFFFF));
    set.layout_ = GraphicsLayout::For(static_cast<int>(count), names, pictures);
    if (auto fault = set.Check(fileName))
        return *fault;
    return set;
}

GraphicsSet::Parsed GraphicsSet::ParseChunk(int chunk) const
{
    Parsed parsed;
    const Chunk stored = Stored(chunk);
    if (!stored)
        return parsed;
    if (KindOf(chunk) == GraphicsKind::Tile8) {
        parsed.expandedLength = kTilesBytes;
        parsed.bits = *stored;
        return parsed;
    }
    if (stored->size() < kLengthBytes)
        return parsed;
    parsed.lengthBytes = kLengthBytes;
    parsed.expandedLength = GetU32(stored->data());
    parsed.bits = std::span<const std::uint8_t>(*stored).subspan(kLengthBytes);
    return parsed;
}

std::optional<Failure> GraphicsSet::Check(const std::string& fileName) const
{
    const auto damaged = [&](int chunk, const std::string& what) {
        const std::string& name = layout_.NameOf(chunk);
        return Failure{fileName + " is damaged: chunk " + std::to_string(chunk) + (name.empty() ? "" : " (" + name + ")") +
                           " " + what,
                       kGraphicsLoadCaption, MessageIcon::Warning};
    };
    Bytes table;
    for (int chunk = 0; chunk < ChunkCount(); ++chunk) {
        const Chunk stored = Stored(chunk);
        if (!stored)
            continue;
        const GraphicsKind kind = KindOf(chunk);
        if (kind != GraphicsKind::Tile8 && stored->size() < kLengthBytes)
            return damaged(chunk, "holds " + std::to_string(stored->size()) + " bytes, less than its length.");
        const Parsed parsed = ParseChunk(chunk);
        if (parsed.expandedLength > std::numeric_limits<std::int32_t>::max() ||
            parsed.expandedLength > parsed.bits.size() * 8)
            if (kind != GraphicsKind::Tile8)
                return damaged(chunk, "says it expands to " + std::to_string(parsed.expandedLength) +
                                          " bytes, more than its " + std::to_string(parsed.bits.size()) +
                                          " bytes of code can give.");
        const Expansion expansion = dictionary_.Expand(parsed.bits, parsed.expandedLength);
        // The shareware's tiles hold fewer than the engine reads; it draws
        // only the first eight (the frame of its message windows).
        if (!expansion.complete && kind != GraphicsKind::Tile8)
            return damaged(chunk, "runs out of code after " + std::to_string(expansion.bytes.size()) + " of the " +
                                      std::to_string(parsed.expandedLength) + " bytes it expands to.");
        const Bytes& contents = expansion.bytes;
        if (kind == GraphicsKind::Table) {
            if (contents.size() % 4 != 0)
                return damaged(chunk, "is a picture table of " + std::to_string(contents.size()) +
                                          " bytes, not whole entries of 4.");
            if (chunk == 0)
                table = contents;
        } else if (kind == GraphicsKind::Font) {
            if (const std::string fault = FontFault(contents); !fault.empty())
                return damaged(chunk, "is no font: " + fault + ".");
        } else if (kind == GraphicsKind::Picture) {
            const std::size_t entry = static_cast<std::size_t>(chunk - layout_.FirstPicture()) * 4;
            if (chunk < layout_.FirstPicture() || entry + 4 > table.size())
                return damaged(chunk, "is a picture the picture table lists no size for.");
            const int width = static_cast<std::int16_t>(GetU16(table.data() + entry));
            const int height = static_cast<std::int16_t>(GetU16(table.data() + entry + 2));
            if (width < 0 || height < 0 || width % 4 != 0 ||
                static_cast<std::size_t>(width) * static_cast<std::size_t>(height) != contents.size())
                return damaged(chunk, "holds " + std::to_string(contents.size()) + " bytes, but the picture table gives it " +
                                          std::to_string(width) + " x " + std::to_string(height) +
                                          " pixels (a width that is a multiple of 4, a byte a pixel).");
        }
    }
    return std::nullopt;
}

bool GraphicsSet::IsEmpty(int chunk) const
{
    return !Stored(chunk);
}

GraphicsSet::Chunk GraphicsSet::Stored(int chunk) const
{
    if (chunk < 0 || chunk >= ChunkCount())
        return nullptr;
    return chunks_[static_cast<std::size_t>(chunk)];
}

Bytes GraphicsSet::Expanded(int chunk) const
{
    const Parsed parsed = ParseChunk(chunk);
    if (parsed.bits.empty())
        return {};
    return dictionary_.Expand(parsed.bits, parsed.expandedLength).bytes;
}

Bytes GraphicsSet::Contents(int chunk) const
{
    Bytes contents = Expanded(chunk);
    if (KindOf(chunk) == GraphicsKind::Tile8)
        contents.resize(kTilesBytes, 0);
    return contents;
}

std::optional<IndexedPicture> GraphicsSet::PictureSize(int chunk) const
{
    if (KindOf(chunk) != GraphicsKind::Picture || chunk < layout_.FirstPicture())
        return std::nullopt;
    const Bytes table = Expanded(0);
    const std::size_t entry = static_cast<std::size_t>(chunk - layout_.FirstPicture()) * 4;
    if (entry + 4 > table.size())
        return std::nullopt;
    IndexedPicture size;
    size.width = static_cast<std::int16_t>(GetU16(table.data() + entry));
    size.height = static_cast<std::int16_t>(GetU16(table.data() + entry + 2));
    return size;
}

std::optional<IndexedPicture> GraphicsSet::Picture(int chunk) const
{
    if (IsEmpty(chunk))
        return std::nullopt;
    if (KindOf(chunk) == GraphicsKind::Tile8) {
        const Bytes tiles = Contents(chunk);
        IndexedPicture picture{kTilesWidth, kTilesHeight, Bytes(kTilesWidth * kTilesHeight, 0)};
        for (int y = 0; y < kTilesHeight; ++y)
            for (int x = 0; x < kTilesWidth; ++x)
                if (const std::size_t at = TileIndex(x, y); at < tiles.size())
                    picture.indices[static_cast<std::size_t>(y * kTilesWidth + x)] = tiles[at];
        return picture;
    }
    auto picture = PictureSize(chunk);
    if (!picture)
        return std::nullopt;
    const Bytes planar = Expanded(chunk);
    const auto pixels = static_cast<std::size_t>(picture->width) * static_cast<std::size_t>(picture->height);
    if (planar.size() != pixels)
        return std::nullopt;
    picture->indices.resize(pixels);
    for (int y = 0; y < picture->height; ++y)
        for (int x = 0; x < picture->width; ++x)
            picture->indices[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture->width) +
                             static_cast<std::size_t>(x)] = planar[PlanarIndex(x, y, picture->width, picture->height)];
    return picture;
}

GraphicsSet::Chunk GraphicsSet::EncodeChunk(int chunk, std::span<const std::uint8_t> contents) const
{
    // What follows the old bits stays: id's "!ID!" marks.
    std::span<const std::uint8_t> trailer;
    const Parsed old = ParseChunk(chunk);
    if (!old.bits.empty()) {
        const std::size_t bits = dictionary_.Expand(old.bits, old.expandedLength).bits;
        std::size_t used = (bits + 7) / 8;
        if (bits % 8 == 0 && used < old.bits.size() && old.bits[used] == 0)
            ++used; // the byte id's encoder writes after bits that end on a byte
        if (used < old.bits.size())
            trailer = old.bits.subspan(used);
    }
    auto bytes = std::make_shared<Bytes>();
    if (KindOf(chunk) != GraphicsKind::Tile8) {
        bytes->resize(kLengthBytes);
        PutU32(bytes->data(), static_cast<std::uint32_t>(contents.size()));
    }
    const Bytes code = dictionary_.Encode(contents);
    bytes->insert(bytes->end(), code.begin(), code.end());
    bytes->insert(bytes->end(), trailer.begin(), trailer.end());
    return bytes;
}

std::optional<Failure> GraphicsSet::ReplacePicture(int chunk, const IndexedPicture& picture)
{
    const GraphicsKind kind = KindOf(chunk);
    if (chunk < 0 || chunk >= ChunkCount() || (kind != GraphicsKind::Picture && kind != GraphicsKind::Tile8))
        return Refusal("Chunk " + std::to_string(chunk) + " is no picture of the game.");
    if (picture.indices.size() != static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height))
        return Refusal("The picture's pixels do not fill its size.");
    if (kind == GraphicsKind::Tile8) {
        if (picture.width != kTilesWidth || picture.height != kTilesHeight)
            return Refusal("The 8 x 8 tiles are one picture of " + std::to_string(kTilesWidth) + " x " +
                           std::to_string(kTilesHeight) + " pixels, 8 tiles across; this one is " +
                           std::to_string(picture.width) + " x " + std::to_string(picture.height) + ".");
        Bytes tiles(kTilesBytes, 0);
        for (int y = 0; y < kTilesHeight; ++y)
            for (int x = 0; x < kTilesWidth; ++x)
                tiles[TileIndex(x, y)] = picture.indices[static_cast<std::size_t>(y * kTilesWidth + x)];
        return ReplaceData(chunk, tiles);
    }
    const std::string& name = layout_.NameOf(chunk);
    if (DrawnAsScreen(name) && (picture.width != kScreenWidth || picture.height != kScreenHeight))
        return Refusal(name + " is drawn by the engine as a whole screen, so it is " + std::to_string(kScreenWidth) +
                       " x " + std::to_string(kScreenHeight) + " pixels; this picture is " +
                       std::to_string(picture.width) + " x " + std::to_string(picture.height) + ".");
    if (picture.width % 4 != 0)
        return Refusal("The picture is " + std::to_string(picture.width) +
                       " pixels wide: the game keeps its pictures in four planes, a pixel of every fourth column "
                       "in each, so their width is a multiple of 4.");
    if (picture.width < 4 || picture.height < 1 || picture.width > kScreenWidth || picture.height > kScreenHeight)
        return Refusal("The picture is " + std::to_string(picture.width) + " x " + std::to_string(picture.height) +
                       " pixels: the game draws pictures of up to " + std::to_string(kScreenWidth) + " x " +
                       std::to_string(kScreenHeight) + ", the size of its screen.");
    const auto size = PictureSize(chunk);
    if (!size)
        return Refusal("The picture table lists no size for chunk " + std::to_string(chunk) + ".");
    const Bytes planar = ToPlanar(picture);
    if (size->width == picture.width && size->height == picture.height && planar == Contents(chunk))
        return std::nullopt;
    int missing = 0;
    if (!dictionary_.CanEncode(planar, &missing))
        return Refusal("The game's picture dictionary has no code for colour " + std::to_string(missing) +
                       ", so a picture that uses it cannot be stored.");
    std::vector<Chunk> chunks = chunks_;
    chunks[static_cast<std::size_t>(chunk)] = EncodeChunk(chunk, planar);
    if (size->width != picture.width || size->height != picture.height) {
        Bytes table = Expanded(0);
        const std::size_t entry = static_cast<std::size_t>(chunk - layout_.FirstPicture()) * 4;
        PutU16(table.data() + entry, static_cast<std::uint16_t>(picture.width));
        PutU16(table.data() + entry + 2, static_cast<std::uint16_t>(picture.height));
        if (!dictionary_.CanEncode(table, &missing))
            return Refusal("The game's picture dictionary has no code for byte " + std::to_string(missing) +
                           " of the picture table, so the new size cannot be stored.");
        chunks[0] = EncodeChunk(0, table);
    }
    std::size_t total = lead_.size();
    for (const Chunk& stored : chunks)
        total += stored ? stored->size() : 0;
    if (total > kMaxGraph)
        return Refusal("The pictures would take " + std::to_string(total) + " bytes, more than the " +
                       std::to_string(kMaxGraph) + " the header's 3-byte offsets reach.");
    chunks_ = std::move(chunks);
    return std::nullopt;
}

std::optional<Failure> GraphicsSet::ReplaceData(int chunk, std::span<const std::uint8_t> contents)
{
    const GraphicsKind kind = KindOf(chunk);
    if (chunk < 0 || chunk >= ChunkCount())
        return Refusal("There is no chunk " + std::to_string(chunk) + ": the pictures have " +
                       std::to_string(ChunkCount()) + " chunks.");
    if (kind == GraphicsKind::Table)
        return Refusal("The picture table follows the pictures: replace a picture to change its size.");
    if (kind == GraphicsKind::Picture)
        return Refusal("Chunk " + std::to_string(chunk) + " is a picture: it is replaced from a picture file.");
    if (kind == GraphicsKind::Font)
        if (const std::string fault = FontFault(contents); !fault.empty())
            return Refusal("This is no font the game can draw: " + fault + ".");
    if (contents.size() > kMaxGraph)
        return Refusal("Chunk " + std::to_string(chunk) + " would expand to " + std::to_string(contents.size()) +
                       " bytes, more than the pictures' files can hold.");
    if (const Bytes now = Contents(chunk); !IsEmpty(chunk) && std::ranges::equal(contents, now))
        return std::nullopt;
    int missing = 0;
    if (!dictionary_.CanEncode(contents, &missing))
        return Refusal("The game's picture dictionary has no code for byte " + std::to_string(missing) +
                       ", so these contents cannot be stored.");
    Chunk encoded = EncodeChunk(chunk, contents);
    std::size_t total = lead_.size() + encoded->size();
    for (int i = 0; i < ChunkCount(); ++i)
        if (i != chunk && chunks_[static_cast<std::size_t>(i)])
            total += chunks_[static_cast<std::size_t>(i)]->size();
    if (total > kMaxGraph)
        return Refusal("The pictures would take " + std::to_string(total) + " bytes, more than the " +
                       std::to_string(kMaxGraph) + " the header's 3-byte offsets reach.");
    chunks_[static_cast<std::size_t>(chunk)] = std::move(encoded);
    return std::nullopt;
}

GraphicsFiles GraphicsSet::Encode() const
{
    GraphicsFiles files;
    files.dictionary = dictionary_.Raw();
    files.graph = lead_;
    for (const Chunk& chunk : chunks_) {
        if (!chunk) {
            PutU24(files.head, kEmptyGraphicsChunk);
            continue;
        }
        PutU24(files.head, static_cast<std::uint32_t>(files.graph.size()));
        files.graph.insert(files.graph.end(), chunk->begin(), chunk->end());
    }
    PutU24(files.head, static_cast<std::uint32_t>(files.graph.size()));
    files.graph.insert(files.graph.end(), tail_.begin(), tail_.end());
    return files;
}

bool operator==(const GraphicsSet& a, const GraphicsSet& b)
{
    if (a.chunks_.size() != b.chunks_.size() || a.lead_ != b.lead_ || a.tail_ != b.tail_ ||
        a.dictionary_.Raw() != b.dictionary_.Raw())
        return false;
    for (std::size_t i = 0; i < a.chunks_.size(); ++i) {
        const auto& x = a.chunks_[i];
        const auto& y = b.chunks_[i];
        if (!x != !y || (x && x != y && *x != *y))
            return false;
    }
    return true;
}

Outcome<std::vector<std::string>> SaveGraphicsSet(const GraphicsSet& set, const GraphicsPaths& paths,
                                                  const BackupPolicy& backups, std::string* generation)
{
    GraphicsFiles files = set.Encode();
    return SaveDataFiles({{paths.head, std::move(files.head)}, {paths.dictionary, std::move(files.dictionary)},
                          {paths.graph, std::move(files.graph)}},
                         backups, kGraphicsSaveCaption, "The previous picture files were kept.", generation);
}

} // namespace tsl
