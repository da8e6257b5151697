// render3d against the engine's own first frame: from the player start of
// each shareware map, with the actors taken out of the set (they move), the
// 608 x 304 view that the source port shows at (16, 8) of its 640 x 400
// window under a virtual X server must agree with `render3d --size 608x304`
// in at least 98% of the pixels the player's weapon leaves free. A map below
// that keeps both frames in the build folder (engine/frames) to look at.

#include "EngineSupport.h"
#include "core/ImageFile.h"
#include "graphics/PageFile.h"
#include "graphics/Palette.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iomanip>
#include <thread>

using namespace tsl;
using namespace tsl::test;

namespace {

constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 400;
constexpr int kViewX = 16;
constexpr int kViewY = 8;
constexpr int kViewWidth = 608;
constexpr int kViewHeight = 304;
constexpr double kAgreement = 0.98;
// Plane 1 words from 108 on are the actors of id's games.
constexpr std::uint16_t kFirstActor = 108;
// The colour the engine fills its view with around "Get Psyched!".
constexpr std::uint8_t kViewColour = 0x7F;
// The player's weapons end the sprites, five frames each (knife, pistol,
// machine gun, chain gun): the pistol's ready frame is the 15th from the end.
constexpr int kPistolFromTheEnd = 15;
constexpr auto kLongestWait = std::chrono::seconds(30);

// The shareware set with every actor word of plane 1 cleared.
void ClearActors(const fs::path& game)
{
    MapHandler set = LoadSet(game);
    for (MapList& map : set.Maps)
        for (std::uint16_t& word : map.Planes[1])
            if (word >= kFirstActor)
                word = 0;
    const auto failure = set.Save();
    ASSERT_FALSE(failure) << failure->text;
}

// The game's files as the engine opens them, in lower case, in `dir`.
void LinkInLowerCase(const fs::path& game, const fs::path& dir)
{
    for (const auto& entry : fs::directory_iterator(game)) {
        std::string name = entry.path().filename().string();
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (!name.ends_with(".bak"))
            fs::create_symlink(fs::absolute(entry.path()), dir / name);
    }
}

// The engine's view once the level is shown: the same in two captures in a
// row, neither one colour (the screen before the window opens, the fades)
// nor mostly the view colour of the "Get Psyched!" screen (which stands
// still too while the level loads).
Image CaptureEngineView(const fs::path& binary, const fs::path& game, int level, std::uint32_t viewColour,
                  std::string& why)
{
    const VirtualScreen screen(kWindowWidth, kWindowHeight);
    if (screen.Display().empty()) {
        why = "the virtual X server did not start";
        return {};
    }
    TempDir work;
    LinkInLowerCase(game, work.path());
    fs::create_directories(work / "config");
    Background engine({binary.string(), "--tedlevel", std::to_string(level), "--nowait", "--normal", "--resf",
                       std::to_string(kWindowWidth), std::to_string(kWindowHeight), "--configdir",
                       (work / "config").string() + "/"},
                      work.path(), {"DISPLAY=" + screen.Display(), "SDL_AUDIODRIVER=dummy"});
    Image before;
    const auto until = std::chrono::steady_clock::now() + kLongestWait;
    while (std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        if (!engine.Running()) {
            why = "the engine stopped";
            return {};
        }
        const Image window = screen.Capture();
        if (window.width != kWindowWidth || window.height != kWindowHeight)
            continue;
        const Image view = CropImage(window, kViewX, kViewY, kViewWidth, kViewHeight);
        const auto plain = std::count(view.pixels.begin(), view.pixels.end(), viewColour);
        const auto uniform = std::count(view.pixels.begin(), view.pixels.end(), view.pixels.front());
        if (view == before && plain < static_cast<long>(view.pixels.size() / 2) &&
            uniform < static_cast<long>(view.pixels.size()))
            return view;
        before = view;
    }
    why = "the level was not shown within " + std::to_string(kLongestWait.count()) + " seconds";
    return {};
}

// The pixels the engine draws the player's pistol on: its sprite scaled to
// the view's height plus one and centred on the view, as the engine draws it.
std::vector<bool> WeaponPixels(const PageFile& pages)
{
    std::vector<bool> weapon(static_cast<std::size_t>(kViewWidth * kViewHeight), false);
    const Sprite* pistol = pages.SpriteAt(pages.SpriteCount() - kPistolFromTheEnd);
    if (!pistol)
        return weapon;
    const int half = (kViewHeight + 1) / 2;
    const int size = 2 * half;
    const int left = kViewWidth / 2 - half;
    const int top = kViewHeight / 2 - half;
    for (int column = 0; column < kPictureSide; ++column)
        for (int row = 0; row < kPictureSide; ++row) {
            if (!pistol->Opaque(column, row))
                continue;
            for (int x = left + column * size / kPictureSide; x < left + (column + 1) * size / kPictureSide; ++x)
                for (int y = top + row * size / kPictureSide; y < top + (row + 1) * size / kPictureSide; ++y)
                    if (x >= 0 && y >= 0 && x < kViewWidth && y < kViewHeight)
                        weapon[static_cast<std::size_t>(y * kViewWidth + x)] = true;
        }
    return weapon;
}

class EngineFrame : public ::testing::TestWithParam<int> {};

TEST_P(EngineFrame, Render3DDrawsTheEnginesFirstFrame)
{
    const int mapNumber = GetParam();
    const EnginePort port = FindEnginePort();
    if (!port.unavailable.empty())
        GTEST_SKIP() << port.unavailable;
    if (SharewareSet().empty())
        GTEST_SKIP() << "the shareware set is not beside the source tree (../shared/games/wl1)";
    for (const char* program : {"Xvfb", "import"})
        if (!OnPath(program))
            GTEST_SKIP() << "the frame test needs " << program << " (packages xvfb and imagemagick)";

    TempDir work;
    const fs::path game = work / "wl1";
    fs::create_directories(game);
    CopyGame(SharewareSet(), game);
    ClearActors(game);
    ASSERT_FALSE(HasFatalFailure());
    const auto palette = Palette::Load(SourceDir() / "data" / "MapDefs" / "WL1" / "palette.txt");
    ASSERT_TRUE(palette) << palette.failure().text;
    const auto pages = PageFile::Load(game / "VSWAP.WL1");
    ASSERT_TRUE(pages) << pages.failure().text;

    const fs::path ours = work / "render3d.png";
    const CliResult render = RunCli({"render3d", game.string(), ours.string(), "--map", std::to_string(mapNumber),
                                     "--size", std::to_string(kViewWidth) + "x" + std::to_string(kViewHeight)});
    ASSERT_EQ(render.status, 0) << render.err;
    const Image drawn = DecodePng(ReadFile(ours));
    std::string why;
    const Image engine = CaptureEngineView(port.binary, game, mapNumber - 1, (*palette)[kViewColour], why);
    ASSERT_EQ(engine.width, kViewWidth) << why;
    ASSERT_EQ(drawn.width, kViewWidth);
    ASSERT_EQ(drawn.height, kViewHeight);

    const std::vector<bool> weapon = WeaponPixels(*pages);
    long counted = 0;
    long same = 0;
    for (std::size_t i = 0; i < weapon.size(); ++i)
        if (!weapon[i]) {
            ++counted;
            same += engine.pixels[i] == drawn.pixels[i] ? 1 : 0;
        }
    const double agreement = static_cast<double>(same) / static_cast<double>(counted);
    std::cout << "Map " << mapNumber << ": " << std::fixed << std::setprecision(2) << 100 * agreement << "% ("
              << same << " of the " << counted << " pixels outside the weapon) agree with the engine's frame\n";
    RecordProperty("agreement", std::to_string(agreement));
    if (agreement < kAgreement) {
        const fs::path kept = fs::path(TESSELAR_ENGINE_DIR) / "frames";
        fs::create_directories(kept);
        const std::string stem = "map" + std::to_string(mapNumber);
        SaveImageFile(kept / (stem + "-engine.png"), engine);
        SaveImageFile(kept / (stem + "-render3d.png"), drawn);
        ADD_FAILURE() << "map " << mapNumber << ": " << 100 * agreement << "% of the pixels agree, below "
                      << 100 * kAgreement << "%; both frames are in " << kept.string();
    }
}

INSTANTIATE_TEST_SUITE_P(SharewareMaps, EngineFrame, ::testing::Range(1, 11),
                         [](const auto& row) { return "Map" + std::to_string(row.param); });

} // namespace
