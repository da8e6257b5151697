// The text-file parsers on arbitrary bytes: the input is at once a symbol
// file, a symbol type file, an INI file, a palette, a picture table, sound
// names and the rules of play, and each line a facing group. Whatever parses must build its
// tables and draw a map with them; an INI document must write back the text
// it reads and keep what is set in it; facing groups turn words only into
// words they list; rules must analyse a map of words from the input; chunk
// names must list every chunk of a layout once.

#include "core/IniFile.h"
#include "core/TextFile.h"
#include "editor/operations/MapOperations.h"
#include "editor/render/MapRenderer.h"
#include "engine/LevelAnalysis.h"
#include "graphics/Palette.h"
#include "graphics/PictureTable.h"
#include "graphics/SoundNames.h"
#include "mapdefs/ChunkNames.h"
#include "mapdefs/StructureStore.h"
#include "symbols/SymbolFiles.h"
#include "symbols/SymbolTables.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void FuzzSymbols(const std::vector<std::string>& lines, std::string_view text)
{
    for (const std::string& line : lines)
        for (const std::string& field : tsl::SplitFields(line))
            Check(!field.empty() && field.find(',') == std::string::npos);

    auto records = tsl::ParseSymbolLines(lines, "fuzz.txt");
    auto types = tsl::ParseSymbolTypeLines(lines, "fuzz.txt");
    if (!records || !types)
        return;
    auto tables = tsl::SymbolTables::FromLines({lines, lines}, lines);
    Check(bool(tables));
    for (std::size_t i = 0; i < records->size(); ++i) {
        const tsl::MapSymbols& s = (*records)[i].Symbol;
        Check(s.Value >= 0 && s.Value <= 0xFFFF && s.SheetIndex == static_cast<int>(i));
        Check(tables->SymbolPicture(0, s.Value).width == 8);
        Check(tables->FindSymbol(0, s.Value).has_value());
        Check(tables->PatternSheet(0).height >= tsl::SheetY(static_cast<int>(i)) + 8);
    }

    // A small map of words from the input, drawn in every value mode.
    tsl::MapList map;
    map.Width = 5;
    map.Height = 3;
    map.Planes.assign(2, std::vector<std::uint16_t>(map.WordCount()));
    for (std::size_t i = 0; i < map.WordCount() * 2; ++i) {
        const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k % text.size()]); };
        map.Planes[i % 2][i / 2] = static_cast<std::uint16_t>(byte(2 * i) | byte(2 * i + 1) << 8);
    }
    for (int mode : {tsl::kIntMode, tsl::kHighByteMode, tsl::kLowByteMode}) {
        tsl::Image view;
        tsl::RedrawMap(view, map, *tables, {{true, mode != 0}, {true, true}}, mode);
        tsl::Image tile = view;
        tsl::RedrawTile(tile, map, *tables, {{true, mode != 0}, {true, true}}, mode, 4, 2);
        Check(tile == view);
        tsl::TileInfoText(map, *tables, 1, 4, 2, true, mode);
    }
    tsl::Image preview;
    tsl::RenderBlockPreview(preview, map.Planes, 5, 3, 2, *tables);

    // Written back and read again: the same symbols.
    std::vector<std::string> written;
    for (const tsl::MapSymbols& s : tables->PlaneSymbols(0))
        written.push_back(tsl::SymbolLine(s, tables->SymbolPicture(0, s.Value)));
    auto again = tsl::ParseSymbolLines(written, "again.txt");
    Check(again && again->size() == records->size());
}

void FuzzIni(std::string_view text)
{
    tsl::IniDocument doc = tsl::IniDocument::Parse(text);
    const std::string written = doc.Text();
    Check(tsl::IniDocument::Parse(written).Text() == written);

    // Names and values taken from the input itself.
    const std::vector<std::string> lines = tsl::SplitLines(text);
    const std::string section = lines.empty() ? "General" : lines.front().substr(0, 12);
    const std::string key = lines.size() < 2 ? "Key" : lines[1].substr(0, 8);
    const std::string value = lines.size() < 3 ? "1" : lines[2];
    for (const std::string& name : doc.SectionNames())
        doc.KeyNames(name);
    if (doc.Set(section, key, value)) {
        const auto read = doc.Find(section, key);
        Check(read.has_value());
        const tsl::IniDocument reparsed = tsl::IniDocument::Parse(doc.Text());
        Check(reparsed.Find(section, key) == read);
        Check(doc.Remove(section, key) || true);
    }
    tsl::HexTextValue(tsl::HexEditText(key));
}

void FuzzFacing(const std::vector<std::string>& lines)
{
    tsl::FacingGroups groups;
    tsl::PlaneSet planes(2);
    std::vector<std::uint16_t> listed;
    for (const std::string& line : lines) {
        const auto group = tsl::ParseFacingGroup(line);
        if (!group)
            continue;
        groups.push_back(*group);
        for (const auto& word : group->Words)
            if (word) {
                listed.push_back(*word);
                planes[static_cast<std::size_t>(group->Plane) % 2].push_back(*word);
            }
    }
    for (auto t : {tsl::MapTransform::Rotate90, tsl::MapTransform::Rotate180, tsl::MapTransform::Rotate270,
                   tsl::MapTransform::FlipHorizontal, tsl::MapTransform::FlipVertical}) {
        tsl::PlaneSet turned = planes;
        tsl::TurnFacingObjects(turned, groups, t);
        for (std::size_t p = 0; p < 2; ++p) {
            Check(turned[p].size() == planes[p].size());
            for (std::uint16_t word : turned[p])
                Check(std::find(listed.begin(), listed.end(), word) != listed.end());
        }
    }
}

// The input as a palette, a picture table and the sound names of a structure.
void FuzzGraphicsFiles(std::string_view text)
{
    if (auto names = tsl::SoundNames::Parse(text, "sounds.txt")) {
        Check(names->Count() <= static_cast<int>(text.size()));
        for (int number = -1; number <= names->Count(); ++number)
            Check(names->Name(number).size() <= text.size());
    }
    if (auto palette = tsl::Palette::Parse(text, "fuzz.pal"))
        for (std::uint32_t colour : palette->colours)
            Check((colour >> 24) == 0xFF);
    auto table = tsl::PictureTable::Parse(text, "pictures.txt");
    if (!table) {
        Check(table.failure().text.find("pictures.txt") != std::string::npos);
        return;
    }
    for (const tsl::PictureEntry& line : table->Entries()) {
        Check(line.value <= line.last);
        for (const int word : {int{line.value}, int{line.last}}) {
            const auto found = table->Find(line.plane, static_cast<std::uint16_t>(word));
            Check(found && *found == tsl::PictureTable::WordOf(line, static_cast<std::uint16_t>(word)));
            for (const int chunk : tsl::EntryChunks(*found, 106))
                Check(chunk >= 0 && chunk < 106 + 65536 + 64);
        }
        Check(line.skill == 0 || line.skill == 1 || line.skill == 3 || line.skill == 4);
    }
}

// The input as the rules of play, analysing a small map of its own bytes
// (words below 260, where the games' rules lie) on every skill level.
void FuzzRules(std::string_view text)
{
    auto rules = tsl::EngineRules::Parse(text, "engine.txt");
    if (!rules) {
        Check(rules.failure().text.find("engine.txt") != std::string::npos);
        return;
    }
    tsl::MapList map;
    map.Width = 7;
    map.Height = 5;
    map.Planes.assign(2, std::vector<std::uint16_t>(map.WordCount()));
    for (std::size_t i = 0; i < map.WordCount() * 2 && !text.empty(); ++i)
        map.Planes[i % 2][i / 2] = static_cast<std::uint16_t>(static_cast<std::uint8_t>(text[i % text.size()]) * 260 / 256);
    for (int skill = 1; skill <= 4; ++skill) {
        const tsl::LevelAnalysis analysis = tsl::AnalyseLevel(map, *rules, skill);
        Check(analysis.reached.size() == map.WordCount());
        for (const tsl::LevelExit& exit : analysis.exits)
            Check(analysis.Reached(exit.stand.x, exit.stand.y));
        Check(analysis.route.empty() == analysis.exits.empty());
        for (const tsl::MapTile& tile : analysis.route)
            Check(analysis.Reached(tile.x, tile.y));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = tsl::SplitLines(text);
    if (!text.empty())
        FuzzSymbols(lines, text);
    FuzzIni(text);
    FuzzFacing(lines);
    FuzzGraphicsFiles(text);
    FuzzRules(text);
    // As chunk names: every layout lists each of its chunks once, in order.
    if (const auto names = tsl::ChunkNames::Parse(text, "chunks.txt"))
        for (const tsl::ChunkLayout& layout : names->Layouts()) {
            Check(static_cast<int>(layout.chunks.size()) == layout.count);
            for (int i = 0; i < layout.count; ++i)
                Check(layout.chunks[static_cast<std::size_t>(i)].chunk == i);
        }
    return 0;
}
