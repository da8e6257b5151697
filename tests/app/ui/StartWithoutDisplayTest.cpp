// `tesselar --help` and `--version` on a machine without a display: the
// built editor run with no DISPLAY, no Wayland and no Qt platform chosen.

#include "TestUtil.h"

#include <gtest/gtest.h>

using namespace tsl::test;

TEST(StartWithoutDisplay, HelpAndVersionAnswerOnStandardOutput)
{
    const struct {
        const char* option;
        std::string start; // of the output
    } rows[] = {
        {"--version", std::string("tesselar ") + TESSELAR_VERSION + "\n"},
        {"--help", "Usage: tesselar [options] [DIR]\nTesselar, the map editor"},
    };
    for (const auto& row : rows) {
        const CliResult r = RunProgram({"env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM",
                                        TESSELAR_EDITOR_PATH, row.option});
        EXPECT_EQ(r.status, 0) << row.option << r.err;
        EXPECT_TRUE(r.out.starts_with(row.start)) << row.option << ":\n" << r.out;
        EXPECT_EQ(r.err, "") << row.option;
    }
}
