// The editor window, offscreen: painting a viewport of the largest map at
// every zoom position, in symbols and in the game's own pictures, and
// opening a 60-map set through the whole open flow.

#include "SampleGame.h"
#include "core/Prompter.h"
#include "editor/document/MapDocument.h"
#include "editor/document/PointerInput.h"
#include "editor/ui/views/MapView.h"
#include "editor/ui/views/SidePanel.h"
#include "editor/ui/window/TEditorBox.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSlider>

#include <filesystem>
#include <optional>
#include <random>

namespace fs = std::filesystem;
using namespace tsl;

namespace {

// Answers nothing: the benchmarks open sets that need no question.
class SilentPrompter : public Prompter {
public:
    using Prompter::Message;
    Answer Message(const std::string&, const std::string&, MessageIcon, Buttons, std::optional<Answer>) override
    {
        return Answer::No;
    }
    std::optional<fs::path> ChooseDirectory(const std::string&, const fs::path&) override { return std::nullopt; }
    std::optional<fs::path> ChooseOpenFile(const std::string&, const FileFilter&) override { return std::nullopt; }
    using Prompter::ChooseSaveFile;
    std::optional<fs::path> ChooseSaveFile(const std::string&, const FileFilter&, const std::string&,
                                           const std::string&) override
    {
        return std::nullopt;
    }
    int Choose(const std::string&, const std::string&, MessageIcon, const std::vector<std::string>& buttons) override
    {
        return static_cast<int>(buttons.size()) - 1;
    }
};

class Scratch {
public:
    Scratch()
    {
        std::string pattern = (fs::temp_directory_path() / "tesselar-uibench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        path = pattern;
        fs::copy(fs::path(TESSELAR_SOURCE_DIR) / "data" / "MapDefs", path / "MapDefs", fs::copy_options::recursive);
    }
    ~Scratch() { fs::remove_all(path); }
    EditorEnvironment Environment() const { return {path / "TSL.ini", path / "MapDefs", {}, {}}; }
    fs::path path;
};

// A WL6 game of one 256 x 256 map of rooms and objects, or of 60 levels.
fs::path WriteGame(const fs::path& dir, bool large)
{
    fs::create_directories(dir);
    MapHandler set;
    sample::BuildSampleGame(set);
    set.Clear();
    if (large) {
        // Rooms of 11 x 11 tiles with walls and doors between them, and
        // objects here and there: every tile shows a symbol.
        MapList map = set.CreateMap(256, 256, "Huge");
        std::mt19937 random(3);
        for (int y = 0; y < 256; ++y) {
            for (int x = 0; x < 256; ++x) {
                const bool wall = x % 12 == 0 || y % 12 == 0;
                const bool door = wall && (x % 12 == 6 || y % 12 == 6);
                const int room = (x / 12 + y / 12) % 36;
                map.SetWord(0, x, y, static_cast<std::uint16_t>(door ? 90 : wall ? 1 + room % 20 : 108 + room));
                if (!wall && random() % 9 == 0)
                    map.SetWord(1, x, y, static_cast<std::uint16_t>(23 + random() % 40));
            }
        }
        set.Headers.push_back(MapHandler::HeaderFor(map));
        set.AddMap(std::move(map));
    } else {
        sample::AddGeneratedLevels(set, 60, 40);
    }
    set.Path = dir;
    if (set.Save())
        std::abort();
    return dir;
}

void BM_PaintViewport_800x600_256x256(benchmark::State& state)
{
    const int position = static_cast<int>(state.range(0));
    Scratch scratch;
    SilentPrompter prompter;
    TEditorBox editor(prompter, scratch.Environment());
    editor.OpenDirectory(WriteGame(scratch.path / "huge", true));
    editor.Panel()->ZoomSlider()->setValue(position);
    editor.Action("mapGridAction")->trigger(); // the grid is painted too
    MapPaintArea* area = editor.View()->PaintArea();
    QImage target(800, 600, QImage::Format_RGB32);
    // The middle of the map, as after scrolling there.
    const QPoint origin(std::max(0, area->width() / 2 - 400), std::max(0, area->height() / 2 - 300));
    for (auto _ : state) {
        area->render(&target, QPoint(), QRegion(QRect(origin, QSize(800, 600))));
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetLabel("zoom " + std::to_string(editor.ZoomFactor()) + "x");
}
BENCHMARK(BM_PaintViewport_800x600_256x256)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

// The shareware page file, from TESSELAR_GAMES_DIR or ../shared/games beside
// the sources (or beside the worktrees' folder).
std::optional<fs::path> SharewarePageFile()
{
    const fs::path source = TESSELAR_SOURCE_DIR;
    std::vector<fs::path> roots = {source.parent_path() / "shared" / "games",
                                   source.parent_path().parent_path() / "shared" / "games"};
    if (const char* env = std::getenv("TESSELAR_GAMES_DIR"))
        roots = {env};
    for (const fs::path& root : roots)
        if (fs::exists(root / "wl1" / "VSWAP.WL1"))
            return root / "wl1" / "VSWAP.WL1";
    return std::nullopt;
}

// The 256 x 256 game opened in `editor` with "Game Graphics" on: the
// shareware page file stands in for the game's own (the words it has no
// picture for draw their symbols, as in a game). False, with the benchmark
// skipped, without it.
bool OpenWithGamePictures(benchmark::State& state, const Scratch& scratch, TEditorBox& editor)
{
    const auto pages = SharewarePageFile();
    if (!pages) {
        state.SkipWithError("no shareware VSWAP.WL1 in ../shared/games/wl1");
        return false;
    }
    const fs::path game = WriteGame(scratch.path / "huge", true);
    fs::copy_file(*pages, game / "VSWAP.WL6");
    editor.OpenDirectory(game);
    if (!editor.GameGraphicsShown()) {
        state.SkipWithError("the game's pictures are not shown");
        return false;
    }
    return true;
}

// The same map in the game's own pictures, a 1600 x 1000 viewport.
void BM_PaintGameViewport_1600x1000_256x256(benchmark::State& state)
{
    const int position = static_cast<int>(state.range(0));
    Scratch scratch;
    SilentPrompter prompter;
    TEditorBox editor(prompter, scratch.Environment());
    if (!OpenWithGamePictures(state, scratch, editor))
        return;
    editor.Panel()->ZoomSlider()->setValue(position);
    MapPaintArea* area = editor.View()->PaintArea();
    QImage target(1600, 1000, QImage::Format_RGB32);
    const QPoint origin(std::max(0, area->width() / 2 - 800), std::max(0, area->height() / 2 - 500));
    area->render(&target, QPoint(), QRegion(QRect(origin, QSize(1600, 1000)))); // the pictures reduced once
    for (auto _ : state) {
        area->render(&target, QPoint(), QRegion(QRect(origin, QSize(1600, 1000))));
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetLabel("zoom " + std::to_string(editor.ZoomFactor()) + "x");
}
BENCHMARK(BM_PaintGameViewport_1600x1000_256x256)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

// A 100-tile pencil stroke through the window, as the mouse makes it: the
// 256 x 256 map in the game's own pictures at zoom 2x, the 3D preview open
// beside it, every event delivered and every repaint it asks for done
// before the next one (the view's tiles, and the preview's frame, which
// follows a stroke at most once in 16 ms). Each stroke is undone untimed,
// so that every stroke draws.
void BM_PencilStroke100Tiles_GameGraphicsAndPreview_256x256(benchmark::State& state)
{
    Scratch scratch;
    SilentPrompter prompter;
    TEditorBox editor(prompter, scratch.Environment());
    if (!OpenWithGamePictures(state, scratch, editor))
        return;
    editor.resize(1400, 900);
    editor.show();
    editor.Panel()->ZoomSlider()->setValue(1);
    editor.Action("preview3DAction")->trigger();
    QApplication::processEvents();
    editor.Session()->SetButtonValue(PointerButton::Left, 1);
    MapPaintArea* area = editor.View()->PaintArea();
    const int cell = area->CellSize();
    auto send = [&](QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons held) {
        const QPointF at(x * cell + cell / 2, y * cell + cell / 2);
        QMouseEvent event(type, at, area->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(area, &event);
        QApplication::processEvents();
    };
    long tiles = 0;
    for (auto _ : state) {
        // To and fro over rows of 40 tiles, from one tile to the next.
        auto tile = [](int i) { return QPoint(i / 40 % 2 ? 41 - i % 40 : 2 + i % 40, 2 + i / 40); };
        send(QEvent::MouseButtonPress, 2, 2, Qt::LeftButton, Qt::LeftButton);
        for (int i = 1; i < 100; ++i)
            send(QEvent::MouseMove, tile(i).x(), tile(i).y(), Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, tile(99).x(), tile(99).y(), Qt::LeftButton, Qt::NoButton);
        tiles += 100;
        state.PauseTiming();
        editor.Action("undoAction")->trigger();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(tiles);
    state.counters["ms_per_tile"] = benchmark::Counter(static_cast<double>(tiles) / 1000.0,
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PencilStroke100Tiles_GameGraphicsAndPreview_256x256)->Unit(benchmark::kMillisecond);

// The reachable area and the patrol routes after an edit, as the window
// works them out in the turn of its event loop after the edit: the analysis,
// the overlay's picture, and the repaint of what changed in a 1400 x 900
// window at zoom 2x. The sample's 64 x 64 first level, its exit's door
// walled up and opened again turn by turn; the 256 x 256 map of rooms with
// a player start and an elevator switch in its first room, one of that
// room's doors walled up and opened again (a quarter of the map's tiles
// change between reached and not).
void BM_ReachableAreaAfterAnEdit(benchmark::State& state)
{
    const bool large = state.range(0) == 256;
    Scratch scratch;
    SilentPrompter prompter;
    TEditorBox editor(prompter, scratch.Environment());
    const fs::path game = scratch.path / "game";
    fs::create_directories(game);
    if (large)
        WriteGame(game, true);
    else if (sample::WriteSampleGame(game))
        std::abort();
    editor.OpenDirectory(game);
    editor.resize(1400, 900);
    editor.show();
    editor.Panel()->ZoomSlider()->setValue(1);
    MapDocument& document = editor.Session()->Document();
    const QPoint door = large ? QPoint(6, 12) : QPoint(60, 56);
    const std::uint16_t doorWord = editor.Session()->Maps().Current().Word(0, door.x(), door.y());
    if (large) {
        auto change = document.Begin();
        change.SetWord(0, 1, 6, 6, 19);  // the player start
        change.SetWord(0, 0, 12, 5, 21); // the elevator switch, used from the west
        change.Commit();
    }
    editor.Action("showReachableAreaAction")->trigger();
    editor.Action("showPatrolRoutesAction")->trigger();
    QApplication::processEvents();
    bool walled = false;
    for (auto _ : state) {
        state.PauseTiming();
        walled = !walled;
        auto change = document.Begin();
        change.SetWord(0, 0, door.x(), door.y(), walled ? 1 : doorWord);
        change.Commit();
        state.ResumeTiming();
        QApplication::processEvents(); // the analysis, once, and the repaint
    }
    state.SetLabel(large ? "256 x 256" : "64 x 64");
}
BENCHMARK(BM_ReachableAreaAfterAnEdit)->Arg(64)->Arg(256)->Unit(benchmark::kMillisecond);

void BM_OpenProject_60maps(benchmark::State& state)
{
    Scratch scratch;
    const fs::path game = WriteGame(scratch.path / "sixty", false);
    SilentPrompter prompter;
    TEditorBox editor(prompter, scratch.Environment());
    for (auto _ : state) {
        if (!editor.OpenProject(true, game))
            state.SkipWithError("open failed");
    }
}
BENCHMARK(BM_OpenProject_60maps)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
