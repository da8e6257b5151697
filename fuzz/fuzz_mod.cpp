// The readers of a mod's release on arbitrary bytes: the level flow table
// and the zip read back. A flow that parses lists its floors in order, once
// each, with destinations that are maps or the end; a zip that reads never
// unpacks to more than the limit it was given.

#include "engine/LevelFlow.h"
#include "mod/ZipArchive.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (auto flow = tsl::LevelFlow::Parse(text, "levels.txt")) {
        int previous = 0;
        for (const tsl::FloorFlow& floor : flow->Floors()) {
            Check(floor.map > previous && floor.episode >= 1);
            Check(flow->Floor(floor.map) == &floor);
            for (const auto kind : {tsl::ExitKind::Elevator, tsl::ExitKind::SecretElevator, tsl::ExitKind::Spear})
                if (const auto to = flow->Destination(floor.map, kind))
                    Check(*to >= 0);
            previous = floor.map;
        }
    }
    constexpr std::size_t kLimit = 1 << 16;
    if (auto entries = tsl::ReadZip({data, size}, kLimit)) {
        std::size_t total = 0;
        for (const tsl::ZipEntry& entry : *entries)
            total += entry.content.size();
        Check(total <= kLimit);
    }
    return 0;
}
