#include "engine/StructureRules.h"

#include "core/TextFile.h"
#include "engine/LevelFlow.h"
#include "mapdefs/StructureStore.h"
#include "symbols/SymbolTables.h"

#include <system_error>

namespace tsl {

namespace {

constexpr const char* kSection = "Engine";
constexpr const char* kRulesKey = "Rules";
constexpr const char* kMapSizeKey = "MapSize";
constexpr int kLargestMap = 0xFFFF;

RulesLoad Without(RulesStatus status, const SymbolTables& symbols, std::string text)
{
    RulesLoad load;
    load.Status = status;
    load.Rules = std::make_shared<const EngineRules>(EngineRules::FromSymbols(symbols));
    load.Problem = {std::move(text), kRulesErrorCaption, MessageIcon::Warning};
    return load;
}

Failure RulesFailure(std::string text)
{
    return {std::move(text), kRulesErrorCaption, MessageIcon::Error};
}

} // namespace

EngineSettings ReadEngineSettings(const IniFile& settings)
{
    EngineSettings engine;
    engine.Rules = settings.ReadString(kSection, kRulesKey, "");
    const int size = settings.ReadInteger(kSection, kMapSizeKey, 0);
    engine.MapSize = size > 0 && size <= kLargestMap ? size : 0;
    return engine;
}

bool WriteEngineSettings(IniFile& settings, const EngineSettings& engine)
{
    return settings.WriteString(kSection, kRulesKey, engine.Rules) &&
           settings.WriteInteger(kSection, kMapSizeKey, engine.MapSize);
}

RulesLoad LoadEngineRules(const std::filesystem::path& structureFolder, const IniFile& settings,
                          const SymbolTables& symbols)
{
    const EngineSettings engine = ReadEngineSettings(settings);
    if (!engine.Configured())
        return Without(RulesStatus::NotConfigured, symbols,
                       "\"" + settings.Path().string() + "\" names no rules of play.");
    const auto path = ResolveStructureFile(structureFolder, engine.Rules);
    const auto text = path ? ReadTextFile(*path) : std::nullopt;
    if (!text)
        return Without(RulesStatus::Failed, symbols,
                       "The rules of play \"" + engine.Rules + "\" cannot be read from " + structureFolder.string() +
                           ".");
    auto rules = EngineRules::Parse(*text, path->string());
    if (!rules)
        return Without(RulesStatus::Failed, symbols, rules.failure().text);
    rules->SetMapSize(engine.MapSize);
    RulesLoad load;
    load.Status = RulesStatus::Loaded;
    load.Rules = std::make_shared<const EngineRules>(std::move(*rules));
    return load;
}

std::string NoRulesQuestion(std::string_view structureName)
{
    return "The map definition structure \"" + std::string(structureName) +
           "\" has no rules of play, so Tesselar cannot tell whether its levels can be finished.\n"
           "Take the rules of a shipped structure (Wolfenstein 3-D or Spear of Destiny)?";
}

std::string NoRulesNote(std::string_view structureName)
{
    return "No analysis: the map definition structure \"" + std::string(structureName) +
           "\" has no rules of play.";
}

std::string RulesTakenText(std::string_view structureName, std::string_view sourceName)
{
    return "The map definition structure \"" + std::string(structureName) + "\" now plays by the rules of \"" +
           std::string(sourceName) + "\".";
}

std::vector<std::string> StructuresWithRules(const std::filesystem::path& root)
{
    std::vector<std::string> names;
    for (const std::string& name : ListStructures(root))
        if (ReadEngineSettings(IniFile(StructureSettingsPathByName(root, name))).Configured())
            names.push_back(name);
    return names;
}

std::optional<Failure> TakeRules(const std::filesystem::path& root, std::string_view sourceName,
                                 const std::filesystem::path& targetFolder, IniFile& targetSettings)
{
    const std::filesystem::path sourceFolder = StructureFolderByName(root, sourceName);
    const EngineSettings engine = ReadEngineSettings(IniFile(StructureSettingsPathByName(root, sourceName)));
    const auto from = engine.Configured() ? ResolveStructureFile(sourceFolder, engine.Rules) : std::nullopt;
    const auto text = from ? ReadTextFile(*from) : std::nullopt;
    if (!text || !EngineRules::Parse(*text, from->string()))
        return RulesFailure("The map definition structure \"" + std::string(sourceName) +
                            "\" has no rules of play to take.");
    const auto to = ResolveStructureFile(targetFolder, from->filename().string());
    if (!to || !ReplaceTextFile(*to, *text) || !WriteEngineSettings(targetSettings, {from->filename().string(), engine.MapSize}))
        return RulesFailure("Couldn't write the rules of play to " + targetFolder.string() + "!");
    // The level flow comes along when the source has one that reads: the
    // same engine strings the same floors together.
    const IniFile sourceSettings(StructureSettingsPathByName(root, sourceName));
    const FlowLoad flow = LoadLevelFlow(sourceFolder, sourceSettings);
    const auto flowFrom = ResolveStructureFile(sourceFolder, LevelFlowFile(sourceSettings));
    const auto flowText = flow.Status == FlowStatus::Loaded && flowFrom ? ReadTextFile(*flowFrom) : std::nullopt;
    if (flowText) {
        const auto flowTo = ResolveStructureFile(targetFolder, flowFrom->filename().string());
        if (!flowTo || !ReplaceTextFile(*flowTo, *flowText) ||
            !WriteLevelFlowFile(targetSettings, flowFrom->filename().string()))
            return RulesFailure("Couldn't write the level flow to " + targetFolder.string() + "!");
    }
    return std::nullopt;
}

} // namespace tsl
