#pragma once
// The Huffman dictionary of the game's pictures (VGADICT.<ext>) and the
// expansion the engine runs over every chunk of VGAGRAPH (CAL_HuffExpand).
// The dictionary is 255 nodes of two 16-bit words, one for a 0 bit and one
// for a 1 bit: a word below 256 is a byte, one from 256 the node word - 256.
// Expansion starts at node 254 (the head), reads each byte of the stream
// from its lowest bit up, and goes back to the head after each byte.
//
// Every code is at least one bit, so a chunk of n bytes holds at most 8n
// expanded bytes: what an expansion may produce is bounded by its input,
// and a node that leads round in a circle runs out of bits.
//
// The games' own chunks are encoded with the first code the tree gives each
// byte (walked 0 before 1), and their bits are followed by one byte more than
// they fill: bits / 8 + 1 bytes, so a stream that ends on a byte boundary
// carries a zero byte after it. Encode gives exactly that.

#include "core/Bytes.h"
#include "core/Failure.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace tsl {

inline constexpr std::size_t kHuffmanNodes = 255;
inline constexpr std::size_t kHuffmanDictionaryBytes = kHuffmanNodes * 4;
inline constexpr int kHuffmanHead = 254;

struct Expansion {
    Bytes bytes;
    std::size_t bits = 0; // bits of the stream read
    bool complete = false; // every byte asked for was expanded before the stream ran out
};

class HuffmanDictionary {
public:
    // `fileName` names the dictionary in messages. A dictionary shorter than
    // its nodes, or one with a node word past them, is refused; bytes after
    // the nodes are kept as they are.
    static Outcome<HuffmanDictionary> Parse(std::span<const std::uint8_t> bytes, const std::string& fileName);

    // Expands `length` bytes from `stream`, or as many as its bits give.
    Expansion Expand(std::span<const std::uint8_t> stream, std::size_t length) const;
    // The bytes that `Encode` gives for `data`; false when a byte has no
    // code in this dictionary (`missing` receives it).
    bool CanEncode(std::span<const std::uint8_t> data, int* missing = nullptr) const;
    // `data` as the games' own chunks hold it: bits / 8 + 1 bytes. Call
    // only when CanEncode.
    Bytes Encode(std::span<const std::uint8_t> data) const;
    // The bits `data` takes.
    std::size_t EncodedBits(std::span<const std::uint8_t> data) const;

    const Bytes& Raw() const { return raw_; }

private:
    struct Code {
        std::uint32_t bits = 0; // lowest bit first
        std::uint8_t length = 0; // 0: no code
    };
    void BuildCodes();

    Bytes raw_;
    std::array<std::array<std::uint16_t, 2>, kHuffmanNodes> nodes_{};
    // A code longer than 32 bits cannot be written by this encoder; such
    // bytes count as having none.
    std::array<Code, 256> codes_{};
};

} // namespace tsl
