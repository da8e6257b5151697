// tesselar-cli render DIR OUT: one map drawn as the editor's map view draws
// it, with the symbols of the game's map definition structure, or with the
// game's own pictures (--graphics).

#include "app/cli/Cli.h"
#include "core/ImageFile.h"
#include "core/IniFile.h"
#include "editor/GameGraphics.h"
#include "editor/GameMapRenderer.h"
#include "editor/MapRenderer.h"
#include "mapdefs/StructureStore.h"
#include "symbols/SymbolTables.h"

#include <ostream>

namespace tsl::cli {
namespace {

constexpr const char* kUsage = "render DIR OUT [--map N] [--zoom Z] [--graphics] [loader options]";

int RunRender(Arguments& args, std::ostream& out, std::ostream& err)
{
    LoaderOptions options;
    if (std::string error = ReadLoaderOptions(args, options); !error.empty()) {
        err << error << "\n";
        return kExitUsage;
    }
    const bool graphics = args.Flag("--graphics");
    int mapNumber = 1;
    int zoom = 0;
    if (auto text = args.Value("--map")) {
        const auto number = ParseNumber(*text, 10, 1, 1L << 30);
        if (!number) {
            err << "The map number must be a number from 1.\n";
            return kExitUsage;
        }
        mapNumber = static_cast<int>(*number);
    }
    if (auto text = args.Value("--zoom")) {
        const auto position = ParseNumber(*text, 10, 0, 4);
        if (!position) {
            err << "The zoom must be a track-bar position from 0 to 4 (1x, 2x, 4x, 6x, 8x).\n";
            return kExitUsage;
        }
        zoom = static_cast<int>(*position);
    }
    if (!ExpectPositionals(args, 2, kUsage, err))
        return kExitUsage;
    const std::string& outPath = args.Rest()[1];

    MapHandler maps;
    if (!OpenGameSet(args.Rest()[0], options, maps, err))
        return kExitFailed;
    const std::filesystem::path root = MapDefsRootOf(options);
    if (!StructureExists(root, maps.Extension, maps.HeaderExecutable)) {
        err << "There is no map definition structure for \"" << maps.Extension << "\"-files in " << root.string()
            << ": the symbols to draw the map with are missing.\n";
        return kExitFailed;
    }
    if (mapNumber > maps.NumMaps()) {
        err << "There is no map " << mapNumber << ": the set has " << maps.NumMaps() << " maps.\n";
        return kExitFailed;
    }

    const IniFile settings(StructureSettingsPath(root, maps.Extension, maps.HeaderExecutable));
    SymbolTables tables;
    if (auto failure = tables.LoadMapSymbols(StructureFolder(root, maps.Extension, maps.HeaderExecutable), settings,
                                             maps.NumPlanes, false)) {
        Report(*failure, err);
        return kExitFailed;
    }
    const MapList& map = maps.Maps[static_cast<std::size_t>(mapNumber - 1)];
    const std::vector<PlaneDisplay> display = ReadPlaneDisplay(settings, maps.NumPlanes);
    Image view;
    int factor = ZoomFactorOf(zoom);
    if (graphics) {
        // The game's pictures are drawn at the zoom itself: at 8x every
        // pixel of a wall is its chunk's pixel.
        const GraphicsLoad load = LoadGameGraphics(maps.Path, maps.Extension,
                                                   StructureFolder(root, maps.Extension, maps.HeaderExecutable), settings);
        if (load.Status != GraphicsStatus::Loaded) {
            err << load.Problem.text << "\n";
            return kExitUsage;
        }
        GameMapRenderer renderer(load.Graphics);
        auto picture = renderer.RenderMap(map, tables, display, kIntMode, factor);
        if (!picture) {
            Report(picture.failure(), err);
            return kExitFailed;
        }
        view = std::move(*picture);
        factor = 1;
    } else {
        RedrawMap(view, map, tables, display, kIntMode);
    }
    if (auto failure = SaveImageFile(outPath, view, factor)) {
        Report(*failure, err);
        return kExitFailed;
    }
    out << "Map " << mapNumber << " (" << PrintableName(map.Name) << ") saved as " << outPath << ", "
        << view.width * factor << " x " << view.height * factor << " pixels.\n";
    return ReadingStatus(maps, err);
}

const Registrar kRender({"render", kUsage,
                         "Draws map N (from 1, default 1) with the symbols of the game's map definition structure,\n"
                         "      as the map view shows it in Int (16-bit) Mode, enlarged by the zoom of track-bar\n"
                         "      position Z (0 ... 4: 1x, 2x, 4x, 6x, 8x; default 0), into OUT: a PNG picture when\n"
                         "      OUT ends in .png, otherwise a bitmap. With --graphics, walls, doors and objects are\n"
                         "      drawn with the game's own pictures from its VSWAP file, as the map view's \"Game\n"
                         "      Graphics\" shows them (status 2 when the file is missing or damaged).",
                         RunRender});

} // namespace
} // namespace tsl::cli
