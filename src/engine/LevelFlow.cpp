#include "engine/LevelFlow.h"

#include "core/TableText.h"
#include "core/TextFile.h"
#include "mapdefs/StructureStore.h"

#include <algorithm>

namespace tsl {

namespace {

constexpr const char* kSection = "Engine";
constexpr const char* kLevelsKey = "Levels";
constexpr int kMaxMap = 0xFFFF;
constexpr int kMaxPar = 99 * 60; // the end screen shows up to 99 minutes
constexpr int kMaxPace = 1 << 20;

// "name=value" or a bare "name" (an empty value).
std::pair<std::string_view, std::optional<std::string_view>> Attribute(std::string_view field)
{
    const std::size_t equals = field.find('=');
    if (equals == std::string_view::npos)
        return {field, std::nullopt};
    return {field.substr(0, equals), field.substr(equals + 1)};
}

// One line's attributes into `floor`, or what is wrong with them.
std::string ReadFloor(const std::vector<std::string_view>& fields, FloorFlow& floor)
{
    const auto map = WholeNumber(fields.size() > 1 ? fields[1] : "", 1, kMaxMap);
    if (!map)
        return "a map line is map,N,episode=E[,attribute...] with N a map number from 1";
    floor.map = *map;
    for (std::size_t i = 2; i < fields.size(); ++i) {
        const auto [name, value] = Attribute(fields[i]);
        if (name == "boss" || name == "secret") {
            if (value)
                return "\"" + std::string(name) + "\" takes no value";
            (name == "boss" ? floor.boss : floor.secret) = true;
        } else if (name == "episode" || name == "par") {
            const auto number = value ? WholeNumber(*value, name == "par" ? 0 : 1, name == "par" ? kMaxPar : kMaxMap) : std::nullopt;
            if (!number)
                return name == "par" ? "the par time is seconds from 0 to " + std::to_string(kMaxPar)
                                     : std::string("the episode is a number from 1");
            if (name == "par")
                floor.par = *number;
            else
                floor.episode = *number;
        } else if (name == "elevator" || name == "secret_elevator" || name == "spear") {
            const auto to = !value ? std::nullopt : *value == "end" ? std::optional<int>(kFlowEnd) : WholeNumber(*value, 1, kMaxMap);
            if (!to)
                return "\"" + std::string(name) + "\" leads to a map number from 1 or to \"end\"";
            (name == "elevator" ? floor.elevator : name == "spear" ? floor.spear : floor.secretElevator) = *to;
        } else {
            return "a map line takes no attribute \"" + std::string(name) + "\"";
        }
    }
    if (floor.episode == 0)
        return "the map line names no episode (episode=E)";
    return {};
}

std::string ReadPace(const std::vector<std::string_view>& fields, WalkPace& pace)
{
    for (std::size_t i = 1; i < fields.size(); ++i) {
        const auto [name, value] = Attribute(fields[i]);
        int* target = name == "speed" ? &pace.speed : name == "tics" ? &pace.tics : name == "door" ? &pace.door
                      : name == "pushwall" ? &pace.pushWall : nullptr;
        if (!target)
            return "a walk line takes no attribute \"" + std::string(name) + "\"";
        const auto number = value ? WholeNumber(*value, name == "speed" || name == "tics" ? 1 : 0, kMaxPace) : std::nullopt;
        if (!number)
            return "\"" + std::string(name) + "\" is a number up to " + std::to_string(kMaxPace);
        *target = *number;
    }
    if (pace.speed == 0 || pace.tics == 0)
        return "the walk line gives speed=N and tics=N";
    return {};
}

} // namespace

Outcome<LevelFlow> LevelFlow::Parse(std::string_view text, const std::string& fileName)
{
    LevelFlow flow;
    const auto failure = ReadTable(text, fileName, kLevelsErrorCaption, [&flow](const TableLine& line) -> std::optional<std::string> {
        const std::vector<std::string_view> fields = Fields(line.text);
        std::string problem;
        if (fields[0] == "walk") {
            if (flow.pace_)
                return "the walk is given twice";
            flow.pace_.emplace();
            problem = ReadPace(fields, *flow.pace_);
        } else if (fields[0] == "map") {
            FloorFlow floor;
            problem = ReadFloor(fields, floor);
            if (problem.empty() && flow.Floor(floor.map))
                problem = "map " + std::to_string(floor.map) + " is given twice";
            if (problem.empty()) {
                const auto at = std::lower_bound(flow.floors_.begin(), flow.floors_.end(), floor.map,
                                                 [](const FloorFlow& f, int map) { return f.map < map; });
                flow.floors_.insert(at, floor);
            }
        } else {
            problem = "a line is walk,... or map,... (\"" + std::string(fields[0]) + "\" is neither)";
        }
        if (!problem.empty())
            return problem;
        return std::nullopt;
    });
    if (failure)
        return *failure;
    return flow;
}

const FloorFlow* LevelFlow::Floor(int map) const
{
    const auto at = std::lower_bound(floors_.begin(), floors_.end(), map,
                                     [](const FloorFlow& f, int number) { return f.map < number; });
    return at != floors_.end() && at->map == map ? &*at : nullptr;
}

std::optional<int> LevelFlow::Destination(int map, ExitKind kind) const
{
    const FloorFlow* floor = Floor(map);
    if (!floor)
        return std::nullopt;
    switch (kind) {
    case ExitKind::Elevator: return floor->elevator;
    case ExitKind::SecretElevator: return floor->secretElevator;
    case ExitKind::Spear: return floor->spear;
    case ExitKind::Boss:
    case ExitKind::Victory: return kFlowEnd;
    }
    return std::nullopt;
}

std::string LevelFlowFile(const IniFile& settings)
{
    return settings.ReadString(kSection, kLevelsKey, "");
}

bool WriteLevelFlowFile(IniFile& settings, const std::string& fileName)
{
    return settings.WriteString(kSection, kLevelsKey, fileName);
}

FlowLoad LoadLevelFlow(const std::filesystem::path& structureFolder, const IniFile& settings)
{
    FlowLoad load;
    const std::string name = LevelFlowFile(settings);
    if (name.empty()) {
        load.Problem = {"\"" + settings.Path().filename().string() + "\" names no level flow (Levels= in section Engine).",
                        kLevelsErrorCaption, MessageIcon::Warning};
        return load;
    }
    load.Status = FlowStatus::Failed;
    const auto path = ResolveStructureFile(structureFolder, name);
    const auto text = path ? ReadTextFile(*path) : std::nullopt;
    if (!text) {
        load.Problem = {"The level flow \"" + name + "\" cannot be read from " + structureFolder.string() + ".",
                        kLevelsErrorCaption, MessageIcon::Warning};
        return load;
    }
    auto flow = LevelFlow::Parse(*text, path->string());
    if (!flow) {
        load.Problem = flow.failure();
        return load;
    }
    load.Status = FlowStatus::Loaded;
    load.Flow = std::make_shared<const LevelFlow>(std::move(*flow));
    return load;
}

} // namespace tsl
