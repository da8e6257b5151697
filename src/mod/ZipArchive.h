#pragma once
// Zip archives through libarchive: files written into a zip in memory, and
// a zip read back into its files, never more than a given number of bytes
// in all (what a zip says of its sizes is not trusted).

#include "core/Bytes.h"
#include "core/Failure.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tsl {

inline constexpr const char* kZipErrorCaption = "Zip archive";

struct ZipEntry {
    std::string name; // the path in the archive, "/" between folders
    Bytes content;
    std::int64_t time = 0; // modification time, seconds since 1970 (UTC)
    friend bool operator==(const ZipEntry&, const ZipEntry&) = default;
};

// The entries, deflated, in the order given.
Outcome<Bytes> WriteZip(const std::vector<ZipEntry>& entries);
// The files of `zip` in their order; a failure when it does not read, holds
// something other than files, or unpacks to more than `limit` bytes.
Outcome<std::vector<ZipEntry>> ReadZip(std::span<const std::uint8_t> zip, std::size_t limit);

} // namespace tsl
