// "Game Pictures and Sounds" on a page file built to cost it: 16,000 sprite
// chunks (or 65,000) that all point at one sprite, a 100 KB file (400 KB).
// The counter is what the window adds to the process's resident memory when
// it lists them and shows the first screen, at 1x and at 2x thumbnails: the
// list made a picture and an icon for every chunk before (529 MB and 8 s for
// 16,000 chunks at 1x; the process peaked at 2.2 GB over the three), and
// makes one picture for the chunks of the same bytes now, when their rows
// are painted.

#include "core/Bytes.h"
#include "editor/ui/gamedata/TPageBrowserBox.h"
#include "graphics/PageFile.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>

#include <fstream>

using namespace tsl;

namespace {

// The resident memory of the process, in bytes.
double Resident()
{
    std::ifstream statm("/proc/self/statm");
    double pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4096;
}

// Two walls, then `sprites` chunks over one sprite of 64 columns of one post.
PageSet SharedSprites(int sprites)
{
    ByteWriter sprite;
    sprite.U16(0);
    sprite.U16(63);
    for (int column = 0; column < 64; ++column)
        sprite.U16(4 + 128);
    for (const std::uint16_t word : {128, 0, 0, 0}) // rows 0 to 63 from the chunk's first bytes, then the end
        sprite.U16(word);
    const int count = 2 + sprites;
    ByteWriter file;
    file.U16(static_cast<std::uint16_t>(count));
    file.U16(2);
    file.U16(static_cast<std::uint16_t>(count));
    const std::uint32_t walls = static_cast<std::uint32_t>(6 + 6 * count);
    for (int i = 0; i < count; ++i)
        file.U32(i < 2 ? walls + static_cast<std::uint32_t>(i * kPicturePixels) : walls + 2 * kPicturePixels);
    for (int i = 0; i < count; ++i)
        file.U16(static_cast<std::uint16_t>(i < 2 ? kPicturePixels : sprite.Size()));
    for (int i = 0; i < 2 * kPicturePixels; ++i)
        file.U8(static_cast<std::uint8_t>(i));
    file.Append(sprite.Data());
    return PageSet::From(*PageFile::Parse(file.Data(), "VSWAP.TST"));
}

void BM_PageBrowserOfSharedSprites(benchmark::State& state)
{
    const PageSet pages = SharedSprites(static_cast<int>(state.range(0)));
    Palette palette;
    const double before = Resident();
    double grown = 0;
    for (auto _ : state) {
        TPageBrowserBox box;
        box.findChild<QComboBox*>("thumbnailScale")->setCurrentIndex(static_cast<int>(state.range(1)) - 1);
        box.show();
        box.SetCurrentTab(TPageBrowserBox::Tab::Sprites);
        box.ShowPages(pages, palette, {}, SoundNames{});
        QApplication::processEvents();
        grown = std::max(grown, Resident() - before);
    }
    state.counters["grown_mb"] = grown / (1 << 20);
}
BENCHMARK(BM_PageBrowserOfSharedSprites)->Args({16000, 1})->Args({16000, 2})->Args({65000, 1})->Unit(benchmark::kMillisecond);

} // namespace
