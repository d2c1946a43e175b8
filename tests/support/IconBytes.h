#pragma once
// Small emitters of stored icon bytes, so each malformed case in a test is a
// one-line change to well-formed input.

#include <cstdint>
#include <string>
#include <vector>

namespace sigil::test {

using Bytes = std::vector<uint8_t>;

void put16(Bytes& b, uint16_t v);
void put32(Bytes& b, uint32_t v);
void append(Bytes& b, const Bytes& more);

// A 40-byte bitmap information header.
struct Header {
    uint32_t size = 40;
    int32_t width = 0;
    int32_t height = 0;  // as stored: doubled for icon images
    uint16_t planes = 1;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t imageSize = 0;
    int32_t xPels = 0;
    int32_t yPels = 0;
    uint32_t colorsUsed = 0;
    uint32_t colorsImportant = 0;
};
Bytes headerBytes(const Header& h);

// A stored icon image record: header (height doubled), colour table of
// 2^bits entries for 1 to 8 bits, colour bits with every byte `fill`, and
// the AND mask with every byte `maskFill`.
Bytes iconImage(int w, int h, int bits, uint8_t fill = 0x11, uint8_t maskFill = 0x00);

// An .ico file: header (type), one 16-byte entry per image (its byte count
// from the image's length unless overridden) and the images in order.
Bytes icoFile(const std::vector<Bytes>& images, uint16_t type = 1, const std::vector<uint32_t>& byteCounts = {});

// A PNG image of w x h with the given ARGB colour everywhere.
Bytes pngImage(int w, int h, uint32_t argb);

bool writeFile(const std::string& path, const Bytes& bytes);
Bytes readFile(const std::string& path);

// Path of a file in the shared corpus, or empty when the corpus is absent.
std::string corpusFile(const std::string& relative);

}  // namespace sigil::test
