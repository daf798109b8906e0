#pragma once
// 64-bit FNV-1a, the checksum of the recovery files and of saved states.

#include <cstddef>
#include <cstdint>
#include <span>

namespace qm {

inline constexpr std::uint64_t FNV_OFFSET = 14695981039346656037ull;

inline std::uint64_t fnv1a64(std::span<const std::uint8_t> bytes, std::uint64_t hash = FNV_OFFSET)
{
    for (const std::uint8_t b : bytes) {
        hash ^= b;
        hash *= 1099511628211ull;
    }
    return hash;
}

} // namespace qm
