#include "support/IconBytes.h"

#include <QBuffer>
#include <QImage>
#include <fstream>
#include <iterator>

namespace sigil::test {

void put16(Bytes& b, uint16_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

void put32(Bytes& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(uint8_t(v >> (8 * i)));
}

void append(Bytes& b, const Bytes& more)
{
    b.insert(b.end(), more.begin(), more.end());
}

Bytes headerBytes(const Header& h)
{
    Bytes b;
    put32(b, h.size);
    put32(b, uint32_t(h.width));
    put32(b, uint32_t(h.height));
    put16(b, h.planes);
    put16(b, h.bitCount);
    put32(b, h.compression);
    put32(b, h.imageSize);
    put32(b, uint32_t(h.xPels));
    put32(b, uint32_t(h.yPels));
    put32(b, h.colorsUsed);
    put32(b, h.colorsImportant);
    return b;
}

Bytes iconImage(int w, int h, int bits, uint8_t fill, uint8_t maskFill)
{
    Header hd;
    hd.width = w;
    hd.height = 2 * h;
    hd.bitCount = uint16_t(bits);
    Bytes b = headerBytes(hd);
    if (bits <= 8) {
        for (int i = 0; i < (1 << bits); ++i)
            put32(b, uint32_t(i * 0x010101));
    }
    const int raw = bits == 1 ? ((w - 1) / 32) * 4 + 4 : (bits == 4 ? (w + 1) / 2 : w * bits / 8);
    const int stride = (raw + 3) / 4 * 4;
    b.insert(b.end(), size_t(stride) * h, fill);
    const int maskStride = ((w - 1) / 32 + 1) * 4;
    b.insert(b.end(), size_t(maskStride) * h, maskFill);
    return b;
}

Bytes icoFile(const std::vector<Bytes>& images, uint16_t type, const std::vector<uint32_t>& byteCounts)
{
    Bytes b;
    put16(b, 0);
    put16(b, type);
    put16(b, uint16_t(images.size()));
    uint32_t offset = uint32_t(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        b.insert(b.end(), {0, 0, 0, 0});
        put16(b, 1);
        put16(b, 0);
        put32(b, i < byteCounts.size() ? byteCounts[i] : uint32_t(images[i].size()));
        put32(b, offset);
        offset += uint32_t(images[i].size());
    }
    for (const Bytes& image : images)
        append(b, image);
    return b;
}

Bytes pngImage(int w, int h, uint32_t argb)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(argb);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return Bytes(data.begin(), data.end());
}

bool writeFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(f);
}

Bytes readFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

std::string corpusFile(const std::string& relative)
{
    const std::string path = std::string(SIGIL_CORPUS_DIR) + "/" + relative;
    std::ifstream f(path);
    return f ? path : std::string();
}

}  // namespace sigil::test
