#pragma once
// Little-endian byte access for the game's binary files. Every read is bounded
// by the buffer it reads from: a value that does not fit reports failure
// instead of reading past the end.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace tsl {

using Bytes = std::vector<std::uint8_t>;

inline std::uint16_t GetU16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t GetU32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline void PutU16(std::uint8_t* p, std::uint16_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

inline void PutU32(std::uint8_t* p, std::uint32_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}

// Sequential reader over a byte span. Reads that would cross the end fail and
// leave the position unchanged.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data, std::size_t pos = 0)
        : data_(data), pos_(pos <= data.size() ? pos : data.size()) {}

    std::size_t Position() const { return pos_; }
    std::size_t Remaining() const { return data_.size() - pos_; }
    bool AtEnd() const { return pos_ >= data_.size(); }

    bool Seek(std::size_t pos)
    {
        if (pos > data_.size())
            return false;
        pos_ = pos;
        return true;
    }

    bool Skip(std::size_t n)
    {
        if (n > Remaining())
            return false;
        pos_ += n;
        return true;
    }

    bool ReadU8(std::uint8_t& v)
    {
        if (Remaining() < 1)
            return false;
        v = data_[pos_++];
        return true;
    }

    bool ReadU16(std::uint16_t& v)
    {
        if (Remaining() < 2)
            return false;
        v = GetU16(data_.data() + pos_);
        pos_ += 2;
        return true;
    }

    bool ReadU32(std::uint32_t& v)
    {
        if (Remaining() < 4)
            return false;
        v = GetU32(data_.data() + pos_);
        pos_ += 4;
        return true;
    }

    // A view of the next n bytes, or an empty span when fewer remain.
    bool ReadSpan(std::size_t n, std::span<const std::uint8_t>& out)
    {
        if (n > Remaining())
            return false;
        out = data_.subspan(pos_, n);
        pos_ += n;
        return true;
    }

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_;
};

// Appending writer; the buffer grows as needed.
class ByteWriter {
public:
    Bytes& Data() { return data_; }
    const Bytes& Data() const { return data_; }
    std::size_t Size() const { return data_.size(); }

    void U8(std::uint8_t v) { data_.push_back(v); }
    void U16(std::uint16_t v)
    {
        data_.push_back(static_cast<std::uint8_t>(v));
        data_.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v)
    {
        U16(static_cast<std::uint16_t>(v));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void Append(std::span<const std::uint8_t> bytes) { data_.insert(data_.end(), bytes.begin(), bytes.end()); }
    void Append(std::string_view text) { data_.insert(data_.end(), text.begin(), text.end()); }
    void Zeros(std::size_t n) { data_.insert(data_.end(), n, 0); }

private:
    Bytes data_;
};

} // namespace tsl
