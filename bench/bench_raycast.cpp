// The 3D preview's frame, drawn by the engine's own projection (fixed-point
// rays at whole fine angles, its post and sprite scaling): a 64 x 64 level of
// rooms and pillars with sixty sprites, drawn at the window's first size and
// at twice that, turning a little between frames so that every direction
// counts. A 640 x 400 frame is to stay under 1 ms. The renderer and
// the picture are kept between frames, as the window keeps them. And what
// one pencil tile costs while the preview is open: the level rebuilt from
// the map's words and a frame drawn. And a tic of a walk by the game's rules
// with its frame, a door sliding and a push wall moving in sight, under 2 ms.

#include "raycast/LevelBuilder.h"
#include "raycast/Raycaster.h"
#include "raycast/Walk.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <optional>
#include <random>

using namespace tsl;

namespace {

constexpr int kWalls = 8;
constexpr int kSprites = 8;

struct Scene {
    Level level{64, 64};
    PagePictures pictures;

    Scene()
    {
        std::mt19937 random(1234);
        for (int page = 0; page < 2 * kWalls + kSprites + 2; ++page) {
            std::vector<std::uint32_t> pixels(kPagePixels);
            for (std::uint32_t& pixel : pixels)
                pixel = 0xFF000000u | (random() & 0xFFFFFFu);
            if (page >= 2 * kWalls + 2) // sprites: a transparent margin
                for (std::size_t i = 0; i < pixels.size(); ++i)
                    if (i % kPageSide < 10 || i / kPageSide < 16 || i / kPageSide >= 48)
                        pixels[i] = kTransparentPixel;
            pictures.Set(page, std::move(pixels));
        }
        std::uniform_int_distribution<int> wall(0, kWalls - 1);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const bool border = x == 0 || y == 0 || x == 63 || y == 63;
                const bool pillar = x % 8 == 4 && y % 8 == 4;
                const bool roomWall = (x % 16 == 0 || y % 16 == 0) && (x + y) % 5 != 0;
                if (border || pillar || roomWall) {
                    const int w = wall(random);
                    level.SetWall(x, y, 2 * w, 2 * w + 1);
                }
            }
        level.frameLight = 2 * kWalls;
        level.frameDark = 2 * kWalls + 1;
        std::uniform_int_distribution<int> tile(1, 62);
        std::uniform_int_distribution<int> sprite(0, kSprites - 1);
        while (level.sprites.size() < 60) {
            const int x = tile(random);
            const int y = tile(random);
            if (level.At(x, y).kind == CellKind::Empty)
                level.sprites.push_back(
                    {x + 0.5, y + 0.5, 2 * kWalls + 2 + sprite(random), level.sprites.size() % 2 == 0});
        }
    }
};

void BM_RaycastFrame(benchmark::State& state)
{
    static const Scene scene;
    Image picture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    Raycaster raycaster;
    Camera camera{22.5, 22.5, 0};
    for (auto _ : state) {
        raycaster.Render(scene.level, scene.pictures, camera, picture);
        benchmark::DoNotOptimize(picture.pixels.data());
        TurnCamera(camera, 7);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RaycastFrame)->Args({640, 400})->Args({1280, 800})->Unit(benchmark::kMillisecond);

// The scene's level written as map words, as the editor holds it: walls
// 1-8, static objects from 23.
struct SceneMap {
    MapList map;
    WordPictures words;

    SceneMap()
    {
        const Scene scene;
        const Level& level = scene.level;
        map.Width = 64;
        map.Height = 64;
        map.Planes.assign(2, std::vector<std::uint16_t>(map.WordCount()));
        for (int w = 0; w < kWalls; ++w)
            words.walls[static_cast<std::uint16_t>(w + 1)] = {2 * w, 2 * w + 1};
        for (int s = 0; s < kSprites; ++s)
            words.sprites[static_cast<std::uint16_t>(23 + s)] = {2 * kWalls + 2 + s, false};
        words.frame = {2 * kWalls, 2 * kWalls + 1};
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                if (level.At(x, y).kind == CellKind::Wall)
                    map.SetWord(0, x, y, static_cast<std::uint16_t>(level.At(x, y).light / 2 + 1));
        for (const auto& sprite : level.sprites)
            map.SetWord(1, static_cast<int>(sprite.x), static_cast<int>(sprite.y),
                        static_cast<std::uint16_t>(23 + sprite.picture - 2 * kWalls - 2));
    }
};

void BM_PreviewAfterAnEdit(benchmark::State& state)
{
    static const Scene scene;
    SceneMap edited;
    Level level = BuildLevel(edited.map, 0, edited.words);
    Image picture(640, 400);
    Raycaster raycaster;
    const Camera camera{22.5, 22.5, 0};
    int tile = 0;
    for (auto _ : state) {
        // A pencil tile somewhere inside, as a stroke lays them.
        const int x = 1 + tile % 62, y = 1 + (tile / 62) % 62;
        ++tile;
        edited.map.SetWord(0, x, y, edited.map.Word(0, x, y) == 0 ? 1 : 0);
        RebuildLevel(level, edited.map, 0, edited.words);
        raycaster.Render(level, scene.pictures, camera, picture);
        benchmark::DoNotOptimize(picture.pixels.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PreviewAfterAnEdit)->Unit(benchmark::kMillisecond);

// A walk's level: rooms behind rows of doors, a door beside the player and a
// push wall ahead of it, statics about.
struct WalkScene {
    MapList map;
    WordPictures words;

    WalkScene()
    {
        map.Width = 64;
        map.Height = 64;
        map.Planes.assign(2, std::vector<std::uint16_t>(map.WordCount(), 108));
        std::fill(map.Planes[1].begin(), map.Planes[1].end(), 0);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const bool border = x == 0 || y == 0 || x == 63 || y == 63;
                const bool row = y % 16 == 0;
                if (border || row || (x == 31 && y > 32 && y < 48))
                    map.SetWord(0, x, y, static_cast<std::uint16_t>(1 + x % kWalls));
                if (row && !border && x % 8 == 4)
                    map.SetWord(0, x, y, 91);
            }
        map.SetWord(0, 31, 40, 90);         // the door east of the player
        map.SetWord(0, 30, 39, 1);          // the push wall north of it
        map.SetWord(1, 30, 39, 98);
        for (int i = 0; i < 40; ++i)
            map.SetWord(1, 3 + (i * 7) % 58, 20 + (i * 5) % 10, static_cast<std::uint16_t>(23 + i % kSprites));
        for (int w = 0; w < kWalls; ++w)
            words.walls[static_cast<std::uint16_t>(w + 1)] = {2 * w, 2 * w + 1};
        words.doors[90] = {0, 1};
        words.doors[91] = {2, 3};
        for (int s = 0; s < kSprites; ++s)
            words.sprites[static_cast<std::uint16_t>(23 + s)] = {2 * kWalls + 2 + s, false};
        words.frame = {2 * kWalls, 2 * kWalls + 1};
        auto rules = EngineRules::Parse("0,1-8,wall\n0,90,door,vertical\n0,91,door,horizontal\n0,108,floor\n"
                                        "1,23-30,static\n1,98,pushwall\n",
                                        "bench");
        words.rules = std::make_shared<const EngineRules>(std::move(*rules));
    }

    // Facing north beside the open door, the push wall just pushed.
    Walk Start() const
    {
        Walk walk(map, 0, words, 0, CameraAtTile(30, 40, 0));
        walk.Use();
        for (int tic = 0; tic < 52; ++tic)
            walk.Tic({.turn = 1});
        walk.Use();
        return walk;
    }
};

void BM_WalkFrame(benchmark::State& state)
{
    static const Scene scene;
    static const WalkScene walkScene;
    Image picture(640, 400);
    Raycaster raycaster;
    std::optional<Walk> walk;
    int tics = 0;
    for (auto _ : state) {
        if (tics++ % 200 == 0) { // before the push wall stops
            state.PauseTiming();
            walk.emplace(walkScene.Start());
            if (!walk->CurrentLevel().pushWall || walk->CurrentLevel().DoorOpening(31, 40) <= 0)
                state.SkipWithError("the push wall does not move or the door is shut");
            state.ResumeTiming();
        }
        walk->Tic({.turn = 0.1});
        raycaster.Render(walk->CurrentLevel(), scene.pictures, walk->CurrentCamera(), picture);
        benchmark::DoNotOptimize(picture.pixels.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WalkFrame)->Unit(benchmark::kMillisecond);

} // namespace
