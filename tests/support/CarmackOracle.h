#pragma once
// The plain exhaustive Carmack compressor: every earlier position is tried
// for every word. It is the reference the indexed compressor must match byte
// for byte, tie-break included; its cost grows with the square of the plane.

#include "core/Bytes.h"

#include <cstdint>
#include <span>

namespace tsl::test {

Bytes CarmackCompressExhaustive(std::span<const std::uint8_t> source, std::uint8_t nearTag, std::uint8_t farTag);

} // namespace tsl::test
