#include "app/cli/JsonOutput.h"

#include "editor/play/MapInformation.h"
#include "engine/LevelAnalysis.h"

#include <cstdio>
#include <ostream>

namespace tsl {
namespace cli {
namespace {

void WriteString(const std::string& text, std::string& out)
{
    out += '"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        // U+0080 to U+009F are 0xC2 0x80 to 0xC2 0x9F in UTF-8.
        const bool c1 = byte == 0xC2 && i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0x80;
        if (byte < 0x20 || byte == 0x7F || c1) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c1 ? static_cast<unsigned char>(text[++i]) : byte);
            out += escaped;
        } else {
            if (byte == '"' || byte == '\\')
                out += '\\';
            out += text[i];
        }
    }
    out += '"';
}

void Write(const Json& value, std::size_t depth, std::string& out)
{
    if (value.is_string()) {
        WriteString(value.get_ref<const std::string&>(), out);
        return;
    }
    if (!value.is_structured()) {
        out += value.dump();
        return;
    }
    const bool lines = !value.empty() && (depth == 0 || (depth == 1 && value.is_array()));
    const std::string indent = lines ? "\n" + std::string(2 * depth + 2, ' ') : "";
    out += value.is_object() ? '{' : '[';
    const char* separator = "";
    for (auto member = value.begin(); member != value.end(); ++member) {
        out += separator + indent;
        if (value.is_object()) {
            WriteString(member.key(), out);
            out += ": ";
        }
        Write(*member, depth + 1, out);
        separator = lines ? "," : ", ";
    }
    if (lines)
        out += "\n" + std::string(2 * depth, ' ');
    out += value.is_object() ? '}' : ']';
}

} // namespace

void PrintJson(const Json& document, std::ostream& out)
{
    std::string text;
    Write(document, 0, text);
    out << text << "\n";
}

} // namespace cli

void to_json(cli::Json& json, const MapTile& tile)
{
    json = {tile.x, tile.y};
}

void to_json(cli::Json& json, const MapFinding& finding)
{
    const auto number = [](std::optional<int> value) { return value ? cli::Json(*value) : cli::Json(nullptr); };
    json = {{"kind", FindingKindName(finding.Kind)}, {"count", finding.Count}, {"limit", number(finding.Limit)},
            {"x", number(finding.Column)}, {"y", number(finding.Row)}, {"plane", number(finding.Plane)}};
    if (!finding.Tiles.empty())
        json["tiles"] = finding.Tiles;
    if (!finding.Skills.empty())
        json["skills"] = finding.Skills;
    if (finding.Key > 0) {
        json["key"] = finding.Key;
        json["name"] = KeyPhrase(finding.Key);
    }
    if (finding.Kind == FindingKind::SpawnsWrongly || finding.Kind == FindingKind::SpawnsNothing ||
        finding.Kind == FindingKind::NoWallPicture) {
        json["word"] = finding.Word;
        json["name"] = finding.Name;
    }
}

void to_json(cli::Json& json, const LevelAnalysis& level)
{
    cli::Json exits = cli::Json::array();
    for (const LevelExit& exit : level.exits)
        exits.push_back({{"kind", ExitKindName(exit.kind)}, {"x", exit.tile.x}, {"y", exit.tile.y}});
    json = {{"skill", level.skill},
            {"kills", level.kills},
            {"treasure", level.treasure},
            {"secrets", level.secrets},
            {"finishable", level.Finishable()},
            {"exits", exits},
            {"route", level.Finishable() ? cli::Json(level.route) : cli::Json(nullptr)},
            {"secret_route", level.secretRoute.empty() ? cli::Json(nullptr) : cli::Json(level.secretRoute)},
            {"unreachable",
             {{"treasure", level.unreachableTreasure},
              {"keys", level.unreachableKeys},
              {"weapons", level.unreachableWeapons},
              {"enemies", level.unreachableEnemies}}}};
}

} // namespace tsl
