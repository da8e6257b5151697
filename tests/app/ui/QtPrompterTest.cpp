// The Qt prompter's translation of the system's filter lists.

#include "UiTestUtil.h"
#include "app/ui/QtPrompter.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

TEST(QtPrompter, TurnsFilterListsIntoQtNameFilters)
{
    const QStringList filters = QtPrompter::NameFilters(
        "All Map Files (*.tsl, *.lvl, *.flr, *.map)|*.tsl;*.lvl;*.flr;*.map|TSL Map Files (*.tsl)|*.tsl|"
        "All Files (*.*)|*.*");
    ASSERT_EQ(filters.size(), 3);
    EXPECT_EQ(S(filters[0]), "All Map Files (*.tsl *.lvl *.flr *.map)");
    EXPECT_EQ(S(filters[1]), "TSL Map Files (*.tsl)");
    EXPECT_EQ(S(filters[2]), "All Files (*.*)");
    // A description without patterns of its own gets them.
    EXPECT_EQ(S(QtPrompter::NameFilters("Bitmaps|*.bmp")[0]), "Bitmaps (*.bmp)");
}
