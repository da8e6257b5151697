#include "vgagraph/Huffman.h"

#include <algorithm>

namespace tsl {

Outcome<HuffmanDictionary> HuffmanDictionary::Parse(std::span<const std::uint8_t> bytes, const std::string& fileName)
{
    const auto refuse = [&](const std::string& what) {
        return Failure{"The picture dictionary " + fileName + " is damaged: " + what, "Error loading game pictures",
                       MessageIcon::Warning};
    };
    // id's files carry 4 bytes more than the engine reads; they are kept.
    if (bytes.size() < kHuffmanDictionaryBytes)
        return refuse("it holds " + std::to_string(bytes.size()) + " bytes, less than the " +
                      std::to_string(kHuffmanDictionaryBytes) + " of its 255 nodes.");
    HuffmanDictionary dictionary;
    dictionary.raw_.assign(bytes.begin(), bytes.end());
    for (std::size_t node = 0; node < kHuffmanNodes; ++node)
        for (std::size_t bit = 0; bit < 2; ++bit) {
            const std::uint16_t word = GetU16(bytes.data() + node * 4 + bit * 2);
            if (word >= 256 + kHuffmanNodes)
                return refuse("node " + std::to_string(node) + " leads to node " + std::to_string(word - 256) +
                              ", past the last (" + std::to_string(kHuffmanNodes - 1) + ").");
            dictionary.nodes_[node][bit] = word;
        }
    dictionary.BuildCodes();
    return dictionary;
}

void HuffmanDictionary::BuildCodes()
{
    // Depth first from the head, the 0 side (and all below it) before the 1
    // side; a node already walked (a circle, or a node two ways lead to) is
    // not walked again, so the walk ends and a byte keeps its first code.
    std::array<bool, kHuffmanNodes> walked{};
    const auto walk = [&](const auto& self, std::size_t node, std::uint32_t bits, std::uint8_t length) -> void {
        if (walked[node] || length >= 32)
            return;
        walked[node] = true;
        for (std::uint32_t bit = 0; bit < 2; ++bit) {
            const std::uint16_t word = nodes_[node][bit];
            const std::uint32_t path = bits | (bit << length);
            const auto deeper = static_cast<std::uint8_t>(length + 1);
            if (word >= 256)
                self(self, static_cast<std::size_t>(word - 256), path, deeper);
            else if (codes_[word].length == 0)
                codes_[word] = {path, deeper};
        }
    };
    walk(walk, kHuffmanHead, 0, 0);
}

Expansion HuffmanDictionary::Expand(std::span<const std::uint8_t> stream, std::size_t length) const
{
    Expansion out;
    // Each byte takes a bit at least: no more can come out than 8 per byte.
    out.bytes.reserve(std::min(length, stream.size() * 8));
    const std::size_t total = stream.size() * 8;
    std::size_t bit = 0;
    std::size_t node = kHuffmanHead;
    while (out.bytes.size() < length && bit < total) {
        const int value = (stream[bit >> 3] >> (bit & 7)) & 1;
        ++bit;
        const std::uint16_t word = nodes_[node][static_cast<std::size_t>(value)];
        if (word < 256) {
            out.bytes.push_back(static_cast<std::uint8_t>(word));
            node = kHuffmanHead;
        } else {
            node = word - 256;
        }
    }
    out.bits = bit;
    out.complete = out.bytes.size() == length;
    return out;
}

bool HuffmanDictionary::CanEncode(std::span<const std::uint8_t> data, int* missing) const
{
    for (const std::uint8_t byte : data)
        if (codes_[byte].length == 0) {
            if (missing)
                *missing = byte;
            return false;
        }
    return true;
}

std::size_t HuffmanDictionary::EncodedBits(std::span<const std::uint8_t> data) const
{
    std::size_t bits = 0;
    for (const std::uint8_t byte : data)
        bits += codes_[byte].length;
    return bits;
}

Bytes HuffmanDictionary::Encode(std::span<const std::uint8_t> data) const
{
    Bytes out(EncodedBits(data) / 8 + 1, 0);
    std::size_t bit = 0;
    for (const std::uint8_t byte : data) {
        const Code code = codes_[byte];
        for (std::uint8_t i = 0; i < code.length; ++i, ++bit)
            if ((code.bits >> i) & 1)
                out[bit >> 3] = static_cast<std::uint8_t>(out[bit >> 3] | (1u << (bit & 7)));
    }
    return out;
}

} // namespace tsl
