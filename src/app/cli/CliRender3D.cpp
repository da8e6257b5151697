// tesselar-cli render3d DIR OUT: one map seen from inside, as the 3D preview
// draws it, from the game's own pictures.

#include "app/cli/CliMaps.h"
#include "core/ImageFile.h"
#include "editor/render/GameGraphics.h"
#include "engine/StructureRules.h"
#include "raycast/GamePictures.h"
#include "raycast/Raycaster.h"

#include <charconv>
#include <cmath>
#include <memory>
#include <ostream>

namespace tsl::cli {
namespace {

constexpr int kLargestSide = 8192;
// Skill level 4 places every actor that some skill level places.
constexpr int kEverySkill = 4;

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

struct Render3DArguments : PictureArguments {
    std::optional<std::pair<int, int>> at;
    std::optional<double> angle;
    int width = 640;
    int height = 400;
    int skill = kEverySkill;

    void Declare(Declarations& d)
    {
        DeclarePicture(d, "OUT.png");
        d.Pair("--at", "X,Y", 0, kMaxMapSize - 1, [this](int x, int y) { at = {x, y}; },
               "the camera's tile, from 0 (default: the player start)");
        d.Value("--angle", "DEG", "where the camera looks, in degrees (default: as the player start)",
                [this](const std::string& text) {
                    angle = ParseAngle(text);
                    return angle ? std::string()
                                   : Declarations::Takes("--angle", "a number of degrees (0 east, 90 north, 180 west, "
                                                                    "270 south)");
                });
        d.Pair("--size", "WxH", 1, kLargestSide, [this](int w, int h) { width = w; height = h; },
               "the picture's size in pixels (default 640x400)", Times::Once, "640x400");
        d.Number("--skill", "K", 1, 4, skill, "a skill level from 1 to 4",
                 "draw the actors the game places on skill level K (default 4: every actor)");
    }
};

int RunRender3D(const Render3DArguments& a, std::ostream& out, std::ostream& err)
{
    MapsWithSymbols opened;
    if (const int status = OpenMapsWithSymbols(a.dir, a.loader, a.map, opened, err))
        return status;
    const MapHandler& maps = opened.maps;
    const MapList& map = maps.Maps[static_cast<std::size_t>(a.map - 1)];
    if (a.at && (a.at->first >= map.Width || a.at->second >= map.Height)) {
        err << "There is no tile " << a.at->first << "," << a.at->second << ": map " << a.map << " is " << map.Width
            << " x " << map.Height << " tiles.\n";
        return kExitUsage;
    }
    const std::filesystem::path& folder = opened.structureFolder;
    const IniFile& settings = *opened.settings;
    const GraphicsLoad load = LoadGameGraphics(maps.Path, maps.Extension, folder, settings);
    if (load.Status != GraphicsStatus::Loaded) {
        err << PrintableText(load.Problem.text, true) << "\n";
        return kExitUsage;
    }
    const GameGraphics& graphics = *load.Graphics;
    const auto pictures = std::make_unique<GamePictures>(
        BuildGamePictures(graphics.Pages, graphics.Colours, graphics.Pictures, graphics.Settings));
    const RulesLoad rules = LoadEngineRules(folder, settings, opened.symbols);
    if (rules.Status == RulesStatus::Loaded)
        pictures->words.rules = rules.Rules;

    const Level level = BuildLevel(map, a.map - 1, pictures->words, a.skill);
    Camera camera = StartCamera(map, *rules.Rules);
    if (a.at)
        camera = CameraAtTile(a.at->first, a.at->second, camera.angle);
    if (a.angle)
        TurnCamera(camera, *a.angle - camera.angle);
    Image picture(a.width, a.height);
    Raycaster().Render(level, pictures->pages, camera, picture);
    if (auto failure = SaveImageFile(a.out, picture)) {
        Report(*failure, err);
        return kExitFailed;
    }
    out << "Map " << a.map << " (" << PrintableName(map.Name) << ") seen from " << Number(camera.x)
        << "," << Number(camera.y) << " looking at " << Number(camera.angle) << " degrees saved as " << PrintableText(a.out) << ", "
        << a.width << " x " << a.height << " pixels.\n";
    return ReadingStatus(maps, err);
}

} // namespace

Command Render3DCommand()
{
    return MakeCommand(
        "render3d",
        "Draws map N seen from inside, as the 3D preview draws it from the game's VSWAP file,\n"
        "into OUT. The camera stands in the middle of tile X,Y looking along DEG (0 east, 90\n"
        "north, 180 west, 270 south); both default to the map's player start (the middle of\n"
        "the map looking east without one). Actors face as the map says, each drawn from the\n"
        "side the camera sees, and only those of skill level K stand there.",
        RunRender3D);
}

} // namespace tsl::cli
