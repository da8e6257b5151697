// tesselar-cli edit DIR OPERATION...: whole-map operations on maps of a set,
// saved once at the end.

#include "app/cli/CliMaps.h"
#include "editor/FindReplace.h"
#include "editor/MapOperations.h"

#include <algorithm>
#include <limits>
#include <ostream>
#include <variant>

namespace tsl::cli {
namespace {

const char* const kUsage =
    "edit DIR [--maps LIST] [--plane P] [--force] [--keep-facing] OPERATION... [loader options]";

struct AutofloorAll {};
struct Transform {
    MapTransform transform;
};
struct SwapPlanes {
    int first, second;
};
struct Replace {
    std::uint16_t find, with;
};
struct Resize {
    int width, height;
};
using Operation = std::variant<AutofloorAll, Transform, SwapPlanes, Replace, Resize>;

// The operations, in the arguments in the order they run; all but
// --autofloor take a value ("--rotate 90" or "--rotate=90").
struct OperationName {
    const char* name;
    bool takesValue;
};
const OperationName kOperations[] = {{"--autofloor", false}, {"--rotate", true},  {"--flip", true},
                                     {"--flip-planes", true}, {"--replace", true}, {"--resize", true}};

// The options that say how the operations run, each read as every command
// reads its options: at most once, a value where one is needed.
struct EditOptions {
    bool force = false;
    bool keepFacing = false;
    std::optional<std::string> plane;
};
struct EditFlag {
    const char* name;
    bool EditOptions::*field;
};
struct EditValue {
    const char* name;
    std::optional<std::string> EditOptions::*field;
};
const EditFlag kEditFlags[] = {{"--force", &EditOptions::force}, {"--keep-facing", &EditOptions::keepFacing}};
const EditValue kEditValues[] = {{"--plane", &EditOptions::plane}};

// Takes the options of the table off `args`; the problem with them, if any.
std::string ReadEditOptions(Arguments& args, EditOptions& options)
{
    for (const EditFlag& flag : kEditFlags)
        options.*flag.field = args.Flag(flag.name);
    for (const EditValue& value : kEditValues)
        options.*value.field = args.Value(value.name);
    return args.error;
}

// Takes the operations off the arguments, in their order, with their values;
// what is left goes to `rest`. The problem, if any.
std::string TakeOperations(const std::vector<std::string>& arguments,
                           std::vector<std::pair<std::string, std::string>>& given, std::vector<std::string>& rest)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        const auto eq = a.find('=');
        const std::string name = a.substr(0, eq);
        const auto* operation = std::find_if(std::begin(kOperations), std::end(kOperations),
                                             [&](const OperationName& o) { return name == o.name; });
        if (operation == std::end(kOperations)) {
            rest.push_back(a);
        } else if (eq != std::string::npos) {
            given.emplace_back(name, a.substr(eq + 1));
        } else if (!operation->takesValue) {
            given.emplace_back(name, "");
        } else if (i + 1 < arguments.size() && arguments[i + 1].rfind("--", 0) != 0) {
            given.emplace_back(name, arguments[++i]);
        } else {
            return "The operation " + name + " needs a value.";
        }
    }
    return {};
}

// The first map listed twice, or nothing.
std::optional<int> ListedTwice(std::vector<int> maps)
{
    std::sort(maps.begin(), maps.end());
    const auto twice = std::adjacent_find(maps.begin(), maps.end());
    return twice == maps.end() ? std::nullopt : std::optional<int>(*twice);
}

bool ParseInt(std::string_view text, int& value)
{
    const auto number = ParseNumber(text, 10, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    if (number)
        value = static_cast<int>(*number);
    return number.has_value();
}

// "A<separator>B" as two numbers.
bool ParsePair(std::string_view text, char separator, int& a, int& b)
{
    const auto at = text.find(separator);
    return at != std::string_view::npos && ParseInt(text.substr(0, at), a) && ParseInt(text.substr(at + 1), b);
}

std::string PlaneRangeError(int plane, int planes)
{
    return "There is no plane " + std::to_string(plane) + ": the maps have planes 0 to " +
           std::to_string(planes - 1) + ".";
}

// One operation and its value; an error text when it is not valid for the set.
std::string ParseOperation(const std::string& name, const std::string& value, int plane,
                           const MapsWithSymbols& opened, std::vector<Operation>& operations)
{
    const int planes = opened.maps.NumPlanes;
    if (name == "--autofloor") {
        if (!value.empty())
            return "--autofloor takes no value.";
        operations.emplace_back(AutofloorAll{});
        return {};
    }
    if (name == "--rotate") {
        const MapTransform turns[] = {MapTransform::Rotate90, MapTransform::Rotate180, MapTransform::Rotate270};
        for (int i = 0; i < 3; ++i)
            if (value == std::to_string(90 * (i + 1))) {
                operations.emplace_back(Transform{turns[i]});
                return {};
            }
        return "--rotate takes 90, 180 or 270.";
    }
    if (name == "--flip") {
        if (value != "horizontal" && value != "vertical")
            return "--flip takes horizontal or vertical.";
        operations.emplace_back(
            Transform{value == "horizontal" ? MapTransform::FlipHorizontal : MapTransform::FlipVertical});
        return {};
    }
    if (name == "--flip-planes") {
        int a = 0, b = 0;
        if (!ParsePair(value, ',', a, b))
            return "--flip-planes takes two plane numbers from 0, such as 0,1.";
        for (int p : {a, b})
            if (p < 0 || p >= planes)
                return PlaneRangeError(p, planes);
        if (a == b)
            return FlipPlaneWithItselfFailure().text;
        operations.emplace_back(SwapPlanes{a, b});
        return {};
    }
    if (name == "--replace") {
        const auto at = value.find('=');
        if (at == std::string::npos)
            return "--replace takes FIND=WITH: two symbols of the plane, by name or value.";
        Replace replace{};
        for (auto [text, target] : {std::pair{value.substr(0, at), &replace.find},
                                    std::pair{value.substr(at + 1), &replace.with}}) {
            const auto found = LookupSymbol(opened.symbols, plane, text);
            if (!found)
                return "Plane " + std::to_string(plane) + " has no symbol \"" + text + "\".";
            *target = *found;
        }
        operations.emplace_back(replace);
        return {};
    }
    if (name == "--resize") {
        int width = 0, height = 0;
        if (!ParsePair(value, 'x', width, height) || !CanResizeMap(width, height))
            return "--resize takes WxH, each from 1 to " + std::to_string(kMaxMapSize) + ", such as 64x64.";
        operations.emplace_back(Resize{width, height});
        return {};
    }
    return "Unknown operation " + name + ".";
}

// Applies one operation to a map; the line that says what was done.
std::string Apply(const Operation& operation, MapList& map, int plane, const MapsWithSymbols& opened,
                  const FacingGroups& facing)
{
    if (std::holds_alternative<AutofloorAll>(operation)) {
        const FloorRange range = FindFloorRange(opened.symbols.PlaneSymbols(0));
        tsl::Autofloor(map, range);
        return "floor areas numbered";
    }
    if (const auto* t = std::get_if<Transform>(&operation)) {
        TransformMap(map, t->transform, facing);
        switch (t->transform) {
        case MapTransform::Rotate90: return "rotated by 90 degrees";
        case MapTransform::Rotate180: return "rotated by 180 degrees";
        case MapTransform::Rotate270: return "rotated by 270 degrees";
        case MapTransform::FlipHorizontal: return "flipped horizontally";
        case MapTransform::FlipVertical: return "flipped vertically";
        }
    }
    if (const auto* s = std::get_if<SwapPlanes>(&operation)) {
        FlipPlanes(map, s->first, s->second);
        return "planes " + std::to_string(s->first) + " and " + std::to_string(s->second) + " exchanged";
    }
    if (const auto* r = std::get_if<Replace>(&operation)) {
        int count = 0;
        // A word replaced by itself is no replacement.
        if (r->find != r->with && static_cast<std::size_t>(plane) < map.Planes.size())
            count = ReplaceInPlane(map.Planes[static_cast<std::size_t>(plane)], map.Width, map.Height, r->find,
                                   r->with, FindDirection::Forward, true);
        return std::to_string(count) + " occurrences were replaced";
    }
    const auto& resize = std::get<Resize>(operation);
    ResizeMap(map, resize.width, resize.height);
    return "resized to " + std::to_string(resize.width) + " x " + std::to_string(resize.height);
}

int RunEdit(Arguments& args, std::ostream& out, std::ostream& err)
{
    EditOptions options;
    std::vector<std::pair<std::string, std::string>> given;
    std::vector<std::string> rest;
    for (const std::string& error : {ReadEditOptions(args, options), TakeOperations(args.Rest(), given, rest)})
        if (!error.empty()) {
            err << error << "\n";
            return kExitUsage;
        }
    // What is left are the loader options, --maps and DIR.
    Arguments positional(rest);
    MapsWithSymbols opened;
    if (int status = OpenMapsWithSymbols(positional, kUsage, opened, err))
        return status;
    if (given.empty()) {
        err << "Name at least one operation.\nUsage: tesselar-cli " << kUsage << "\n";
        return kExitUsage;
    }
    // A map listed twice would have every operation run on it twice.
    if (const auto twice = ListedTwice(opened.selected)) {
        err << "Map " << *twice + 1 << " is listed twice in --maps.\n";
        return kExitUsage;
    }
    int plane = 0;
    if (options.plane && !ParseInt(*options.plane, plane)) {
        err << "--plane takes a plane number from 0.\n";
        return 2;
    }
    if (plane < 0 || plane >= opened.maps.NumPlanes) {
        err << PlaneRangeError(plane, opened.maps.NumPlanes) << "\n";
        return 2;
    }
    std::vector<Operation> operations;
    for (const auto& [name, value] : given) {
        if (std::string error = ParseOperation(name, value, plane, opened, operations); !error.empty()) {
            err << error << "\n";
            return 2;
        }
    }
    if (RefuseDamagedSave(opened.maps, options.force, err))
        return 1;

    const FacingGroups facing = options.keepFacing ? FacingGroups{} : ReadFacingGroups(*opened.settings);
    bool changed = false;
    for (int index : opened.selected) {
        MapList& map = opened.maps.Maps[static_cast<std::size_t>(index)];
        const MapList before = map;
        for (const Operation& operation : operations)
            out << MapLabel(opened.maps, index) << ": " << Apply(operation, map, plane, opened, facing) << "\n";
        changed = changed || map.Width != before.Width || map.Height != before.Height || map.Planes != before.Planes;
    }
    if (!changed) {
        out << "No map was changed; nothing was saved.\n";
        return 0;
    }
    std::string kept;
    if (!SaveGameSet(opened.maps, options.force, err, kept))
        return 1;
    out << "Maps saved!" << (kept.empty() ? "" : " " + kept) << "\n";
    return 0;
}

const Registrar kEdit({"edit", kUsage,
                       "Applies the operations, in the order given, to every listed map (every map without\n"
                       "      --maps) and saves the set once, keeping the previous files as .BAK. Operations:\n"
                       "      --autofloor, --rotate 90|180|270, --flip horizontal|vertical, --flip-planes A,B,\n"
                       "      --replace FIND=WITH (symbols of plane P by name or value; --plane P, default 0),\n"
                       "      --resize WxH. Rotating and flipping turn the structure's facing objects (player\n"
                       "      starts, actors, turning points, doors) to face the same way on the map;\n"
                       "      --keep-facing keeps their words. Any error stops the command before anything is saved.",
                       RunEdit});

} // namespace
} // namespace tsl::cli
