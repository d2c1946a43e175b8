#pragma once
// Little-endian (and, for PNG and Mac data, big-endian) field access on byte buffers whose bounds the caller has
// already checked. File formats go through ByteStream instead.

#include <cstdint>
#include <span>

namespace sigil {

using ByteView = std::span<const uint8_t>;

// Bytes [offset, offset + size) of a file.
struct FileRange {
    uint64_t offset = 0;
    uint64_t size = 0;
    uint64_t end() const { return offset + size; }
    bool operator==(const FileRange&) const = default;
};

inline uint16_t getU16(const uint8_t* p)
{
    return uint16_t(p[0] | (p[1] << 8));
}
inline uint32_t getU32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline int32_t getI32(const uint8_t* p)
{
    return static_cast<int32_t>(getU32(p));
}
inline uint32_t getU32Be(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

inline void putU16(uint8_t* p, uint16_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void putU32(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}
inline void putI32(uint8_t* p, int32_t v)
{
    putU32(p, static_cast<uint32_t>(v));
}

}  // namespace sigil
