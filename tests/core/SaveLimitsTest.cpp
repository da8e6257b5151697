// What a plain header cannot hold is refused before any file is touched.

#include "TestUtil.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

TEST(SaveLimits, PlainHeaderHoldsAtMost100Maps)
{
    TempDir dir;
    for (bool wdc : {false, true}) {
        MapHandler set = EmptySet(dir.path());
        set.WDCCompatibleMaps = wdc;
        std::mt19937 random(1);
        for (int i = 0; i < 101; ++i)
            AddRandomMap(set, random, 2, 2, "M");
        const auto failure = set.Save();
        EXPECT_EQ(failure.has_value(), !wdc);
        if (failure) {
            EXPECT_EQ(failure->text, "The map header holds at most 100 maps, but there are 101!\n\nNo file was changed.");
            EXPECT_FALSE(fs::exists(dir / "MAPHEAD.WL6"));
        }
    }
}
