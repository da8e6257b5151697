#pragma once
// The two plane codecs of the game's map files.
//
// RLEW: a stream of 16-bit words whose first word is the expanded length
// (always written as 0x2000); after it, literal words and runs
// (tag, count, value). Carmack: back-references over the words of an RLEW
// stream, introduced by a near tag byte (distance back, one byte) or a far tag
// byte (absolute word offset, one word); the chunk's first word is the length
// in bytes of the RLEW stream it expands to.
//
// The expanders are bounded: they never read past their source nor write past
// their destination, and they say whether the stream was sound (complete and
// without references outside what was produced so far).

#include "core/Bytes.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace tsl {

struct ExpandResult {
    std::size_t produced = 0; // words written into the destination
    bool sound = true;        // false: the stream ended early or was malformed
};

// Expands Carmack items from `source` (the chunk after its length word) until
// `dest` is full. A reference before the start of the output, past what was
// produced, or beyond the end of `dest` stops the expansion as unsound.
ExpandResult CarmackExpand(std::span<const std::uint8_t> source, std::span<std::uint16_t> dest,
                           std::uint8_t nearTag, std::uint8_t farTag);

// Expands RLEW items from `source` (the stream after its length word) until
// `dest` is full. A run that would pass the end of `dest` is cut there and the
// stream reported unsound.
ExpandResult RLEWExpand(std::span<const std::uint16_t> source, std::span<std::uint16_t> dest,
                        std::uint16_t rlewTag);

// The same, reading little-endian words from bytes (an odd last byte is ignored).
ExpandResult RLEWExpand(std::span<const std::uint8_t> source, std::span<std::uint16_t> dest,
                        std::uint16_t rlewTag);

// Compresses a plane into an RLEW stream, its 0x2000 length word included.
// Runs longer than 65535 words are split into several runs.
Bytes RLEWCompress(std::span<const std::uint16_t> source, std::uint16_t rlewTag);

// Compresses a whole RLEW stream (length word included) into a Carmack chunk,
// its own length word (the source length) included: the chunk is the result.
// Gives exactly the bytes of the exhaustive longest-match search (longest
// match; among equal lengths the nearest) but finds candidates through chains
// of positions keyed by the words that start them, so its cost does not grow
// with the square of the plane. Nothing for a source over 65535 bytes, whose
// length the chunk's length word cannot hold.
std::optional<Bytes> CarmackCompress(std::span<const std::uint8_t> source, std::uint8_t nearTag,
                                     std::uint8_t farTag);

// Helpers shared by the compressor and its test oracle.
namespace carmack {
inline constexpr std::size_t kMaxCount = 255;    // a count is one byte
inline constexpr std::size_t kMaxDistance = 255; // a near distance is one byte
} // namespace carmack

} // namespace tsl
