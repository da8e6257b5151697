// The game-file loader on a fuzzed MAPHEAD / GAMEMAPS pair. The first byte
// chooses the settings, the next two the size of the header file; the rest
// is the header file followed by the data file.

#include "core/MapHandler.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

const std::filesystem::path& ScratchDir()
{
    static const std::filesystem::path dir = [] {
        std::string pattern = "/tmp/tesselar-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        return std::filesystem::path(pattern);
    }();
    return dir;
}

void Write(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const std::uint8_t flags = data[0];
    const std::size_t headerSize = std::min<std::size_t>(size - 3, static_cast<std::size_t>(data[1] | (data[2] << 8)));
    const std::uint8_t* header = data + 3;
    const std::uint8_t* maps = header + headerSize;
    const std::size_t mapsSize = size - 3 - headerSize;

    const auto& dir = ScratchDir();
    const bool mapTemp = flags & 1;
    Write(dir / "MAPHEAD.FUZ", header, headerSize);
    std::filesystem::remove(dir / (mapTemp ? "GAMEMAPS.FUZ" : "MAPTEMP.FUZ"));
    Write(dir / (mapTemp ? "MAPTEMP.FUZ" : "GAMEMAPS.FUZ"), maps, mapsSize);

    tsl::MapHandler set;
    auto files = tsl::LocateGameFiles(dir);
    if (!files)
        return 0;
    set.UseGameFiles(dir, *files);
    set.NumPlanes = 1 + ((flags >> 1) & 3);
    set.FilePlanes = (flags >> 3) & 3;
    set.WDCCompatibleMaps = flags & 0x20;
    set.ExtendedMapNames = flags & 0x40;
    const tsl::LoadReport report = set.Load();
    if (report.ok() && set.NumMaps() != static_cast<int>(set.Headers.size()))
        std::abort();
    return 0;
}
