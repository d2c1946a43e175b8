#include "support/RiffBytes.h"

namespace sigil::test {

namespace {

void putId(Bytes& b, const std::string& id)
{
    for (size_t i = 0; i < 4; ++i)
        b.push_back(i < id.size() ? uint8_t(id[i]) : uint8_t(' '));
}

}  // namespace

Bytes riffChunk(const std::string& id, const Bytes& data, std::optional<uint32_t> size)
{
    Bytes b;
    putId(b, id);
    put32(b, size.value_or(uint32_t(data.size())));
    append(b, data);
    if (data.size() & 1)
        b.push_back(0);
    return b;
}

Bytes riffList(const std::vector<Bytes>& children, const std::string& id, const std::string& type)
{
    Bytes body;
    putId(body, type);
    for (const Bytes& child : children)
        append(body, child);
    return riffChunk(id, body);
}

Bytes riffFile(const std::vector<Bytes>& chunks, const std::string& id, std::optional<uint32_t> size,
               const std::string& form)
{
    Bytes body;
    for (const Bytes& chunk : chunks)
        append(body, chunk);
    Bytes b;
    putId(b, id);
    put32(b, size.value_or(uint32_t(4 + body.size())));
    putId(b, form);
    append(b, body);
    return b;
}

Bytes aniFile(const std::vector<Bytes>& frames)
{
    Bytes header;  // 36-byte animation header: size, frames, steps, ...
    put32(header, 36);
    put32(header, uint32_t(frames.size()));
    put32(header, uint32_t(frames.size()));
    header.resize(36, 0);
    std::vector<Bytes> icons;
    for (const Bytes& frame : frames)
        icons.push_back(riffChunk("icon", frame));
    return riffFile({riffChunk("anih", header), riffList(icons)});
}

Bytes iconFrame(int w, int h, int bits)
{
    return icoFile({iconImage(w, h ? h : w, bits)}, 2);
}

}  // namespace sigil::test
