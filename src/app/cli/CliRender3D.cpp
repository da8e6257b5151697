// tesselar-cli render3d DIR OUT: one map seen from inside, as the 3D preview
// draws it, from the game's own pictures.

#include "app/cli/Cli.h"
#include "core/ImageFile.h"
#include "core/IniFile.h"
#include "editor/GameGraphics.h"
#include "engine/StructureRules.h"
#include "mapdefs/StructureStore.h"
#include "raycast/GamePictures.h"
#include "raycast/Raycaster.h"
#include "symbols/SymbolTables.h"

#include <charconv>
#include <cmath>
#include <memory>
#include <ostream>

namespace tsl::cli {
namespace {

constexpr const char* kUsage =
    "render3d DIR OUT.png [--map N] [--at X,Y] [--angle DEG] [--size WxH] [loader options]";
constexpr long kLargestSide = 8192;

// "A<separator>B" as two whole numbers from `min` to `max`.
bool ParsePair(const std::string& text, char separator, long min, long max, long& a, long& b)
{
    const auto at = text.find(separator);
    if (at == std::string::npos)
        return false;
    const auto first = ParseNumber(std::string_view(text).substr(0, at), 10, min, max);
    const auto second = ParseNumber(std::string_view(text).substr(at + 1), 10, min, max);
    if (!first || !second)
        return false;
    a = *first;
    b = *second;
    return true;
}

std::optional<double> ParseAngle(const std::string& text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string Number(double value)
{
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return error == std::errc() ? std::string(text, end) : std::string("?");
}

int RunRender3D(Arguments& args, std::ostream& out, std::ostream& err)
{
    LoaderOptions options;
    if (std::string error = ReadLoaderOptions(args, options); !error.empty()) {
        err << error << "\n";
        return kExitUsage;
    }
    int mapNumber = 1;
    if (auto text = args.Value("--map")) {
        const auto number = ParseNumber(*text, 10, 1, 1L << 30);
        if (!number) {
            err << "The map number must be a number from 1.\n";
            return kExitUsage;
        }
        mapNumber = static_cast<int>(*number);
    }
    std::optional<std::pair<long, long>> at;
    if (auto text = args.Value("--at")) {
        long x = 0;
        long y = 0;
        if (!ParsePair(*text, ',', 0, kMaxMapSize - 1, x, y)) {
            err << "The camera's tile must be given as X,Y, each from 0 to " << kMaxMapSize - 1 << ".\n";
            return kExitUsage;
        }
        at = {x, y};
    }
    std::optional<double> angle;
    if (auto text = args.Value("--angle")) {
        angle = ParseAngle(*text);
        if (!angle) {
            err << "The angle must be a number of degrees (0 east, 90 north, 180 west, 270 south).\n";
            return kExitUsage;
        }
    }
    long width = 640;
    long height = 400;
    if (auto text = args.Value("--size")) {
        if (!ParsePair(*text, 'x', 1, kLargestSide, width, height)) {
            err << "The size must be given as WxH, each from 1 to " << kLargestSide << " pixels.\n";
            return kExitUsage;
        }
    }
    if (!ExpectPositionals(args, 2, kUsage, err))
        return kExitUsage;
    const std::string& outPath = args.Rest()[1];

    MapHandler maps;
    if (!OpenGameSet(args.Rest()[0], options, maps, err))
        return kExitFailed;
    if (mapNumber > maps.NumMaps()) {
        err << "There is no map " << mapNumber << ": the set has " << maps.NumMaps() << " maps.\n";
        return kExitFailed;
    }
    const MapList& map = maps.Maps[static_cast<std::size_t>(mapNumber - 1)];
    if (at && (at->first >= map.Width || at->second >= map.Height)) {
        err << "There is no tile " << at->first << "," << at->second << ": map " << mapNumber << " is " << map.Width
            << " x " << map.Height << " tiles.\n";
        return kExitUsage;
    }
    const std::filesystem::path root = MapDefsRootOf(options);
    const IniFile settings(StructureSettingsPath(root, maps.Extension, maps.HeaderExecutable));
    const GraphicsLoad load = LoadGameGraphics(maps.Path, maps.Extension,
                                               StructureFolder(root, maps.Extension, maps.HeaderExecutable), settings);
    if (load.Status != GraphicsStatus::Loaded) {
        err << load.Problem.text << "\n";
        return kExitUsage;
    }
    const GameGraphics& graphics = *load.Graphics;
    const auto pictures = std::make_unique<GamePictures>(
        BuildGamePictures(graphics.Pages, graphics.Colours, graphics.Pictures, graphics.Settings));
    if (RulesLoad rules = LoadEngineRules(StructureFolder(root, maps.Extension, maps.HeaderExecutable), settings, {});
        rules.Status == RulesStatus::Loaded)
        pictures->words.rules = std::move(rules.Rules);

    const Level level = BuildLevel(map, mapNumber - 1, pictures->words);
    Camera camera = StartCamera(map);
    if (at)
        camera = CameraAtTile(static_cast<int>(at->first), static_cast<int>(at->second), camera.angle);
    if (angle)
        TurnCamera(camera, *angle - camera.angle);
    Image picture(static_cast<int>(width), static_cast<int>(height));
    Raycaster().Render(level, pictures->pages, camera, picture);
    if (auto failure = SaveImageFile(outPath, picture)) {
        Report(*failure, err);
        return kExitFailed;
    }
    out << "Map " << mapNumber << " (" << PrintableName(map.Name) << ") seen from " << Number(camera.x)
        << "," << Number(camera.y) << " looking at " << Number(camera.angle) << " degrees saved as " << outPath << ", "
        << width << " x " << height << " pixels.\n";
    return ReadingStatus(maps, err);
}

const Registrar kRender3D({"render3d", kUsage,
                           "Draws map N (from 1, default 1) seen from inside, as the 3D preview draws it from the\n"
                           "      game's VSWAP file, into OUT: a PNG picture when OUT ends in .png, otherwise a\n"
                           "      bitmap. The camera stands in the middle of tile X,Y (from 0) looking along DEG\n"
                           "      (0 east, 90 north, 180 west, 270 south); both default to the map's player start\n"
                           "      (the middle of the map looking east without one). WxH defaults to 640x400.",
                           RunRender3D});

} // namespace
} // namespace tsl::cli
