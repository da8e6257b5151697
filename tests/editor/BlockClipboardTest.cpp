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
    Open({{64, 64}, {32, 32}});
    Map().Planes.assign(3, Words(64 * 64, 7));
    Clipboard().CopyBlock(Map(0), 3, TileRect{0, 0, 40, 40}, false);
    EXPECT_TRUE(Clipboard().CanPaste());
    session->Maps().CurrentMap = 1;
    Clipboard().PasteInto(session->Maps(), 0, 0);
    EXPECT_EQ(Count(2, 7), 32 * 32);

    // A block from columns 32 and beyond writes nothing into a 32-wide map.
    Map(1).Planes.assign(3, Words(32 * 32, 0));
    Clipboard().CopyBlock(Map(0), 3, TileRect{32, 0, 40, 5}, false);
    Clipboard().PasteInto(session->Maps(), 0, 0);
    EXPECT_EQ(Count(0, 7), 0);
}

} // namespace
