// Every real map set (when the game data is present), exported by
// tesselar-cli to every exchange format and imported into the
// clipboard manager: the maps arrive word for word, and the manager's previews
// show them.

#include "EditorTestUtil.h"
#include "ScriptedPrompter.h"
#include "editor/session/MapExchangeFlow.h"
#include "editor/render/MapRenderer.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

TEST(RealGamesImport, EveryFormatArrivesWordForWordInTheClipboardManager)
{
    const auto sets = RealGameSets();
    if (sets.empty())
        GTEST_SKIP() << "no real game data";
    struct Format {
        const char* file;
        bool chaosEdit;
        bool allMaps; // the one-map formats take the first map
    };
    const Format formats[] = {{"maps.tsl", false, true},
                              {"maps.lvl", false, true},
                              {"maps.map", false, true},
                              {"one.flr", false, false},
                              {"one.map", true, false}};
    for (const fs::path& source : sets) {
        const MapHandler original = LoadSet(source);
        for (const Format& format : formats) {
            const std::string label = source.filename().string() + " " + format.file;
            TempDir dir;
            std::vector<std::string> args = {"export", source.string(), (dir / format.file).string()};
            if (format.chaosEdit)
                args.push_back("--chaosedit");
            ASSERT_EQ(RunCli(args).status, 0) << label;
            const int count = format.allMaps ? original.NumMaps() : 1;

            auto project = MemoryProject(dir.path(), {{}, original.NumPlanes, {}, false});
            EditorSession session(std::move(project));
            LayWords(session.Document(), [&](MapHandler& maps) { maps = original; });
            ScriptedPrompter prompter;
            prompter.File(dir / format.file).Answer(Answer::Yes);
            ImportIntoSession(session, prompter);
            const CB_Manager* manager = session.ClipboardManager();
            const std::vector<CB_Object> entries = manager ? manager->Entries : std::vector<CB_Object>();
            ASSERT_EQ(entries.size(), static_cast<std::size_t>(count)) << label;
            for (int i = 0; i < count; ++i) {
                const MapList& map = original.Maps[static_cast<std::size_t>(i)];
                const CB_Object& entry = entries[static_cast<std::size_t>(i)];
                EXPECT_EQ(entry.Planes, map.Planes) << label << " map " << i;
                Image preview;
                RenderBlockPreview(preview, map.Planes, map.Width, map.Height, 1, session.CurrentProject().Symbols);
                EXPECT_EQ(entry.Preview, preview) << label << " map " << i;
            }
            EXPECT_TRUE(prompter.Finished()) << prompter.Unfinished();
        }
    }
}
