#include "support/PictureBytes.h"

#include <QBuffer>
#include <cstring>

namespace sigil::test {

Bytes encodedPicture(int w, int h, const std::function<uint32_t(int x, int y)>& argb, const char* format)
{
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, argb(x, y));
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format, 95))
        return {};
    return Bytes(data.begin(), data.end());
}

Bytes jpegPicture(int w, int h, uint32_t rgb)
{
    return encodedPicture(w, h, [rgb](int, int) { return rgb; });
}

Bytes gifStart(const char* signature)
{
    Bytes b(signature, signature + std::strlen(signature));
    const char rest[] = "89a\x01\x00\x01\x00\x00\x00\x00;";
    b.insert(b.end(), rest, rest + sizeof rest - 1);
    return b;
}

Bytes macBinaryWrapped(const Bytes& picture)
{
    Bytes b(128, 0);
    b[1] = 4;
    std::memcpy(b.data() + 2, "JPEG", 4);
    append(b, picture);
    return b;
}

}  // namespace sigil::test
