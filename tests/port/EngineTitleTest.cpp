// A title picture of our own, put in with tesselar-cli import-graphic, shown
// by the engine: the source port starts without skipping its first screens
// under a virtual X server at 640 x 400 (the title's 320 x 200 pixels drawn
// at twice their size), is given the key its sign-on screen waits for, and
// one of the screens it shows next must be the imported picture in at least
// 98% of its pixels.

#include "EngineSupport.h"
#include "core/ImageFile.h"
#include "graphics/Palette.h"
#include "graphics/PictureFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

using namespace tsl;
using namespace tsl::test;

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 400;
constexpr double kAgreement = 0.98;
// The sign-on screen and the PG-13 screen stand for about ten seconds first.
constexpr auto kLongestWait = std::chrono::seconds(45);
constexpr int kTitleChunk = 99; // TITLEPIC of the shareware's header

// Bands of colours of the game's palette and a white frame: a picture no
// screen of the game resembles.
Bytes OurTitle()
{
    Bytes indices(320 * 200);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x)
            indices[static_cast<std::size_t>(y * 320 + x)] =
                x < 4 || y < 4 || x >= 316 || y >= 196 ? 15 : static_cast<std::uint8_t>(32 + (x / 20 + y / 25) % 8 * 8);
    return indices;
}

// The share of the window's pixels that are the title's, each drawn 2 x 2.
double Agreement(const Image& window, const Bytes& title, const Palette& palette)
{
    long same = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            same += (window.pixels[static_cast<std::size_t>(y * kWidth + x)] & 0xFFFFFF) ==
                    (palette[title[static_cast<std::size_t>(y / 2 * 320 + x / 2)]] & 0xFFFFFF);
    return static_cast<double>(same) / (kWidth * kHeight);
}

TEST(EngineTitle, TheEngineShowsATitleOfOurOwn)
{
    const EnginePort port = FindEnginePort();
    if (!port.unavailable.empty())
        GTEST_SKIP() << port.unavailable;
    if (SharewareSet().empty())
        GTEST_SKIP() << "the shareware set is not beside the source tree (../shared/games/wl1)";
    for (const char* program : {"Xvfb", "import", "xdotool"})
        if (!OnPath(program))
            GTEST_SKIP() << "the title test needs " << program << " (packages xvfb, imagemagick and xdotool)";

    TempDir work;
    const fs::path game = work / "wl1";
    fs::create_directories(game);
    CopyGame(SharewareSet(), game);
    const auto palette = Palette::Load(SourceDir() / "data" / "MapDefs" / "WL1" / "palette.txt");
    ASSERT_TRUE(palette) << palette.failure().text;
    const Bytes title = OurTitle();
    const fs::path png = work / "title.png";
    WriteFile(png, EncodeIndexedPng(320, 200, title, palette->colours, std::nullopt));
    const CliResult imported = RunCli({"import-graphic", game.string(), "--chunk", std::to_string(kTitleChunk),
                                       png.string()});
    ASSERT_EQ(imported.status, 0) << imported.err;

    const VirtualScreen screen(kWidth, kHeight);
    ASSERT_FALSE(screen.Display().empty()) << "the virtual X server did not start";
    const fs::path run = work / "run";
    fs::create_directories(run / "config");
    for (const auto& entry : fs::directory_iterator(game)) {
        std::string name = entry.path().filename().string();
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (!name.ends_with(".bak"))
            fs::create_symlink(fs::absolute(entry.path()), run / name);
    }
    Background engine({port.binary.string(), "--resf", std::to_string(kWidth), std::to_string(kHeight), "--configdir",
                       (run / "config").string() + "/"},
                      run, {"DISPLAY=" + screen.Display(), "SDL_AUDIODRIVER=dummy"});
    double best = 0;
    Image closest;
    Image signOn; // the first screen, which waits for a key once the game has loaded
    bool signedOn = false;
    auto nextKey = std::chrono::steady_clock::now();
    const auto until = std::chrono::steady_clock::now() + kLongestWait;
    while (std::chrono::steady_clock::now() < until && best < kAgreement) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ASSERT_TRUE(engine.Running()) << "the engine stopped";
        const Image window = screen.Capture();
        if (window.width != kWidth || window.height != kHeight)
            continue;
        const bool uniform = std::all_of(window.pixels.begin(), window.pixels.end(),
                                         [&](std::uint32_t p) { return p == window.pixels.front(); });
        if (signOn.pixels.empty() && !uniform) // before the window opens, the screen is black
            signOn = window;
        if (signOn.pixels.empty())
            continue;
        // A key now and then while the sign-on stands (a key pressed while it
        // still loads is not taken); none once it has gone, as a key would end
        // the title too.
        if (!signedOn) {
            long same = 0;
            for (std::size_t i = 0; i < window.pixels.size(); ++i)
                same += window.pixels[i] == signOn.pixels[i];
            signedOn = same < static_cast<long>(window.pixels.size() / 2);
            if (!signedOn && std::chrono::steady_clock::now() >= nextKey) {
                // Keys go to the window under the pointer: there is no window manager.
                RunCommand("DISPLAY=" + screen.Display() + " xdotool mousemove 320 200 key space");
                nextKey = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
            }
        }
        if (const double agreement = Agreement(window, title, *palette); agreement > best) {
            best = agreement;
            closest = window;
        }
    }
    RecordProperty("agreement", std::to_string(best));
    if (best < kAgreement) {
        const fs::path kept = fs::path(TESSELAR_ENGINE_DIR) / "frames";
        fs::create_directories(kept);
        SaveImageFile(kept / "title-engine.png", closest);
        ADD_FAILURE() << "no screen of the engine was the imported title: the closest agreed in " << 100 * best
                      << "% of its pixels; it is in " << kept.string();
    }
}

} // namespace
