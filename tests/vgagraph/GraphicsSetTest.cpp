// VGAGRAPH read and written back: the shareware's three files byte for byte,
// every chunk encoded again as id encoded it, a replaced picture that leaves
// every other chunk as it was, hand-built sets, and a table of damaged
// headers, dictionaries and chunks.

#include "TestUtil.h"
#include "mapdefs/ChunkNames.h"
#include "vgagraph/GraphicsSet.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

// A dictionary of fixed 8-bit codes: the nodes form a complete tree, node
// 254 its root; the byte b is the leaf reached by its bits, highest first.
Bytes EightBitDictionary()
{
    Bytes dictionary;
    for (int node = 0; node < 255; ++node) {
        const int heap = 255 - node; // the root is heap place 1
        for (int bit = 0; bit < 2; ++bit) {
            const int child = heap * 2 + bit;
            Put16(dictionary, static_cast<std::uint16_t>(child >= 256 ? child - 256 : 256 + 255 - child));
        }
    }
    return dictionary;
}

// A chunk as id stores it: its length, then its code (bits / 8 + 1 bytes).
Bytes StoredChunk(const Bytes& contents, bool withLength = true)
{
    auto dictionary = HuffmanDictionary::Parse(EightBitDictionary(), "VGADICT");
    Bytes chunk;
    if (withLength)
        Put32(chunk, static_cast<std::uint32_t>(contents.size()));
    const Bytes code = dictionary->Encode(contents);
    chunk.insert(chunk.end(), code.begin(), code.end());
    return chunk;
}

// The three files of a set of chunks; an absent chunk is empty.
GraphicsFiles FilesOf(const std::vector<std::optional<Bytes>>& chunks)
{
    GraphicsFiles files;
    files.dictionary = EightBitDictionary();
    for (const auto& chunk : chunks) {
        const std::uint32_t offset = chunk ? static_cast<std::uint32_t>(files.graph.size()) : kEmptyGraphicsChunk;
        for (int i = 0; i < 3; ++i)
            files.head.push_back(static_cast<std::uint8_t>(offset >> (8 * i)));
        if (chunk)
            files.graph.insert(files.graph.end(), chunk->begin(), chunk->end());
    }
    for (int i = 0; i < 3; ++i)
        files.head.push_back(static_cast<std::uint8_t>(files.graph.size() >> (8 * i)));
    return files;
}

Bytes Table(const std::vector<std::pair<int, int>>& sizes)
{
    Bytes table;
    for (const auto& [width, height] : sizes) {
        Put16(table, static_cast<std::uint16_t>(width));
        Put16(table, static_cast<std::uint16_t>(height));
    }
    return table;
}

// A font of `height` rows whose character 'A' is 3 wide.
Bytes TestFont(int height)
{
    Bytes font;
    Put16(font, static_cast<std::uint16_t>(height));
    for (int c = 0; c < 256; ++c)
        Put16(font, c == 'A' ? 770 : 0);
    for (int c = 0; c < 256; ++c)
        font.push_back(c == 'A' ? 3 : 0);
    for (int i = 0; i < 3 * height; ++i)
        font.push_back(i % 2 ? 15 : 0);
    return font;
}

Bytes CutFont()
{
    Bytes font = TestFont(2);
    font.pop_back();
    return font;
}

// The table, two fonts, a 8 x 2 picture (planar), an empty chunk, data.
std::vector<std::optional<Bytes>> OnePictureSet()
{
    const Bytes planar = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    return {StoredChunk(Table({{8, 2}})), StoredChunk(TestFont(2)), StoredChunk(TestFont(3)), StoredChunk(planar),
            std::nullopt, StoredChunk(Bytes{'H', 'i', '\r', '\n'})};
}

ChunkNames ShippedNames(const std::string& ext)
{
    auto names = ChunkNames::Load(SourceDir() / "data" / "MapDefs" / ext / "chunks.txt");
    EXPECT_TRUE(names) << names.failure().text;
    return names ? *names : ChunkNames{};
}

} // namespace

TEST(Huffman, EncodesAsIdDidWithAByteAfterBitsThatEndOnAByte)
{
    auto dictionary = HuffmanDictionary::Parse(EightBitDictionary(), "VGADICT");
    ASSERT_TRUE(dictionary);
    // 0x01 is the leaf reached by 0000 0001, highest bit first; the stream
    // is read from each byte's lowest bit, so it is 0x80 there.
    EXPECT_EQ(dictionary->Encode(Bytes{0x01}), (Bytes{0x80, 0x00}));
    EXPECT_EQ(dictionary->Encode(Bytes{0x01, 0xF0}), (Bytes{0x80, 0x0F, 0x00}));
    const Expansion back = dictionary->Expand(Bytes{0x80, 0x0F, 0x00}, 2);
    EXPECT_TRUE(back.complete);
    EXPECT_EQ(back.bytes, (Bytes{0x01, 0xF0}));
    EXPECT_EQ(back.bits, 16u);
    const Expansion shortOf = dictionary->Expand(Bytes{0x80}, 2);
    EXPECT_FALSE(shortOf.complete);
    EXPECT_EQ(shortOf.bytes.size(), 1u);
}

TEST(GraphicsSet, TheSharewareFilesAreWrittenBackByteForByte)
{
    const auto dir = SharewareDir();
    if (!dir)
        GTEST_SKIP() << "The shareware game data is not there.";
    const auto paths = FindGraphicsFiles(*dir, "WL1");
    const ChunkNames names = ShippedNames("WL1");
    auto set = GraphicsSet::Load(*paths, &names);
    ASSERT_TRUE(set) << set.failure().text;
    EXPECT_EQ(set->ChunkCount(), 156);
    const GraphicsFiles written = set->Encode();
    EXPECT_TRUE(written.head == ReadFile(paths->head));
    EXPECT_TRUE(written.dictionary == ReadFile(paths->dictionary));
    EXPECT_TRUE(written.graph == ReadFile(paths->graph));

    ASSERT_TRUE(set->Layout().Named());
    const int title = set->Layout().Find("TITLEPIC");
    EXPECT_EQ(title, 99);
    const auto picture = set->Picture(title);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 320);
    EXPECT_EQ(picture->height, 200);
    EXPECT_EQ(set->KindOf(1), GraphicsKind::Font);
    EXPECT_EQ(set->KindOf(147), GraphicsKind::Tile8);
    EXPECT_EQ(set->Layout().NameOf(155), "T_ENDART1");

    // Without the structure's names the shared layout gives the same kinds.
    auto unnamed = GraphicsSet::Load(*paths, nullptr);
    ASSERT_TRUE(unnamed);
    EXPECT_FALSE(unnamed->Layout().Named());
    for (int chunk = 0; chunk < set->ChunkCount(); ++chunk)
        EXPECT_EQ(unnamed->KindOf(chunk), set->KindOf(chunk)) << chunk;
}

TEST(GraphicsSet, EveryChunkOfTheSharewareIsEncodedAgainAsIdEncodedIt)
{
    const auto dir = SharewareDir();
    if (!dir)
        GTEST_SKIP() << "The shareware game data is not there.";
    const auto paths = FindGraphicsFiles(*dir, "WL1");
    auto set = GraphicsSet::Load(*paths, nullptr);
    ASSERT_TRUE(set);
    const GraphicsSet original = *set;
    // Each chunk is changed and then given its contents back, so that it is
    // encoded again rather than kept: the bytes must be id's, the "!ID!"
    // after some chunks' bits kept where it was.
    for (int chunk = 1; chunk < set->ChunkCount(); ++chunk) {
        const GraphicsKind kind = set->KindOf(chunk);
        if (kind == GraphicsKind::Picture || kind == GraphicsKind::Tile8) {
            auto picture = set->Picture(chunk);
            ASSERT_TRUE(picture) << chunk;
            IndexedPicture changed = *picture;
            changed.indices[0] ^= 1;
            ASSERT_FALSE(set->ReplacePicture(chunk, changed)) << chunk;
            EXPECT_FALSE(*set == original) << chunk;
            ASSERT_FALSE(set->ReplacePicture(chunk, *picture)) << chunk;
        } else {
            const Bytes contents = set->Expanded(chunk);
            Bytes changed = contents;
            changed.push_back(0);
            ASSERT_FALSE(set->ReplaceData(chunk, changed)) << chunk;
            ASSERT_FALSE(set->ReplaceData(chunk, contents)) << chunk;
        }
        if (kind != GraphicsKind::Tile8) { // the shareware's tiles hold fewer than 72; the rest come back whole
            EXPECT_TRUE(*set->Stored(chunk) == *original.Stored(chunk)) << chunk;
        }
    }
}

TEST(GraphicsSet, APictureOfAnotherSizeChangesItsChunkAndTheTableOnly)
{
    const auto dir = SharewareDir();
    if (!dir)
        GTEST_SKIP() << "The shareware game data is not there.";
    const ChunkNames names = ShippedNames("WL1");
    auto set = GraphicsSet::Load(*FindGraphicsFiles(*dir, "WL1"), &names);
    ASSERT_TRUE(set);
    const GraphicsSet original = *set;
    // PG13PIC, 88 x 64, drawn at a place of the screen.
    IndexedPicture sign{160, 100, Bytes(160 * 100)};
    for (std::size_t i = 0; i < sign.indices.size(); ++i)
        sign.indices[i] = static_cast<std::uint8_t>(i * 7 % 251);
    ASSERT_FALSE(set->ReplacePicture(100, sign));
    for (int chunk = 0; chunk < set->ChunkCount(); ++chunk) {
        if (chunk != 0 && chunk != 100) {
            EXPECT_TRUE(*set->Stored(chunk) == *original.Stored(chunk)) << chunk;
        }
    }
    auto again = GraphicsSet::Read(set->Encode(), &names);
    ASSERT_TRUE(again) << again.failure().text;
    EXPECT_EQ(*again->Picture(100), sign);
    EXPECT_EQ(again->PictureSize(99)->width, 320); // TITLEPIC kept its size
    EXPECT_EQ(again->Stored(0)->back(), '!'); // the table's "!ID!" kept

    // The title is drawn as a whole screen: it stays 320 x 200.
    const auto refusal = set->ReplacePicture(99, sign);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->text, "TITLEPIC is drawn by the engine as a whole screen, so it is 320 x 200 pixels; this "
                             "picture is 160 x 100.");
}

TEST(GraphicsSet, AHandBuiltSetReadsAndIsWrittenBack)
{
    const GraphicsFiles files = FilesOf(OnePictureSet());
    auto set = GraphicsSet::Read(files, nullptr);
    ASSERT_TRUE(set) << set.failure().text;
    EXPECT_EQ(set->Encode(), files);
    EXPECT_EQ(set->KindOf(3), GraphicsKind::Picture);
    EXPECT_EQ(set->KindOf(4), GraphicsKind::Tile8); // the chunk after the pictures
    EXPECT_TRUE(set->IsEmpty(4));
    EXPECT_EQ(set->KindOf(5), GraphicsKind::Data);
    const auto picture = set->Picture(3);
    ASSERT_TRUE(picture);
    // Plane 0 holds columns 0 and 4 of both rows, plane 1 columns 1 and 5, ...
    EXPECT_EQ(picture->indices, (Bytes{1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 4, 8, 12, 16}));
    EXPECT_EQ(set->Expanded(5), (Bytes{'H', 'i', '\r', '\n'}));

    // A wider picture moves the chunks after it; the empty one stays empty.
    ASSERT_FALSE(set->ReplacePicture(3, IndexedPicture{12, 1, Bytes(12, 9)}));
    auto again = GraphicsSet::Read(set->Encode(), nullptr);
    ASSERT_TRUE(again) << again.failure().text;
    EXPECT_EQ(again->Picture(3)->width, 12);
    EXPECT_TRUE(again->IsEmpty(4));
    EXPECT_EQ(again->Expanded(5), (Bytes{'H', 'i', '\r', '\n'}));
}

TEST(GraphicsSet, PicturesTheEngineCannotTakeAreRefusedWithWhy)
{
    auto set = GraphicsSet::Read(FilesOf(OnePictureSet()), nullptr);
    ASSERT_TRUE(set);
    const GraphicsSet before = *set;
    const struct {
        IndexedPicture picture;
        const char* says;
    } rows[] = {
        {{10, 2, Bytes(20)}, "10 pixels wide: the game keeps its pictures in four planes"},
        {{324, 2, Bytes(648)}, "324 x 2 pixels: the game draws pictures of up to 320 x 200"},
        {{8, 201, Bytes(8 * 201)}, "up to 320 x 200, the size of its screen"},
    };
    for (const auto& row : rows) {
        const auto refusal = set->ReplacePicture(3, row.picture);
        ASSERT_TRUE(refusal) << row.says;
        EXPECT_NE(refusal->text.find(row.says), std::string::npos) << refusal->text;
        EXPECT_TRUE(*set == before);
    }
    EXPECT_TRUE(set->ReplaceData(0, Bytes{1, 2, 3, 4}));
    EXPECT_TRUE(set->ReplaceData(1, Bytes{1, 2, 3}));
}

TEST(GraphicsSet, DamagedFilesAreRefusedWithWhatIsWrong)
{
    const auto withFiles = [](auto change) {
        GraphicsFiles files = FilesOf(OnePictureSet());
        change(files);
        return files;
    };
    const auto chunk = [](std::vector<std::optional<Bytes>> chunks, std::size_t at, Bytes bytes) {
        chunks[at] = std::move(bytes);
        return FilesOf(chunks);
    };
    const struct {
        const char* what;
        GraphicsFiles files;
        const char* says;
    } rows[] = {
        {"a header of no whole offsets", withFiles([](GraphicsFiles& f) { f.head.pop_back(); }),
         "VGAHEAD is damaged: it holds"},
        {"an end past the file", withFiles([](GraphicsFiles& f) { f.graph.pop_back(); }),
         "ends the chunks at"},
        {"a chunk before the one ahead of it", withFiles([](GraphicsFiles& f) { f.head[6] = f.head[7] = f.head[8] = 0; }),
         "before the chunk ahead of it"},
        {"a dictionary of the wrong size", withFiles([](GraphicsFiles& f) { f.dictionary.resize(1000); }),
         "VGADICT is damaged: it holds 1000 bytes, less than the 1020 of its 255 nodes"},
        {"a dictionary node past the last", withFiles([](GraphicsFiles& f) { f.dictionary[10] = 0xFF; f.dictionary[11] = 0x01; }),
         "leads to node 255, past the last (254)"},
        {"a chunk shorter than its length", chunk(OnePictureSet(), 5, Bytes{1, 2}),
         "chunk 5 holds 2 bytes, less than its length"},
        {"a length its code cannot give", chunk(OnePictureSet(), 5, Bytes{0xFF, 0xFF, 0, 0, 1}),
         "says it expands to 65535 bytes, more than its 1 bytes of code can give"},
        {"code that runs out", chunk(OnePictureSet(), 5, Bytes{3, 0, 0, 0, 0x80, 0x80}),
         "runs out of code after 2 of the 3 bytes"},
        {"a table of no whole entries", chunk(OnePictureSet(), 0, StoredChunk(Bytes{8, 0, 2})),
         "not whole entries of 4"},
        {"a picture the table gives another size", chunk(OnePictureSet(), 0, StoredChunk(Table({{8, 3}}))),
         "holds 16 bytes, but the picture table gives it 8 x 3 pixels"},
        {"a font whose character runs past it", chunk(OnePictureSet(), 1, StoredChunk(CutFont())),
         "is no font: character 65 runs past its"},
    };
    for (const auto& row : rows) {
        auto set = GraphicsSet::Read(row.files, nullptr);
        ASSERT_FALSE(set) << row.what;
        EXPECT_NE(set.failure().text.find(row.says), std::string::npos) << row.what << ": " << set.failure().text;
        EXPECT_EQ(set.failure().caption, kGraphicsLoadCaption);
    }
}
