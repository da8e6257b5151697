#include "symbols/SymbolEditing.h"

#include "core/FileSystem.h"
#include "core/TextFile.h"
#include "symbols/SymbolFiles.h"
#include "symbols/SymbolTables.h"

#include <algorithm>
#include <system_error>

namespace tsl {

namespace {

Failure SymbolError(std::string text)
{
    return Failure{std::move(text), kSymbolErrorCaption, MessageIcon::Error};
}

Failure TypeError(std::string text)
{
    return Failure{std::move(text), kSymbolTypeErrorCaption, MessageIcon::Error};
}

bool ValidIndex(const auto& list, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < list.size();
}

bool HasTypeId(const std::vector<MapSymbolTypes>& types, std::string_view id, int except = -1)
{
    for (std::size_t i = 0; i < types.size(); ++i)
        if (static_cast<int>(i) != except && types[i].TypeID == id)
            return true;
    return false;
}

// After removing entry `removed` from a list now `count` long: the entry at
// its place, or the last one.
int SelectionAfterRemoval(int removed, std::size_t count)
{
    return std::min(removed, static_cast<int>(count) - 1);
}

} // namespace

std::optional<Failure> CheckFieldText(std::string_view text, std::string_view what, const char* caption)
{
    const char* problem = text.find(',') != std::string_view::npos              ? "a comma"
                          : text.find_first_of("\r\n") != std::string_view::npos ? "a line break"
                                                                                  : nullptr;
    if (!problem)
        return std::nullopt;
    return Failure{"A " + std::string(what) + " can't contain " + problem + "!", caption, MessageIcon::Error};
}

Outcome<int> ParseSymbolId(std::string_view text)
{
    if (text.empty())
        return SymbolError("You must enter an ID for the new map symbol!");
    if (text.find_first_not_of("0123456789") != std::string_view::npos)
        return SymbolError("'" + std::string(text) + "' is not a valid integer value");
    const std::size_t digits = text.find_first_not_of('0');
    const std::string_view significant = digits == std::string_view::npos ? "0" : text.substr(digits);
    if (significant.size() > 5 || std::stoi(std::string(significant)) > 0xFFFF)
        return SymbolError("The ID must be between 0 and 65535!");
    return std::stoi(std::string(significant));
}

bool IsBuiltInTypeId(std::string_view id)
{
    return std::any_of(kBuiltInSymbolTypes.begin(), kBuiltInSymbolTypes.end(),
                       [&](const BuiltInSymbolType& type) { return type.id == id; });
}

SymbolWorkingCopy::SymbolWorkingCopy(const SymbolTables& tables) : types_(tables.SymbolTypes())
{
    for (int p = 0; p < tables.NumPlanes(); ++p) {
        // Each symbol's own pattern from the sheet: two symbols that share a
        // value keep their own pictures through an edit.
        std::vector<WorkingSymbol> symbols;
        const Image& sheet = tables.PatternSheet(p);
        for (const MapSymbols& symbol : tables.PlaneSymbols(p))
            symbols.push_back({symbol, CropImage(sheet, SheetX(symbol.SheetIndex), SheetY(symbol.SheetIndex),
                                                 kBlockSize, kBlockSize)});
        planes_.push_back(std::move(symbols));
    }
}

Outcome<int> SymbolWorkingCopy::Add(int plane, int id)
{
    auto& symbols = planes_[Index(plane)];
    if (std::any_of(symbols.begin(), symbols.end(), [&](const WorkingSymbol& s) { return s.Symbol.Value == id; }))
        return SymbolError(kIdExistsText);
    const auto sheetIndex = static_cast<std::int32_t>(symbols.size());
    symbols.push_back({MapSymbols{id, sheetIndex, std::string("New Tile"), std::string("ot"), std::string("0")},
                       Image(kBlockSize, kBlockSize, kBlackPixel)});
    return static_cast<int>(symbols.size()) - 1;
}

Outcome<int> SymbolWorkingCopy::Delete(int plane, int index)
{
    auto& symbols = planes_[Index(plane)];
    if (symbols.size() <= 1)
        return SymbolError("You must have at least one map symbol!");
    if (!ValidIndex(symbols, index))
        index = 0;
    symbols.erase(symbols.begin() + index);
    return SelectionAfterRemoval(index, symbols.size());
}

std::optional<Failure> SymbolWorkingCopy::Rename(int plane, int index, std::string_view name)
{
    if (name.empty())
        return SymbolError("You have to enter a map symbol name!");
    if (auto failure = CheckFieldText(name, "map symbol name", kSymbolErrorCaption))
        return failure;
    At(plane, index).Symbol.SymbolName = std::string(name);
    return std::nullopt;
}

std::vector<std::string> SymbolWorkingCopy::PlaneLines(int plane) const
{
    std::vector<std::string> lines;
    for (const WorkingSymbol& symbol : Symbols(plane))
        lines.push_back(SymbolLine(symbol.Symbol, symbol.Picture));
    return lines;
}

std::optional<Failure> SymbolWorkingCopy::Save(const SymbolTables& tables) const
{
    // Planes without a file of their own share one: the last plane's lines
    // are what a file ends up with, as when they are written one by one.
    std::vector<FileReplacement> files;
    for (int p = 0; p < NumPlanes() && p < tables.NumPlanes(); ++p) {
        const std::filesystem::path& target = tables.SymbolFilePath(p);
        const std::string text = JoinLinesCrLf(PlaneLines(p));
        const Bytes content(text.begin(), text.end());
        auto same = std::find_if(files.begin(), files.end(), [&](const auto& f) { return f.target == target; });
        if (same != files.end()) {
            same->content = content;
            continue;
        }
        // The previous file is kept aside only until all are in place.
        files.push_back({target, target.parent_path() / ("." + target.filename().string() + ".tesselar-old"),
                         content});
    }
    std::vector<std::filesystem::path> asides;
    for (const FileReplacement& f : files)
        asides.push_back(f.backup);
    const ReplaceOutcome outcome = ReplaceFiles(std::move(files));
    if (!outcome.ok()) {
        const std::string what =
            outcome.refusal.empty() ? "Couldn't write " + outcome.error->Describe() + "!" : outcome.refusal;
        return SymbolError(what + "\n\n" +
                           (outcome.restored ? "The map symbol files were left as they were." : outcome.onDisk));
    }
    std::error_code ignored;
    for (const std::filesystem::path& aside : asides)
        std::filesystem::remove(aside, ignored);
    return std::nullopt;
}

std::optional<Failure> RenameSymbolType(std::vector<MapSymbolTypes>& types, int index, std::string_view name)
{
    if (name.empty())
        return TypeError("You have to enter a map symbol type name!");
    if (auto failure = CheckFieldText(name, "map symbol type name", kSymbolTypeErrorCaption))
        return failure;
    if (ValidIndex(types, index))
        types[static_cast<std::size_t>(index)].TypeName = std::string(name);
    return std::nullopt;
}

std::optional<Failure> ChangeSymbolTypeId(std::vector<MapSymbolTypes>& types, int index, std::string_view id)
{
    if (!ValidIndex(types, index) || IsBuiltInTypeId(types[static_cast<std::size_t>(index)].TypeID))
        return std::nullopt;
    if (id.empty())
        return TypeError("You have to enter a map symbol type ID!");
    if (auto failure = CheckFieldText(id, "map symbol type ID", kSymbolTypeErrorCaption))
        return failure;
    if (HasTypeId(types, id, index))
        return TypeError(kIdExistsText);
    types[static_cast<std::size_t>(index)].TypeID = std::string(id);
    return std::nullopt;
}

std::optional<Failure> CheckNewSymbolType(std::string_view name, std::string_view id)
{
    if (name.empty() || id.empty())
        return TypeError("You must enter an ID and a name for the new map symbol type!");
    if (auto failure = CheckFieldText(name, "map symbol type name", kSymbolTypeErrorCaption))
        return failure;
    return CheckFieldText(id, "map symbol type ID", kSymbolTypeErrorCaption);
}

Outcome<int> AddSymbolType(std::vector<MapSymbolTypes>& types, std::string name, std::string id)
{
    if (auto failure = CheckNewSymbolType(name, id))
        return *failure;
    if (HasTypeId(types, id) || IsBuiltInTypeId(id))
        return TypeError(kIdExistsText);
    types.push_back(MapSymbolTypes{1, std::move(id), std::move(name)});
    return static_cast<int>(types.size()) - 1;
}

Outcome<int> DeleteSymbolType(std::vector<MapSymbolTypes>& types, int index)
{
    if (types.size() <= 1)
        return TypeError("You must have at least one map symbol type!");
    if (!ValidIndex(types, index))
        index = 0;
    if (IsBuiltInTypeId(types[static_cast<std::size_t>(index)].TypeID))
        return TypeError("The built-in map symbol type " + types[static_cast<std::size_t>(index)].TypeID +
                         " can't be deleted!");
    types.erase(types.begin() + index);
    return SelectionAfterRemoval(index, types.size());
}

} // namespace tsl
