#include "core/base/ByteReader.h"

#include <cstring>

namespace qm {

bool ByteReader::u8(std::uint8_t& out)
{
    if (remaining() < 1)
        return false;
    out = data_[pos_++];
    return true;
}

bool ByteReader::u16(std::uint16_t& out)
{
    if (remaining() < 2)
        return false;
    out = static_cast<std::uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return true;
}

bool ByteReader::u32(std::uint32_t& out)
{
    if (remaining() < 4)
        return false;
    out = static_cast<std::uint32_t>(data_[pos_]) | (static_cast<std::uint32_t>(data_[pos_ + 1]) << 8) |
          (static_cast<std::uint32_t>(data_[pos_ + 2]) << 16) | (static_cast<std::uint32_t>(data_[pos_ + 3]) << 24);
    pos_ += 4;
    return true;
}

bool ByteReader::i32(std::int32_t& out)
{
    std::uint32_t v;
    if (!u32(v))
        return false;
    out = static_cast<std::int32_t>(v);
    return true;
}

bool ByteReader::bytes(void* out, size_t count)
{
    if (remaining() < count)
        return false;
    if (count)
        std::memcpy(out, data_.data() + pos_, count);
    pos_ += count;
    return true;
}

bool ByteReader::text(std::string& out, size_t count)
{
    if (remaining() < count)
        return false;
    out.assign(reinterpret_cast<const char*>(data_.data() + pos_), count);
    pos_ += count;
    return true;
}

bool ByteReader::match(std::string_view expected)
{
    if (remaining() < expected.size())
        return false;
    if (std::memcmp(data_.data() + pos_, expected.data(), expected.size()) != 0)
        return false;
    pos_ += expected.size();
    return true;
}

bool ByteReader::view(std::span<const std::uint8_t>& out, size_t count)
{
    if (remaining() < count)
        return false;
    out = data_.subspan(pos_, count);
    pos_ += count;
    return true;
}

} // namespace qm
