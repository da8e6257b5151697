// The block clipboard: a copied block keeps to the map it came from, and a
// pasted one to the map it lands in.

#include "SessionFixture.h"

#include <gtest/gtest.h>

using namespace tsl;
using namespace tsl::test;

namespace {

class BlockClipboardTest : public SessionFixture {
protected:
    BlockClipboard& Clipboard() { return session->Clipboard(); }
};

TEST_F(BlockClipboardTest, PasteClipsAtTheEdgesOfASmallerMap)
{
    const MapList large = GridMap(64, 64, PlaneSet(3, Words(64 * 64, 7)));
    MapList small = GridMap(32, 32, PlaneSet(3, Words(32 * 32, 0)));
    Clipboard().CopyBlock(large, 3, TileRect{0, 0, 40, 40});
    EXPECT_TRUE(Clipboard().CanPaste());
    Clipboard().PasteInto(small, 0, 0);
    EXPECT_EQ(small.Planes[2], Words(32 * 32, 7));

    // A block from columns 32 and beyond writes nothing into a 32-wide map.
    small.Planes.assign(3, Words(32 * 32, 0));
    Clipboard().CopyBlock(large, 3, TileRect{32, 0, 40, 5});
    Clipboard().PasteInto(small, 0, 0);
    EXPECT_EQ(small.Planes[0], Words(32 * 32, 0));
}

} // namespace
