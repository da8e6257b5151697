// tesselar-cli edit DIR OPERATION...: whole-map operations on maps of a set,
// saved once at the end.

#include "app/cli/CliMaps.h"
#include "editor/operations/FindReplace.h"
#include "editor/operations/MapOperations.h"

#include <ostream>
#include <variant>

namespace tsl::cli {
namespace {

struct AutofloorAll {};
struct Transform {
    MapTransform transform;
    const char* done; // what the output says
};
struct SwapPlanes {
    int first, second;
};
struct ReplaceSymbols { // as given: names or values of symbols
    std::string find, with;
};
struct Replace {
    std::uint16_t find, with;
};
struct Resize {
    int width, height;
};
using Operation = std::variant<AutofloorAll, Transform, SwapPlanes, ReplaceSymbols, Replace, Resize>;

struct EditArguments {
    std::string dir;
    MapNumbers maps;
    int plane = 0;
    bool force = false;
    bool keepFacing = false;
    std::vector<Operation> operations; // in the order given
    LoaderOptions loader;

    void Declare(Declarations& d)
    {
        d.Maps(maps, "the maps to change (every map without it)");
        d.Number("--plane", "P", 0, 32766, plane, "a plane number from 0",
                 "the plane of --replace, from 0 (default 0)");
        d.Force(force);
        d.Flag("--keep-facing", keepFacing, "rotate and flip the tiles only, not the facing of the objects");
        d.Group(Declarations::kOperations);
        d.Flag("--autofloor", [this] { operations.emplace_back(AutofloorAll{}); }, "number the floor areas",
               Times::EachInOrder);
        const auto transform = [this](Transform t) { operations.emplace_back(t); };
        d.Choice<Transform>("--rotate", {{"90", {MapTransform::Rotate90, "rotated by 90 degrees"}},
                                         {"180", {MapTransform::Rotate180, "rotated by 180 degrees"}},
                                         {"270", {MapTransform::Rotate270, "rotated by 270 degrees"}}},
                            transform, "turn the map clockwise by so many degrees", Times::EachInOrder);
        d.Choice<Transform>("--flip", {{"horizontal", {MapTransform::FlipHorizontal, "flipped horizontally"}},
                                       {"vertical", {MapTransform::FlipVertical, "flipped vertically"}}},
                            transform, "mirror the map", Times::EachInOrder);
        d.Pair("--flip-planes", "A,B", 0, 32766, [this](int a, int b) { operations.emplace_back(SwapPlanes{a, b}); },
               "exchange planes A and B (from 0)", Times::EachInOrder);
        d.Value("--replace", "FIND=WITH", "replace one symbol of plane P by another, each by name or value",
                [this](const std::string& text) {
                    const auto at = text.find('=');
                    if (at != std::string::npos)
                        operations.emplace_back(ReplaceSymbols{text.substr(0, at), text.substr(at + 1)});
                    return at != std::string::npos ? std::string()
                           : Declarations::Takes("--replace", "FIND=WITH: two symbols of the plane, by name or value");
                },
                Times::EachInOrder);
        d.Pair("--resize", "WxH", 1, kMaxMapSize, [this](int w, int h) { operations.emplace_back(Resize{w, h}); },
               "give the map W columns and H rows", Times::EachInOrder, "64x64");
    }
};

std::string PlaneRangeError(int plane, int planes)
{
    return "There is no plane " + std::to_string(plane) + ": the maps have planes 0 to " +
           std::to_string(planes - 1) + ".";
}

// The operations as the set can run them: planes checked, symbols found;
// an error text when one cannot run.
std::string Resolve(std::vector<Operation>& operations, int plane, const MapsWithSymbols& opened)
{
    const int planes = opened.maps.NumPlanes;
    for (Operation& operation : operations) {
        if (const auto* swap = std::get_if<SwapPlanes>(&operation)) {
            for (int p : {swap->first, swap->second})
                if (p >= planes)
                    return PlaneRangeError(p, planes);
            if (swap->first == swap->second)
                return FlipPlaneWithItselfFailure().text;
        }
        if (const auto* symbols = std::get_if<ReplaceSymbols>(&operation)) {
            Replace replace{};
            for (auto [text, target] :
                 {std::pair{symbols->find, &replace.find}, std::pair{symbols->with, &replace.with}}) {
                const auto found = LookupSymbol(opened.symbols, plane, text);
                if (!found)
                    return "Plane " + std::to_string(plane) + " has no symbol \"" + text + "\".";
                *target = *found;
            }
            operation = replace;
        }
    }
    return {};
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
        return t->done;
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

int RunEdit(const EditArguments& a, std::ostream& out, std::ostream& err)
{
    if (a.operations.empty()) {
        err << "Name at least one operation (see tesselar-cli edit --help).\n";
        return kExitUsage;
    }
    MapsWithSymbols opened;
    if (int status = OpenMapsWithSymbols(a.dir, a.loader, a.maps, opened, err))
        return status;
    if (a.plane >= opened.maps.NumPlanes) {
        err << PlaneRangeError(a.plane, opened.maps.NumPlanes) << "\n";
        return kExitUsage;
    }
    std::vector<Operation> operations = a.operations;
    if (std::string error = Resolve(operations, a.plane, opened); !error.empty()) {
        err << PrintableText(error, true) << "\n";
        return kExitUsage;
    }
    if (RefuseDamagedSave(opened.maps, a.force, err))
        return 1;

    const FacingGroups facing = a.keepFacing ? FacingGroups{} : ReadFacingGroups(*opened.settings);
    bool changed = false;
    for (int index : opened.selected) {
        MapList& map = opened.maps.Maps[static_cast<std::size_t>(index)];
        const MapList before = map;
        for (const Operation& operation : operations)
            out << MapLabel(opened.maps, index) << ": " << Apply(operation, map, a.plane, opened, facing) << "\n";
        changed = changed || map.Width != before.Width || map.Height != before.Height || map.Planes != before.Planes;
    }
    if (!changed) {
        out << "No map was changed; nothing was saved.\n";
        return 0;
    }
    std::string kept;
    if (!SaveGameSet(opened.maps, a.force, err, kept))
        return 1;
    out << "Maps saved!" << (kept.empty() ? "" : " " + kept) << "\n";
    return 0;
}

} // namespace

Command EditCommand()
{
    return MakeCommand(
        "edit",
        "Applies the operations, in the order given, to every listed map (every map without\n"
        "--maps) and saves the set once, keeping the previous files as .BAK. Replacing works\n"
        "on plane P. Rotating and flipping turn the structure's facing objects (player\n"
        "starts, actors, turning points, doors) to face the same way on the map;\n"
        "--keep-facing keeps their words. Any error stops the command before anything is saved.",
        RunEdit);
}

} // namespace tsl::cli
