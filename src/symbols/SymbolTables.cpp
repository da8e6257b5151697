#include "symbols/SymbolTables.h"

#include "core/FileSystem.h"
#include "core/TextFile.h"
#include "core/Windows1252.h"
#include "mapdefs/StructureStore.h"

#include <algorithm>
#include <charconv>

namespace tsl {

namespace {

Failure SymbolsFailure(std::string text)
{
    return Failure{std::move(text), kSymbolsErrorCaption, MessageIcon::Warning};
}

int SheetHeightFor(std::size_t patterns)
{
    if (patterns == 0)
        return kSheetInitialHeight;
    const auto rows = (patterns - 1) / static_cast<std::size_t>(kSheetPatternsPerRow) + 1;
    return std::max(kSheetInitialHeight, static_cast<int>(rows) * kBlockSize);
}

} // namespace

SymbolTables::PlaneTable SymbolTables::BuildPlane(std::vector<SymbolRecord> records)
{
    PlaneTable table;
    // The sheet grows a row whenever the next pattern would not fit: its
    // final height is known from the count, so it is made once.
    table.sheet = Image(kSheetWidth, SheetHeightFor(records.size()), kBlackPixel);
    std::int32_t maxValue = 0;
    table.symbols.reserve(records.size());
    for (SymbolRecord& record : records) {
        maxValue = std::max(maxValue, record.Symbol.Value);
        const int index = record.Symbol.SheetIndex;
        DrawPattern(table.sheet, SheetX(index), SheetY(index), record.Pattern);
        table.symbols.push_back(std::move(record.Symbol));
    }

    table.mask = Image(table.sheet.width, table.sheet.height);
    for (std::size_t i = 0; i < table.sheet.pixels.size(); ++i)
        table.mask.pixels[i] = RgbOf(table.sheet.pixels[i]) == 0 ? kWhitePixel : kBlackPixel;

    const auto entries = static_cast<std::size_t>(maxValue) + 1;
    table.pictures.assign(entries, Image());
    table.firstSymbol.assign(entries, -1);
    for (const MapSymbols& symbol : table.symbols) {
        const auto value = static_cast<std::size_t>(symbol.Value);
        // The picture of a value shared by two symbols is the later one's,
        // while lookups (and the view) take the first.
        table.pictures[value] =
            CropImage(table.sheet, SheetX(symbol.SheetIndex), SheetY(symbol.SheetIndex), kBlockSize, kBlockSize);
        if (table.firstSymbol[value] < 0)
            table.firstSymbol[value] = symbol.SheetIndex;
    }
    return table;
}

Outcome<SymbolTables> SymbolTables::FromLines(const std::vector<std::vector<std::string>>& planeLines,
                                              const std::vector<std::string>& typeLines)
{
    SymbolTables tables;
    for (std::size_t p = 0; p < planeLines.size(); ++p) {
        const std::vector<std::string> defaultLines = {kDefaultSymbolRecord};
        const auto& lines = planeLines[p].empty() ? defaultLines : planeLines[p];
        auto records = ParseSymbolLines(lines, "plane " + std::to_string(p));
        if (!records)
            return records.failure();
        tables.planes_.push_back(BuildPlane(std::move(*records)));
    }
    auto types = ParseSymbolTypeLines(typeLines, kSymbolTypesFileName);
    if (!types)
        return types.failure();
    tables.types_ = std::move(*types);
    tables.loaded_ = true;
    return tables;
}

std::optional<Failure> SymbolTables::LoadMapSymbols(const std::filesystem::path& structureFolder,
                                                    const IniFile& settings, int numPlanes, bool writeBack)
{
    SymbolTables built;
    std::vector<std::vector<std::string>> planeLines;
    std::vector<std::filesystem::path> files;
    for (int p = 0; p < numPlanes; ++p) {
        const std::string name = PlaneSymbolFileName(settings, p);
        const auto path = ResolveStructureFile(structureFolder, name);
        if (!path)
            return SymbolsFailure("The symbol file \"" + name + "\" of plane " + std::to_string(p) +
                                  " is not inside the map definition structure " + structureFolder.string() + "!");
        auto lines = ReadSymbolTextFile(*path);
        if (!lines)
            return lines.failure();
        if (lines->empty()) {
            lines->emplace_back(kDefaultSymbolRecord);
            if (writeBack && !ReplaceTextFile(*path, JoinLinesCrLf(*lines)))
                return SymbolsFailure("Couldn't write \"" + path->string() + "\"!");
        }
        planeLines.push_back(std::move(*lines));
        files.push_back(*path);
    }
    for (std::size_t p = 0; p < planeLines.size(); ++p) {
        auto records = ParseSymbolLines(planeLines[p], files[p].string());
        if (!records)
            return records.failure();
        built.planes_.push_back(BuildPlane(std::move(*records)));
        built.planes_.back().file = files[p];
    }

    built.typesFile_ = ResolveNoCase(structureFolder, kSymbolTypesFileName);
    auto typeLines = ReadSymbolTextFile(built.typesFile_);
    if (!typeLines)
        return typeLines.failure();
    if (auto failure = EnsureDefaultSymbolTypes(*typeLines, built.typesFile_, writeBack))
        return failure;
    auto types = ParseSymbolTypeLines(*typeLines, built.typesFile_.string());
    if (!types)
        return types.failure();
    built.types_ = std::move(*types);
    built.loaded_ = true;
    *this = std::move(built);
    return std::nullopt;
}

void SymbolTables::FreeMapSymbols()
{
    *this = SymbolTables();
}

const Image& SymbolTables::SymbolPicture(int plane, int value) const
{
    static const Image kNone;
    if (plane < 0 || plane >= NumPlanes() || value < 0)
        return kNone;
    const auto& pictures = Plane(plane).pictures;
    return static_cast<std::size_t>(value) < pictures.size() ? pictures[static_cast<std::size_t>(value)] : kNone;
}

std::optional<int> SymbolTables::FindSymbol(int plane, int value) const
{
    if (plane < 0 || plane >= NumPlanes() || value < 0)
        return std::nullopt;
    const auto& first = Plane(plane).firstSymbol;
    if (static_cast<std::size_t>(value) >= first.size() || first[static_cast<std::size_t>(value)] < 0)
        return std::nullopt;
    return first[static_cast<std::size_t>(value)];
}

bool SymbolTables::TypeShown(std::string_view typeId) const
{
    return std::none_of(types_.begin(), types_.end(),
                        [&](const MapSymbolTypes& t) { return t.Shown == 0 && t.TypeID == typeId; });
}

std::string SymbolTables::EntryText(const MapSymbols& symbol)
{
    return std::to_string(symbol.Value) + " - " + Windows1252ToUtf8(symbol.SymbolName);
}

bool SymbolTables::MatchesFilter(const MapSymbols& symbol, std::string_view filter)
{
    const auto lower = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
        return text;
    };
    std::string wanted = lower(std::string(filter));
    wanted.erase(0, wanted.find_first_not_of(' '));
    wanted.erase(wanted.find_last_not_of(' ') + 1);
    if (wanted.empty())
        return true;
    if (lower(Windows1252ToUtf8(symbol.SymbolName)).find(wanted) != std::string::npos)
        return true;
    const bool hex = wanted.size() > 2 && wanted.starts_with("0x");
    const std::string digits = hex ? wanted.substr(2) : wanted;
    const bool number = std::all_of(digits.begin(), digits.end(), [hex](char c) {
        return (c >= '0' && c <= '9') || (hex && c >= 'a' && c <= 'f');
    });
    if (!number)
        return false;
    char text[16];
    const auto end = std::to_chars(text, text + sizeof text, symbol.Value, hex ? 16 : 10).ptr;
    return std::string_view(text, static_cast<std::size_t>(end - text)).starts_with(digits);
}

std::string SymbolTables::ValueText(int plane, int value) const
{
    if (auto index = FindSymbol(plane, value))
        return EntryText(PlaneSymbols(plane)[static_cast<std::size_t>(*index)]);
    return std::to_string(value) + " - Unknown";
}

std::optional<Failure> SymbolTables::SavePlaneSymbols(int plane, const std::vector<MapSymbols>& symbols,
                                                      const std::vector<Image>& pictures) const
{
    if (plane < 0 || plane >= NumPlanes())
        return SymbolsFailure("There is no plane " + std::to_string(plane) + "!");
    return WritePlaneSymbolFile(Plane(plane).file, symbols, pictures);
}

std::optional<Failure> SymbolTables::SaveSymbolTypes() const
{
    return WriteSymbolTypesFile(typesFile_, types_);
}

} // namespace tsl
