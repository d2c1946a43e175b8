#pragma once
// A forward reader over a bounded byte view, standing in for a buffered file
// stream: reads past the end are short (the missing bytes read as zero),
// skips past the end stop at the end, and nothing can reach outside the view.

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/Bytes.h"

namespace sigil {

class ByteStream {
public:
    ByteStream() = default;
    explicit ByteStream(ByteView data) : data_(data) {}

    size_t pos() const { return pos_; }
    size_t size() const { return data_.size(); }
    size_t remaining() const { return data_.size() - pos_; }
    bool atEnd() const { return pos_ >= data_.size(); }
    ByteView view() const { return data_; }

    // Copies up to n bytes and answers how many arrived; the rest of dst is
    // zero-filled.
    size_t read(uint8_t* dst, size_t n)
    {
        const size_t got = peek(dst, n);
        pos_ += got;
        return got;
    }
    size_t peek(uint8_t* dst, size_t n) const
    {
        const size_t got = std::min(n, remaining());
        if (got)
            std::memcpy(dst, data_.data() + pos_, got);
        if (got < n)
            std::memset(dst + got, 0, n - got);
        return got;
    }
    uint8_t readU8()
    {
        uint8_t b[1];
        read(b, 1);
        return b[0];
    }
    uint16_t readU16()
    {
        uint8_t b[2];
        read(b, 2);
        return getU16(b);
    }
    uint32_t readU32()
    {
        uint8_t b[4];
        read(b, 4);
        return getU32(b);
    }
    // The next n bytes (fewer at the end) as a view, consumed.
    ByteView take(uint64_t n)
    {
        const size_t got = static_cast<size_t>(std::min<uint64_t>(n, remaining()));
        ByteView v = data_.subspan(pos_, got);
        pos_ += got;
        return v;
    }
    void skip(uint64_t n) { pos_ += static_cast<size_t>(std::min<uint64_t>(n, remaining())); }
    void seek(uint64_t p) { pos_ = static_cast<size_t>(std::min<uint64_t>(p, size())); }
    // Raises the position to the next multiple of `alignment` (0: none).
    void alignTo(uint64_t alignment)
    {
        if (alignment > 1 && pos_ % alignment != 0)
            skip(alignment - pos_ % alignment);
    }

private:
    ByteView data_;
    size_t pos_ = 0;
};

}  // namespace sigil
