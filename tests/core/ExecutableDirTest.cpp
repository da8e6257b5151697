// Where the shipped data is found: beside the executable for a build or a
// portable copy, in <prefix>/share/tesselar for an installed one.

#include "core/ExecutableDir.h"
#include "TestUtil.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

TEST(ShippedDataDir, BesideThePortableExecutableElseInTheInstalledShareFolder)
{
    TempDir prefix;
    const fs::path bin = prefix / "bin";
    const fs::path share = prefix.path() / "share" / "tesselar";
    fs::create_directories(bin);
    EXPECT_EQ(ShippedDataDir(bin), bin) << "nothing anywhere: the executable's folder";
    fs::create_directories(share / "MapDefs");
    EXPECT_EQ(ShippedDataDir(bin), share);
    fs::create_directories(bin / "mapdefs");
    EXPECT_EQ(ShippedDataDir(bin), bin) << "a portable copy's own MapDefs comes first";
}
