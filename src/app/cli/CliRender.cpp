// tesselar-cli render DIR OUT: one map drawn as the editor's map view draws
// it, with the symbols of the game's map definition structure, or with the
// game's own pictures (--graphics).

#include "app/cli/CliMaps.h"
#include "core/ImageFile.h"
#include "editor/render/GameGraphics.h"
#include "editor/render/GameMapRenderer.h"
#include "editor/render/MapRenderer.h"
#include "engine/StructureRules.h"

#include <ostream>

namespace tsl::cli {
namespace {

struct RenderArguments : PictureArguments {
    int zoom = 0;
    bool graphics = false;

    void Declare(Declarations& d)
    {
        DeclarePicture(d, "OUT");
        d.Number("--zoom", "Z", 0, 4, zoom, "a track-bar position from 0 to 4 (1x, 2x, 4x, 6x, 8x)",
                 "the zoom's track-bar position: 0 ... 4 for 1x, 2x, 4x, 6x, 8x (default 0)");
        d.Flag("--graphics", graphics, "draw with the game's own pictures from its VSWAP file");
    }
};

int RunRender(const RenderArguments& a, std::ostream& out, std::ostream& err)
{
    MapsWithSymbols opened;
    if (const int status = OpenMapsWithSymbols(a.dir, a.loader, a.map, opened, err))
        return status;
    const MapHandler& maps = opened.maps;
    const IniFile& settings = *opened.settings;
    const std::filesystem::path& folder = opened.structureFolder;
    const SymbolTables& tables = opened.symbols;
    const MapList& map = maps.Maps[static_cast<std::size_t>(a.map - 1)];
    const std::vector<PlaneDisplay> display = ReadPlaneDisplay(settings, maps.NumPlanes);
    Image view;
    int factor = ZoomFactorOf(a.zoom);
    if (a.graphics) {
        // The game's pictures are drawn at the zoom itself: at 8x every
        // pixel of a wall is its chunk's pixel.
        const GraphicsLoad load = LoadGameGraphics(maps.Path, maps.Extension, folder, settings);
        if (load.Status != GraphicsStatus::Loaded) {
            err << PrintableText(load.Problem.text, true) << "\n";
            return kExitUsage;
        }
        GameMapRenderer renderer(load.Graphics);
        // As the window draws it: markers by the rules of play, with their badges.
        renderer.SetRules(LoadEngineRules(folder, settings, tables).Rules);
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
    if (auto failure = SaveImageFile(a.out, view, factor)) {
        Report(*failure, err);
        return kExitFailed;
    }
    out << "Map " << a.map << " (" << PrintableName(map.Name) << ") saved as " << PrintableText(a.out) << ", "
        << view.width * factor << " x " << view.height * factor << " pixels.\n";
    return ReadingStatus(maps, err);
}

} // namespace

Command RenderCommand()
{
    return MakeCommand(
        "render",
        "Draws map N with the symbols of the game's map definition structure, as the map view\n"
        "shows it in Int (16-bit) Mode, into OUT. With --graphics, walls, doors and objects are\n"
        "drawn with the game's own pictures from its VSWAP file, as the map view's \"Game\n"
        "Graphics\" shows them (status 2 when the file is missing or damaged).",
        RunRender);
}

} // namespace tsl::cli
