#include "symbols/SymbolFiles.h"

#include "core/TextFile.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace tsl {

namespace {

Failure SymbolsFailure(std::string text)
{
    return Failure{std::move(text), kSymbolsErrorCaption, MessageIcon::Warning};
}

Failure WriteFailure(const std::filesystem::path& path)
{
    return Failure{"Couldn't write \"" + path.string() + "\"!", kSymbolsSaveErrorCaption, MessageIcon::Warning};
}

std::string LineRef(std::size_t index, std::string_view fileName)
{
    return "Line " + std::to_string(index + 1) + " of \"" + std::string(fileName) + "\"";
}

// A decimal integer as the whole field: an optional sign, then digits only.
std::optional<long long> DecimalField(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    long long value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (ec != std::errc() || ptr != text.data() + text.size())
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace

std::vector<std::string> SplitFields(std::string_view line)
{
    std::vector<std::string> fields;
    std::size_t comma;
    while ((comma = line.find(',')) != std::string_view::npos) {
        if (comma > 0)
            fields.emplace_back(line.substr(0, comma));
        line.remove_prefix(comma + 1);
    }
    if (!line.empty())
        fields.emplace_back(line);
    return fields;
}

Outcome<std::vector<SymbolRecord>> ParseSymbolLines(const std::vector<std::string>& lines, std::string_view fileName)
{
    std::vector<SymbolRecord> records;
    records.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::vector<std::string> fields = SplitFields(lines[i]);
        if (fields.size() < 5)
            return SymbolsFailure(LineRef(i, fileName) + " has " + std::to_string(fields.size()) +
                                  " fields; a symbol needs 5: value, name, pattern, type and direction.");
        const auto value = DecimalField(fields[0]);
        if (!value || *value < 0 || *value > 0xFFFF)
            return SymbolsFailure(LineRef(i, fileName) + ": the value \"" + fields[0] +
                                  "\" is not a number from 0 to 65535.");
        if (fields[2].size() < kPatternDigitCount)
            return SymbolsFailure(LineRef(i, fileName) + ": the pattern has " + std::to_string(fields[2].size()) +
                                  " digits instead of 64.");
        SymbolRecord record;
        record.Symbol.Value = static_cast<std::int32_t>(*value);
        record.Symbol.SheetIndex = static_cast<std::int32_t>(i);
        record.Symbol.SymbolName = std::move(fields[1]);
        record.Pattern = std::move(fields[2]);
        record.Symbol.SymbolType = std::move(fields[3]);
        record.Symbol.Direction = std::move(fields[4]);
        records.push_back(std::move(record));
    }
    return records;
}

Outcome<std::vector<MapSymbolTypes>> ParseSymbolTypeLines(const std::vector<std::string>& lines,
                                                         std::string_view fileName)
{
    std::vector<MapSymbolTypes> types;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::vector<std::string> fields = SplitFields(lines[i]);
        if (fields.size() < 3)
            return SymbolsFailure(LineRef(i, fileName) + " has " + std::to_string(fields.size()) +
                                  " fields; a symbol type needs 3: id, name and shown flag.");
        const auto shown = DecimalField(fields[2]);
        if (!shown || *shown < INT32_MIN || *shown > INT32_MAX)
            return SymbolsFailure(LineRef(i, fileName) + ": the shown flag \"" + fields[2] +
                                  "\" is not a whole number.");
        MapSymbolTypes type;
        type.TypeID = std::move(fields[0]);
        type.TypeName = std::move(fields[1]);
        type.Shown = *shown != 0 ? 1 : 0;
        types.push_back(std::move(type));
    }
    return types;
}

void DrawPattern(Image& target, int x, int y, std::string_view digits)
{
    for (int k = 0; k < kPatternDigitCount; ++k) {
        const char digit = static_cast<std::size_t>(k) < digits.size() ? digits[static_cast<std::size_t>(k)] : 'F';
        target.SetPixel(x + k % kBlockSize, y + k / kBlockSize, PatternDigitPixel(digit));
    }
}

std::string PatternDigits(const Image& picture, int x, int y)
{
    std::string digits(kPatternDigitCount, '0');
    for (int k = 0; k < kPatternDigitCount; ++k)
        digits[static_cast<std::size_t>(k)] = PatternPixelDigit(picture.Pixel(x + k % kBlockSize, y + k / kBlockSize));
    return digits;
}

std::string SymbolLine(const MapSymbols& symbol, const Image& picture)
{
    const std::string digits = picture.empty() ? std::string(kPatternDigitCount, '0') : PatternDigits(picture);
    return std::to_string(symbol.Value) + "," + symbol.SymbolName + "," + digits + "," + symbol.SymbolType + "," +
           symbol.Direction;
}

std::string SymbolTypeLine(const MapSymbolTypes& type)
{
    return type.TypeID + "," + type.TypeName + "," + (type.Shown ? "1" : "0");
}

const std::array<BuiltInSymbolType, 19> kBuiltInSymbolTypes = {{
    {"w", "w,Wall,1"},
    {"f", "f,Floor,1"},
    {"to", "to,Tile Object,1"},
    {"k", "k,Key,1"},
    {"so", "so,Static Object,1"},
    {"tt", "tt,Tile Trigger,1"},
    {"tp", "tp,Turning Point,1"},
    {"sp", "sp,Start Position,1"},
    {"sd", "sd,Secret Door,1"},
    {"d", "d,Door,1"},
    {"ld", "ld,Locked Door,1"},
    {"sg1", "sg1,Level 1 Guards (Standing),1"},
    {"mg1", "mg1,Level 1 Guards (Moving),1"},
    {"sg3", "sg3,Level 3 Guards (Standing),1"},
    {"mg3", "mg3,Level 3 Guards (Moving),1"},
    {"sg4", "sg4,Level 4 Guards (Standing),1"},
    {"mg4", "mg4,Level 4 Guards (Moving),1"},
    {"b", "b,Boss,1"},
    {"oa", "oa,Other Actor,1"},
}};

std::optional<Failure> EnsureDefaultSymbolTypes(std::vector<std::string>& lines, const std::filesystem::path& path,
                                                bool writeBack)
{
    std::vector<std::string> ids;
    for (const std::string& line : lines) {
        auto fields = SplitFields(line);
        ids.push_back(fields.empty() ? std::string() : std::move(fields.front()));
    }
    bool added = false;
    for (const BuiltInSymbolType& type : kBuiltInSymbolTypes) {
        if (std::find(ids.begin(), ids.end(), type.id) != ids.end())
            continue;
        lines.emplace_back(type.line);
        ids.emplace_back(type.id);
        added = true;
    }
    if (added && writeBack && !ReplaceTextFile(path, JoinLinesCrLf(lines)))
        return SymbolsFailure("Couldn't write \"" + path.string() + "\"!");
    return std::nullopt;
}

Outcome<std::vector<std::string>> ReadSymbolTextFile(const std::filesystem::path& path)
{
    auto text = ReadTextFile(path);
    if (!text)
        return SymbolsFailure("Couldn't read \"" + path.string() + "\"!");
    return SplitLines(*text);
}

std::optional<Failure> WritePlaneSymbolFile(const std::filesystem::path& path, const std::vector<MapSymbols>& symbols,
                                            const std::vector<Image>& pictures)
{
    static const Image kNoPicture;
    std::vector<std::string> lines;
    lines.reserve(symbols.size());
    for (const MapSymbols& symbol : symbols) {
        const auto value = static_cast<std::size_t>(symbol.Value);
        const bool has = symbol.Value >= 0 && value < pictures.size();
        lines.push_back(SymbolLine(symbol, has ? pictures[value] : kNoPicture));
    }
    if (!ReplaceTextFile(path, JoinLinesCrLf(lines)))
        return WriteFailure(path);
    return std::nullopt;
}

std::optional<Failure> WriteSymbolTypesFile(const std::filesystem::path& path, const std::vector<MapSymbolTypes>& types)
{
    std::vector<std::string> lines;
    lines.reserve(types.size());
    for (const MapSymbolTypes& type : types)
        lines.push_back(SymbolTypeLine(type));
    if (!ReplaceTextFile(path, JoinLinesCrLf(lines)))
        return WriteFailure(path);
    return std::nullopt;
}

} // namespace tsl
