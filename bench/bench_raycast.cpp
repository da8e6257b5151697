// The 3D preview's frame: a 64 x 64 level of rooms and pillars with sixty
// sprites, drawn at the window's first size and at twice that, turning a
// little between frames so that every direction counts. The renderer and
// the picture are kept between frames, as the window keeps them.

#include "raycast/Raycaster.h"

#include <benchmark/benchmark.h>

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

} // namespace
