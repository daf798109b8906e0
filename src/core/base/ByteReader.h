#pragma once
// Bounds-checked little-endian reading from a byte buffer. Every read either
// delivers all its bytes or fails and leaves the position where it was, so a
// damaged file can never be read past its end.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qm {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

    size_t position() const { return pos_; }
    size_t size() const { return data_.size(); }
    size_t remaining() const { return data_.size() - pos_; }
    bool atEnd() const { return pos_ >= data_.size(); }
    bool seek(size_t position)
    {
        if (position > data_.size())
            return false;
        pos_ = position;
        return true;
    }
    bool skip(size_t count)
    {
        if (count > remaining())
            return false;
        pos_ += count;
        return true;
    }

    bool u8(std::uint8_t& out);
    bool u16(std::uint16_t& out);
    bool u32(std::uint32_t& out);
    bool i32(std::int32_t& out);
    bool bytes(void* out, size_t count);
    // Reads count bytes as text.
    bool text(std::string& out, size_t count);
    // True, and the position moved past them, when the next bytes equal expected.
    bool match(std::string_view expected);
    // A view of the next count bytes without copying them.
    bool view(std::span<const std::uint8_t>& out, size_t count);

private:
    std::span<const std::uint8_t> data_;
    size_t pos_ = 0;
};

} // namespace qm
