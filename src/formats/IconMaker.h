#pragma once
// Making icons: a multi-size .ico or .icns from a few inputs (an SVG, a
// large picture, hand-drawn small sizes). Which input serves which size,
// how each size is drawn, and how each format stores it.

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "imaging/RgbaImage.h"
#include "imaging/SvgImage.h"
#include "model/IconEntry.h"
#include "platform/Bytes.h"
#include "platform/WriteResult.h"

namespace sigil {

enum class MadeFormat { Ico, Icns };

// The format a file name asks for by its extension (.ico, .icns, in any
// case); none for another.
std::optional<MadeFormat> madeFormatOf(const std::string& path);
// Windows asks an .ico for 16 to 256 pixels; macOS an .icns for 16 to 1024
// (the @2x elements included).
std::vector<int> defaultMadeSizes(MadeFormat format);
// .ico: 1 to 256 pixels; .icns: the sizes its elements hold.
bool formatHoldsSize(MadeFormat format, int size);

// ---- Which input serves which size -----------------------------------------

// An input as the choice sees it: its pixel size, or scalable (an SVG).
struct SourceShape {
    int width = 0;
    int height = 0;
    bool scalable = false;
};

enum class SizeWay {
    Exact,    // the input is that size: used as it is, pixel for pixel
    Render,   // the vector drawn at the size
    Shrink,   // resampled (premultiplied Lanczos-3), fitted into the square
    Missing,  // no input can give the size without enlarging
};

struct SizeSource {
    int input = -1;
    SizeWay way = SizeWay::Missing;
    bool operator==(const SizeSource&) const = default;
};

// For each size: the first input of exactly size x size; else the first
// scalable input; else the smallest input whose longer side is at least the
// size (the first of equals). Missing when there is none: a picture is
// never enlarged.
std::vector<SizeSource> chooseSources(std::span<const SourceShape> inputs, std::span<const int> sizes);

// ---- Inputs ------------------------------------------------------------------

// The largest input file read.
constexpr uint64_t kMaxMakeInputBytes = uint64_t{256} << 20;

// One input: an SVG document, or pixels (a picture's, or the largest image
// of an icon file).
struct MakeInput {
    std::string path;
    std::unique_ptr<SvgImage> svg;
    std::vector<uint8_t> svgBytes;  // for other threads to parse their own copy
    RgbaImage pixels;
    // A PNG picture's own data when it is plain 8-bit RGBA: a size it serves
    // exactly stores these bytes instead of encoding the pixels again.
    std::vector<uint8_t> png;

    SourceShape shape() const { return {pixels.width, pixels.height, svg != nullptr}; }
};

// Reads an input by its content: an SVG (or a name ending in .svg, .svgz),
// a PNG, BMP or JPEG picture, else any icon file the program reads (.ico,
// .cur, .ani, .icns, MacBinary, .icl, .exe, .dll ...), whose largest image
// is taken. False with `reason` (a few words) when it cannot be read.
bool readMakeInput(const std::string& path, MakeInput& input, std::string& reason);

// ---- Images and files --------------------------------------------------------

// One size of the icon: size x size, straight alpha, and its PNG data when
// the format stores the size as PNG: the input's own data for an exact
// input's size (a view into that input), else `encoded`.
struct MadeImage {
    int size = 0;
    RgbaImage pixels;
    ByteView png;
    std::vector<uint8_t> encoded;
};

// How an .ico stores a size: PNG data for 256 (and every size with
// pngAll), a 32-bit bitmap with its AND mask below, as Windows' shell
// readers expect.
bool icoStoresPng(int size, bool pngAll);
// Whether the format stores the size as PNG data (an .icns does for every
// size but 48, which only a classic element holds).
bool storesPng(MadeFormat format, int size, bool pngAll);

// Every size drawn as chooseSources says, in the order asked, with the PNG
// data of the sizes that the format stores so. The sizes are drawn and
// encoded on several threads. False with
// `reason` for a size that no input serves or that fails to draw.
bool makeImages(std::span<const MakeInput> inputs, std::span<const int> sizes, MadeFormat format, bool pngAll,
                std::vector<MadeImage>& images, std::string& reason);

// The icon of the images as an .ico stores them; false when an image
// cannot be stored.
bool iconEntryOfImages(std::span<const MadeImage> images, bool pngAll, IconEntry& entry);

// An SVG file opened as an icon: its document drawn at the default .ico
// sizes, stored as an .ico would store them; `name` and `source` become the
// display name and the path. False (entry empty) when it is no SVG the
// renderer can draw.
bool readSvgIcon(IconEntry& entry, const std::string& path, const std::string& name);

// One icon of the library as an .icns file: each of its square images of a
// size the format holds (the deepest of each size), its pixels as they are.
// Empty, with `reason` in a few words, when it has no such image.
std::vector<uint8_t> icnsOfIcon(const IconEntry& icon, std::string& reason);
// That file written whole or not at all; CannotStore, with icnsOfIcon's
// reason, touches no file.
WriteResult writeIcnsFile(const IconEntry& icon, const std::string& path);

// The whole file in the format; empty when it cannot be made.
std::vector<uint8_t> encodeMadeIcon(MadeFormat format, std::span<const MadeImage> images, bool pngAll);

}  // namespace sigil
