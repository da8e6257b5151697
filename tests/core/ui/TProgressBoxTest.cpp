// The "Progress" dialog: it saves the map set as soon as it is shown,
// counts the maps while it goes, can only be closed once the save is over,
// and is ready for the next save after closing. What a save writes is the
// core's (SaveLoadTest); here only what the dialog shows and hands on.

#include "ScriptedPrompter.h"
#include "UiTestUtil.h"
#include "core/ui/TProgressBox.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace tsl;
using namespace tsl::test;

namespace {

class ProgressBoxTest : public ::testing::Test {
protected:
    AppFolder app;
    ScriptedPrompter prompter;
    fs::path game = app.CopySampleGame();
    MapHandler maps = LoadSet(game);
    TProgressBox box{prompter};
    QLabel* status = box.findChild<QLabel*>("statusLabel");
    QLabel* mapLabel = box.findChild<QLabel*>("mapLabel");
    QProgressBar* bar = box.findChild<QProgressBar*>("progressBar");
    QPushButton* close = box.findChild<QPushButton*>("closeButton");

    // "status|maps|close enabled" as a timer saw it while the save let events through.
    std::vector<std::string> seen;
    bool closeRefused = false; // Escape and the window's close button while saving

    void SetUp() override { ASSERT_TRUE(status && mapLabel && bar && close); }
    void TearDown() override { EXPECT_TRUE(prompter.Finished()) << prompter.Unfinished(); }

    std::string Now() const
    {
        return S(status->text()) + "|" + S(mapLabel->text()) + "|" + (close->isEnabled() ? "close" : "-");
    }

    // Runs the save, tries to close the dialog while it saves and clicks
    // "Close" once it is enabled.
    bool Run(std::function<void()> saved)
    {
        QTimer sampler;
        sampler.setInterval(0);
        QObject::connect(&sampler, &QTimer::timeout, [&]() {
            if (!box.isVisible())
                return;
            if (seen.empty() || seen.back() != Now())
                seen.push_back(Now());
            if (!close->isEnabled() && S(mapLabel->text()).rfind("Maps (", 0) == 0 && !closeRefused) {
                QTest::keyClick(&box, Qt::Key_Escape);
                box.close();
                closeRefused = box.isVisible();
            }
            if (close->isEnabled())
                QTest::mouseClick(close, Qt::LeftButton);
        });
        sampler.start();
        const bool result = box.RunSave(maps, std::move(saved));
        sampler.stop();
        return result;
    }
};

TEST_F(ProgressBoxTest, SavesWhenShownCountingTheMapsAndClosesOnlyAfterwards)
{
    EXPECT_EQ(S(box.windowTitle()), "Progress");
    EXPECT_EQ(S(mapLabel->text()), "Map (0 / 0)");
    EXPECT_EQ(S(close->text()), "Close");
    box.reject(); // not closable before a save either
    EXPECT_EQ(box.result(), 0);

    maps.Maps[0].Planes[0][0] = 0x1234;
    std::vector<std::string> atSaved;
    EXPECT_TRUE(Run([&]() { atSaved.push_back(Now()); }));
    // The callback runs once, after the last map and before closing is allowed.
    EXPECT_EQ(atSaved, std::vector<std::string>{"Saving maps...|Maps (7 / 7)|-"});
    EXPECT_TRUE(closeRefused);
    EXPECT_NE(std::find(seen.begin(), seen.end(), "Saving maps...|Maps (3 / 7)|-"), seen.end());
    EXPECT_TRUE(std::is_sorted(seen.begin() + 1, seen.end() - 1)) << "the maps counted up";
    EXPECT_EQ(seen.back(), "Maps saved!|Maps (7 / 7)|close");
    EXPECT_EQ(bar->maximum(), 7);
    EXPECT_EQ(LoadSet(game).Maps[0].Planes[0][0], 0x1234);

    // Closed: ready for the next save, which runs the same way.
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(Now(), "Saving maps...|Maps (7 / 7)|-");
    seen.clear();
    EXPECT_TRUE(Run([&]() { atSaved.push_back(Now()); }));
    EXPECT_EQ(atSaved.size(), 2u);
    EXPECT_EQ(seen.back(), "Maps saved!|Maps (7 / 7)|close");
}

TEST_F(ProgressBoxTest, AFailedSaveIsReportedAndNotHandedOn)
{
    const auto listing = ListDirectory(game);
    maps.FarTag = maps.NearTag;
    bool savedCalled = false;
    EXPECT_FALSE(Run([&]() { savedCalled = true; }));
    EXPECT_FALSE(savedCalled);
    ASSERT_EQ(prompter.Records().size(), 1u);
    const PromptRecord& r = prompter.Records()[0];
    EXPECT_EQ(r.text, "The NEARTAG and the FARTAG are equal, so the maps cannot be compressed!\n\nNo file was changed.");
    EXPECT_EQ(r.caption, "Error saving maps");
    EXPECT_EQ(r.icon, MessageIcon::Error);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().substr(0, seen.back().find('|')), "Maps not saved!");
    EXPECT_EQ(ListDirectory(game), listing); // refused before any file was written
}

} // namespace
