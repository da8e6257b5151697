// The "Progress" dialog: it saves the map set as soon as it is shown,
// counts the maps while it goes, can only be closed once the save is over,
// and is ready for the next save after closing.

#include "ScriptedPrompter.h"
#include "UiTestUtil.h"
#include "core/ui/TProgressBox.h"
#include "editor/Project.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace tsl;
using namespace tsl::test;

namespace {

// What the dialog showed, sampled by a timer that also runs while the save
// lets pending events through after each map.
struct Sample {
    std::string status;
    std::string maps;
    bool closeEnabled = false;
    int barMaximum = 0;
    int barValue = 0;
};

class ProgressBoxTest : public ::testing::Test {
protected:
    AppFolder app;
    ScriptedPrompter prompter;
    std::unique_ptr<Project> project;
    fs::path game;
    TProgressBox box{prompter};

    QLabel* status = nullptr;
    QLabel* maps = nullptr;
    QProgressBar* bar = nullptr;
    QPushButton* close = nullptr;

    std::vector<Sample> samples;
    std::vector<bool> closeAttemptsRefused; // Escape and the window's close button while saving

    void SetUp() override
    {
        project = app.OpenSampleProject(prompter);
        ASSERT_NE(project, nullptr);
        game = project->Maps.Path;

        status = box.findChild<QLabel*>("statusLabel");
        maps = box.findChild<QLabel*>("mapLabel");
        bar = box.findChild<QProgressBar*>("progressBar");
        close = box.findChild<QPushButton*>("closeButton");
        ASSERT_TRUE(status && maps && bar && close);
    }

    Sample Now() const
    {
        return Sample{S(status->text()), S(maps->text()), close->isEnabled(), bar->maximum(), bar->value()};
    }

    // Runs the save with a sampler, trying to close the dialog while it
    // saves, and clicking "Close" once it is enabled.
    bool Run(std::function<void()> saved)
    {
        QTimer sampler;
        sampler.setInterval(0);
        QObject::connect(&sampler, &QTimer::timeout, [&]() {
            if (!box.isVisible())
                return;
            samples.push_back(Now());
            if (!close->isEnabled() && S(maps->text()).rfind("Maps (", 0) == 0 && closeAttemptsRefused.empty()) {
                QTest::keyClick(&box, Qt::Key_Escape);
                box.close();
                closeAttemptsRefused.push_back(box.isVisible());
            }
        });
        sampler.start();
        // Non-blocking: the action may run inside the save's own event processing.
        WhenModal([&](QWidget* dialog) {
            EXPECT_EQ(dialog, &box);
            auto* closer = new QTimer(&box);
            closer->setInterval(1);
            QObject::connect(closer, &QTimer::timeout, closer, [this, closer]() {
                if (!close->isEnabled())
                    return;
                closer->stop();
                closer->deleteLater();
                samples.push_back(Now());
                QTest::mouseClick(close, Qt::LeftButton);
            });
            closer->start();
        });
        const bool result = box.RunSave(project->Maps, std::move(saved));
        sampler.stop();
        return result;
    }

    bool Backups() const
    {
        return fs::exists(game / "MAPHEAD.WL6.BAK") || fs::exists(game / "GAMEMAPS.WL6.BAK");
    }
};

TEST_F(ProgressBoxTest, StartsWithItsTextsAndClosingDisabled)
{
    EXPECT_EQ(S(box.windowTitle()), "Progress");
    EXPECT_EQ(S(maps->text()), "Map (0 / 0)");
    EXPECT_EQ(S(close->text()), "Close");
    EXPECT_FALSE(close->isEnabled());
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 100);
    EXPECT_EQ(bar->value(), 0);
    // Not closable before a save either.
    box.reject();
    EXPECT_EQ(box.result(), 0);
}

TEST_F(ProgressBoxTest, SavesWhenShownCountingTheMapsAndClosesOnlyAfterwards)
{
    project->Maps.Maps[0].Planes[0][0] = 0x1234;
    const int count = project->Maps.NumMaps();
    ASSERT_EQ(count, 7);
    int savedCalls = 0;
    Sample atSaved;
    const bool result = Run([&]() {
        ++savedCalls;
        atSaved = Now();
    });

    EXPECT_TRUE(result);
    EXPECT_EQ(savedCalls, 1);
    EXPECT_TRUE(prompter.Records().empty());
    // The saved callback runs before the dialog can be closed.
    EXPECT_FALSE(atSaved.closeEnabled);
    EXPECT_EQ(atSaved.maps, "Maps (7 / 7)");
    EXPECT_EQ(atSaved.status, "Saving maps...");

    // While saving: "Saving maps...", the maps counted up, closing refused.
    std::vector<std::string> counted;
    for (const Sample& s : samples) {
        if (s.closeEnabled)
            continue;
        EXPECT_EQ(s.status, "Saving maps...");
        if (s.maps.rfind("Maps (", 0) == 0) {
            EXPECT_EQ(s.barMaximum, count);
            EXPECT_EQ(s.maps, "Maps (" + std::to_string(s.barValue) + " / 7)");
            if (counted.empty() || counted.back() != s.maps)
                counted.push_back(s.maps);
        }
    }
    ASSERT_FALSE(counted.empty());
    EXPECT_TRUE(std::is_sorted(counted.begin(), counted.end()));
    EXPECT_EQ(counted.back(), "Maps (7 / 7)");
    EXPECT_NE(std::find(counted.begin(), counted.end(), "Maps (3 / 7)"), counted.end());
    EXPECT_EQ(closeAttemptsRefused, std::vector<bool>{true});

    // Once saved: "Maps saved!" and "Close" enabled.
    ASSERT_FALSE(samples.empty());
    EXPECT_TRUE(samples.back().closeEnabled);
    EXPECT_EQ(samples.back().status, "Maps saved!");
    EXPECT_EQ(samples.back().barValue, 7);

    // Closed: ready for the next save.
    EXPECT_FALSE(box.isVisible());
    EXPECT_FALSE(close->isEnabled());
    EXPECT_EQ(S(status->text()), "Saving maps...");
    box.reject();

    // The files hold the maps, and the previous ones are kept.
    EXPECT_TRUE(fs::exists(game / "MAPHEAD.WL6.BAK"));
    EXPECT_TRUE(fs::exists(game / "GAMEMAPS.WL6.BAK"));
    const MapHandler loaded = LoadSet(game);
    ExpectSameMaps(project->Maps, loaded);
    EXPECT_EQ(loaded.Maps[0].Planes[0][0], 0x1234);

    // And a second save runs the same way.
    samples.clear();
    project->Maps.Maps[6].Planes[1][5] = 0x0042;
    EXPECT_TRUE(Run([&]() { ++savedCalls; }));
    EXPECT_EQ(savedCalls, 2);
    ASSERT_FALSE(samples.empty());
    EXPECT_EQ(samples.back().status, "Maps saved!");
    EXPECT_EQ(LoadSet(game).Maps[6].Planes[1][5], 0x0042);
    EXPECT_EQ(S(status->text()), "Saving maps...");
}

TEST_F(ProgressBoxTest, AMapSetThatCannotBeStoredIsReportedAndNotSaved)
{
    const Bytes headerBefore = ReadFile(game / "MAPHEAD.WL6");
    const Bytes dataBefore = ReadFile(game / "GAMEMAPS.WL6");
    project->Maps.FarTag = project->Maps.NearTag;
    bool savedCalled = false;
    const bool result = Run([&]() { savedCalled = true; });

    EXPECT_FALSE(result);
    EXPECT_FALSE(savedCalled);
    ASSERT_EQ(prompter.Records().size(), 1u);
    const PromptRecord& r = prompter.Records()[0];
    EXPECT_EQ(r.text, "The NEARTAG and the FARTAG are equal, so the maps cannot be compressed!\n\nNo file was changed.");
    EXPECT_EQ(r.caption, "Error saving maps");
    EXPECT_EQ(r.icon, MessageIcon::Error);
    EXPECT_EQ(r.buttons, Buttons::Ok);
    ASSERT_FALSE(samples.empty());
    EXPECT_EQ(samples.back().status, "Maps not saved!");
    EXPECT_TRUE(samples.back().closeEnabled);
    EXPECT_EQ(S(status->text()), "Saving maps...");
    EXPECT_FALSE(close->isEnabled());
    EXPECT_EQ(ReadFile(game / "MAPHEAD.WL6"), headerBefore);
    EXPECT_EQ(ReadFile(game / "GAMEMAPS.WL6"), dataBefore);
    EXPECT_FALSE(Backups());
}

TEST_F(ProgressBoxTest, FilesThatCannotBeReplacedAreReportedAfterTheMapsWereCounted)
{
    const Bytes dataBefore = ReadFile(game / "GAMEMAPS.WL6");
    // The disk is full when the new data file is written.
    DiskFaults full(2, false, ENOSPC);
    bool savedCalled = false;
    EXPECT_FALSE(Run([&]() { savedCalled = true; }));
    EXPECT_FALSE(savedCalled);
    ASSERT_EQ(prompter.Records().size(), 1u);
    EXPECT_EQ(prompter.Records()[0].text, "Couldn't write " + (game / "GAMEMAPS.WL6").string() +
                                              " (No space left on device)!\n\nThe previous map files were kept.");
    EXPECT_EQ(prompter.Records()[0].caption, "Error saving maps");
    ASSERT_FALSE(samples.empty());
    EXPECT_EQ(samples.back().status, "Maps not saved!");
    EXPECT_EQ(samples.back().maps, "Maps (7 / 7)");
    EXPECT_EQ(ReadFile(game / "GAMEMAPS.WL6"), dataBefore);
    EXPECT_FALSE(Backups());
}

} // namespace
