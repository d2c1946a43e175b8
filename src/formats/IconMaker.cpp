#include "formats/IconMaker.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include "formats/IcnsFile.h"
#include "formats/IconFile.h"
#include "formats/LoadJob.h"
#include "formats/PngImage.h"
#include "imaging/PngCodec.h"
#include "imaging/Resample.h"
#include "platform/FileBytes.h"

namespace sigil {

namespace {

constexpr int kIcoPngSize = 256;
constexpr int kMaxIcoSize = 256;

// IHDR of plain 8-bit RGBA, not interlaced: the PNG that icon readers
// take as they take their own.
bool plainRgbaPng(ByteView png)
{
    // Signature (8), IHDR length and type (8), width, height (8), then
    // depth, colour type, compression, filter, interlace.
    return png.size() >= 29 && hasPngSignature(png) && std::memcmp(png.data() + 12, "IHDR", 4) == 0 && png[24] == 8 &&
           png[25] == 6 && png[28] == 0;
}

bool readPixels(const std::string& path, ByteView bytes, MakeInput& input, std::string& reason)
{
    if (hasPngSignature(bytes)) {
        if (!decodePng(bytes, input.pixels)) {
            reason = "not a readable PNG picture";
            return false;
        }
        if (plainRgbaPng(bytes))
            input.png.assign(bytes.begin(), bytes.end());
        return true;
    }
    (void)path;
    reason = "not a picture, SVG or icon file that can be read";
    return false;
}

bool svgName(const std::string& path)
{
    const std::string ext = lowerExtension(splitPath(path).extension);
    return ext == ".svg" || ext == ".svgz";
}

// The picture fitted into a size x size square, proportions kept, centred
// on transparent pixels.
RgbaImage shrunkInto(const RgbaImage& picture, int size)
{
    if (picture.width == picture.height)
        return resampled(picture.view(), size, size);
    const bool wide = picture.width > picture.height;
    const int longer = wide ? picture.width : picture.height;
    const int shorter = wide ? picture.height : picture.width;
    const int fitted = std::max(1, int((int64_t{shorter} * size + longer / 2) / longer));
    const RgbaImage scaled = resampled(picture.view(), wide ? size : fitted, wide ? fitted : size);
    if (scaled.empty())
        return {};
    RgbaImage square{size, size, int64_t{size} * 4, std::vector<uint8_t>(size_t(size) * size_t(size) * 4)};
    const int left = (size - scaled.width) / 2, top = (size - scaled.height) / 2;
    for (int y = 0; y < scaled.height; ++y)
        std::memcpy(square.bytes.data() + (int64_t(top + y) * size + left) * 4,
                    scaled.bytes.data() + int64_t(y) * scaled.stride, size_t(scaled.width) * 4);
    return square;
}

}  // namespace

std::optional<MadeFormat> madeFormatOf(const std::string& path)
{
    const std::string ext = lowerExtension(splitPath(path).extension);
    if (ext == ".ico")
        return MadeFormat::Ico;
    if (ext == ".icns")
        return MadeFormat::Icns;
    return std::nullopt;
}

std::vector<int> defaultMadeSizes(MadeFormat format)
{
    if (format == MadeFormat::Ico)
        return {16, 20, 24, 32, 40, 48, 64, 96, 128, 256};
    return {16, 32, 64, 128, 256, 512, 1024};
}

bool formatHoldsSize(MadeFormat format, int size)
{
    return format == MadeFormat::Ico ? size >= 1 && size <= kMaxIcoSize : icnsHoldsSize(size);
}

std::vector<SizeSource> chooseSources(std::span<const SourceShape> inputs, std::span<const int> sizes)
{
    std::vector<SizeSource> out;
    out.reserve(sizes.size());
    for (const int size : sizes) {
        SizeSource chosen;
        int smallest = 0;  // the longer side of the input chosen to shrink
        for (size_t i = 0; i < inputs.size(); ++i) {
            const SourceShape& s = inputs[i];
            if (!s.scalable && s.width == size && s.height == size) {
                chosen = {int(i), SizeWay::Exact};
                break;
            }
            if (s.scalable) {
                if (chosen.way != SizeWay::Render)
                    chosen = {int(i), SizeWay::Render};
                continue;
            }
            const int longer = std::max(s.width, s.height);
            if (chosen.way != SizeWay::Render && longer >= size && (chosen.input < 0 || longer < smallest)) {
                chosen = {int(i), SizeWay::Shrink};
                smallest = longer;
            }
        }
        out.push_back(chosen);
    }
    return out;
}

bool readMakeInput(const std::string& path, MakeInput& input, std::string& reason)
{
    input = MakeInput{};
    input.path = path;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        reason = "a folder, not a file";
        return false;
    }
    if (uint64_t(info.st_size) > kMaxMakeInputBytes) {
        reason = "larger than " + std::to_string(kMaxMakeInputBytes >> 20) + " MB";
        return false;
    }
    FileBytes file;
    errno = 0;
    if (!file.open(path)) {
        reason = errno != 0 ? std::strerror(errno) : "cannot be read";
        return false;
    }
    const ByteView bytes = file.bytes();
    if (bytes.empty()) {
        reason = "the file is empty";
        return false;
    }
    if (svgName(path) || looksLikeSvg(bytes)) {
        input.svg = SvgImage::parse(bytes, reason);
        return input.svg != nullptr;
    }
    return readPixels(path, bytes, input, reason);
}

bool makeImages(std::span<const MakeInput> inputs, std::span<const int> sizes, std::vector<MadeImage>& images,
                std::string& reason)
{
    std::vector<SourceShape> shapes;
    for (const MakeInput& input : inputs)
        shapes.push_back(input.shape());
    const std::vector<SizeSource> sources = chooseSources(shapes, sizes);
    images.clear();
    images.reserve(sizes.size());
    for (size_t k = 0; k < sizes.size(); ++k) {
        const int size = sizes[k];
        const SizeSource& source = sources[k];
        if (source.way == SizeWay::Missing) {
            int largest = 0;
            for (const SourceShape& s : shapes)
                largest = std::max({largest, s.width, s.height});
            reason = "no input is " + std::to_string(size) + " x " + std::to_string(size) +
                     " pixels or larger (the largest is " + std::to_string(largest) +
                     "), and pictures are not enlarged: give a larger picture or an SVG, or leave the size out "
                     "with --sizes";
            return false;
        }
        const MakeInput& input = inputs[size_t(source.input)];
        MadeImage image;
        image.size = size;
        switch (source.way) {
        case SizeWay::Exact:
            image.pixels = input.pixels;
            image.png = input.png;
            break;
        case SizeWay::Render:
            image.pixels = input.svg->render(size, size);
            break;
        case SizeWay::Shrink:
            image.pixels = shrunkInto(input.pixels, size);
            break;
        case SizeWay::Missing:
            break;
        }
        if (image.pixels.empty()) {
            reason = input.path + ": cannot be drawn at " + std::to_string(size) + " x " + std::to_string(size);
            return false;
        }
        images.push_back(std::move(image));
    }
    return true;
}

bool icoStoresPng(int size, bool pngAll)
{
    return pngAll || size >= kIcoPngSize;
}

bool iconEntryOfImages(std::span<const MadeImage> images, bool pngAll, IconEntry& entry)
{
    entry.clearEntry();
    for (const MadeImage& image : images) {
        if (image.pixels.width != image.size || image.pixels.height != image.size || image.size > kMaxIcoSize)
            return false;
        IconDevice device;
        if (icoStoresPng(image.size, pngAll)) {
            std::vector<uint8_t> encoded;
            ByteView png = image.png;
            if (png.empty()) {
                const RgbaImage& p = image.pixels;
                encoded = encodePng(p.bytes.data(), uint32_t(p.width), uint32_t(p.height), size_t(p.stride));
                png = encoded;
            }
            if (!lazyDeviceFromPng(png, device))
                return false;
        } else if (!deviceFromRgba(device, image.pixels)) {
            return false;
        }
        entry.devices.push_back(std::move(device));
    }
    entry.sortDevices();
    return !entry.devices.empty();
}

std::vector<uint8_t> encodeMadeIcon(MadeFormat format, std::span<const MadeImage> images, bool pngAll)
{
    if (format == MadeFormat::Icns) {
        std::vector<IcnsImage> icns;
        for (const MadeImage& image : images)
            icns.push_back({image.pixels.view(), image.png});
        return encodeIcnsFile(icns);
    }
    IconEntry entry;
    if (!iconEntryOfImages(images, pngAll, entry))
        return {};
    return encodeIconFile(entry).value_or(std::vector<uint8_t>{});
}

}  // namespace sigil
