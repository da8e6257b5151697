// The game's other pictures and sounds in "Game Pictures and Sounds": the six
// tabs beside the page file's; the title replaced from a file is marked on
// its row and in the window's title, undone and redone from its tab, and
// saved with the maps' Save (only VGAHEAD and VGAGRAPH, with backups); a
// song played without an audio device says so; a replaced title autosaved
// is offered back at the next start. What the sets and their files do is
// tested in the core.

#include "EditorFixture.h"

#include "editor/keeping/Recovery.h"
#include "editor/ui/gamedata/GameDataController.h"
#include "editor/ui/gamedata/PagesController.h"
#include "editor/ui/gamedata/SoundOutput.h"
#include "graphics/PictureFile.h"

#include <QAction>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

using namespace tsl;
using namespace tsl::test;

namespace {

// An output without a device that remembers how many samples it was asked to play.
class NoDevice : public SoundOutput {
public:
    explicit NoDevice(std::vector<std::size_t>& played) : played_(played) {}
    std::optional<Failure> Play(std::span<const std::uint8_t>) override
    {
        return Failure{kNoAudioDeviceText, kPlaySoundCaption, MessageIcon::Warning};
    }
    std::optional<Failure> PlayRendered(std::span<const std::int16_t> samples, int) override
    {
        played_.push_back(samples.size());
        return Failure{kNoAudioDeviceText, kPlaySoundCaption, MessageIcon::Warning};
    }
    void Stop() override {}

private:
    std::vector<std::size_t>& played_;
};

class GameDataBrowser : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        for (const fs::path& dir : RealGameSets())
            if (FindGraphicsFiles(dir, "WL1"))
                CopyGame(dir, game_.path());
        if (!fs::exists(game_ / "VGAGRAPH.WL1"))
            GTEST_SKIP() << "The shareware game data is not there.";
        ASSERT_TRUE(Editor().OpenProject(true, game_.path()));
        Editor().SetSoundOutput(std::make_unique<NoDevice>(played_));
        Editor().Action("gamePicturesAction")->trigger();
        ASSERT_NE(Editor().Pages()->Browser(), nullptr);
    }
    GameDataController& Data() { return *Editor().GameData(); }
    TGameDataPane& Pane(TGameDataPane::Kind kind) { return *Data().Pane(kind); }

    // The title replaced by a red picture, through its tab.
    void ReplaceTitle()
    {
        const fs::path title = files_ / "title.png";
        WriteFile(title, EncodeRgbaPng(320, 200, std::vector<std::uint32_t>(320 * 200, 0xFFFF0000u)));
        TGameDataPane& pictures = Pane(TGameDataPane::Kind::Pictures);
        pictures.ChooseChunk(99);
        Prompts().File(title);
        Click(&pictures, "paneReplaceButton");
    }

    TempDir game_;
    TempDir files_;
    std::vector<std::size_t> played_;
};

} // namespace

TEST_F(GameDataBrowser, ATitleReplacedIsMarkedUndoneAndSavedWithBackups)
{
    auto* tabs = Editor().Pages()->Browser()->findChild<QTabWidget*>("pageTabs");
    ASSERT_NE(tabs, nullptr);
    QStringList labels;
    for (int i = 0; i < tabs->count(); ++i)
        labels << tabs->tabText(i);
    EXPECT_EQ(labels, (QStringList{"&Walls", "S&prites", "&Sounds", "Pictures", "Fonts", "Texts", "PC Speaker",
                                   "AdLib Sounds", "Music"}));

    ReplaceTitle();
    TGameDataPane& pictures = Pane(TGameDataPane::Kind::Pictures);
    ASSERT_EQ(Prompts().Records().size(), 1u);
    EXPECT_EQ(Prompts().Records()[0].text, "Replace TITLEPIC");
    auto* list = pictures.findChild<QTreeWidget*>("picturesPaneList");
    ASSERT_NE(list->currentItem(), nullptr);
    EXPECT_EQ(list->currentItem()->text(0), "99 *");
    EXPECT_TRUE(ShownTitle().ends_with("*"));

    Click(&pictures, "paneUndoButton");
    EXPECT_FALSE(Editor().Changed());
    EXPECT_EQ(list->currentItem()->text(0), "99");
    Click(&pictures, "paneRedoButton");
    EXPECT_TRUE(Editor().Changed());

    const Bytes mapsBefore = ReadFile(game_ / "GAMEMAPS.WL1");
    Editor().Action("saveProjectAction")->trigger();
    EXPECT_FALSE(Editor().Changed());
    EXPECT_FALSE(ShownTitle().ends_with("*"));
    EXPECT_TRUE(fs::exists(game_ / "VGAGRAPH.WL1.BAK"));
    EXPECT_TRUE(fs::exists(game_ / "VGAHEAD.WL1.BAK"));
    EXPECT_FALSE(fs::exists(game_ / "VGADICT.WL1.BAK"));
    EXPECT_FALSE(fs::exists(game_ / "GAMEMAPS.WL1.BAK")) << "the maps did not change";
    auto saved = GraphicsSet::Load(*FindGraphicsFiles(game_.path(), "WL1"), nullptr);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->Picture(99)->indices, Bytes(320 * 200, Data().Pictures()->Picture(99)->indices[0]));
}

TEST_F(GameDataBrowser, ASongPlayedWithoutAnAudioDeviceSaysSoAndAWrongFileIsRefused)
{
    TGameDataPane& music = Pane(TGameDataPane::Kind::Music);
    music.ChooseChunk(264);
    Click(&music, "panePlayButton");
    ASSERT_EQ(played_.size(), 1u);
    EXPECT_EQ(played_[0], 3529638u) << "80 seconds at 44100 Hz";
    ExpectMessage(0, kNoAudioDeviceText, kPlaySoundCaption, MessageIcon::Warning, Buttons::Ok);

    const fs::path junk = files_ / "junk.imf";
    WriteFile(junk, Bytes{1, 2, 3});
    Data().ReplaceFrom(TGameDataPane::Kind::Music, 264, junk);
    ASSERT_EQ(Prompts().Records().size(), 2u);
    EXPECT_TRUE(Prompts().Records()[1].text.starts_with("\"" + junk.string() + "\" is no IMF file"));
    EXPECT_FALSE(Editor().Changed());
}

TEST_F(GameDataBrowser, AReplacedTitleAutosavedIsOfferedBackWhenTheEditorIsStartedAgain)
{
    UseUserFolders();
    ASSERT_TRUE(Editor().OpenProject(true, game_.path()));
    Editor().Action("gamePicturesAction")->trigger();
    ReplaceTitle();
    const auto replaced = Data().Pictures()->Picture(99);
    const fs::path file = RecoveryFilePath(RecoveryRoot(), game_.path());
    Editor().Autosave();
    ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(KeptFilePath(file, "vgagraph")); }));
    EXPECT_FALSE(fs::exists(KeptFilePath(file, "audiot"))) << "the sounds had no change";
    Recreate(); // gone as if killed: nothing asked, nothing saved

    Prompts().Answer(Answer::Yes);
    ASSERT_TRUE(Editor().OpenProject(true, game_.path()));
    ASSERT_EQ(Prompts().Records().size(), 1u);
    EXPECT_TRUE(Prompts().Records()[0].text.starts_with("Unsaved changes to VGAGRAPH.WL1 were autosaved at "))
        << Prompts().Records()[0].text;
    EXPECT_EQ(Data().Pictures()->Picture(99), replaced);
    EXPECT_TRUE(Editor().Changed());
    EXPECT_TRUE(ShownTitle().ends_with("*"));
}
