#pragma once
// Little-endian writing into a growing byte buffer; the buffer is written to
// disk in one piece (see FileIO.h).

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace qm {

class ByteWriter {
public:
    void u8(std::uint8_t v) { data_.push_back(v); }
    void u16(std::uint16_t v)
    {
        data_.push_back(static_cast<std::uint8_t>(v));
        data_.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            data_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void bytes(const void* p, size_t n)
    {
        const auto* b = static_cast<const std::uint8_t*>(p);
        data_.insert(data_.end(), b, b + n);
    }
    void text(std::string_view s) { bytes(s.data(), s.size()); }
    void reserve(size_t n) { data_.reserve(n); }

    size_t size() const { return data_.size(); }
    const std::vector<std::uint8_t>& data() const { return data_; }
    std::vector<std::uint8_t>& data() { return data_; }
    std::vector<std::uint8_t> take() { return std::move(data_); }

private:
    std::vector<std::uint8_t> data_;
};

} // namespace qm
