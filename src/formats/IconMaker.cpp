#include "formats/IconMaker.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <map>
#include <sys/stat.h>
#include <thread>

#include "formats/FirstIcon.h"
#include "formats/IcnsFile.h"
#include "formats/IconFile.h"
#include "formats/LoadJob.h"
#include "formats/PngImage.h"
#include "imaging/BitmapImport.h"
#include "imaging/DevicePixels.h"
#include "imaging/PictureImport.h"
#include "imaging/PngCodec.h"
#include "imaging/Resample.h"
#include "platform/FileBytes.h"
#include "platform/SafeFileWriter.h"

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

// The largest image of an icon: the most pixels, the deepest of equals
// (the last in canonical order).
const IconDevice* largestDevice(const IconEntry& icon)
{
    const IconDevice* best = nullptr;
    for (const IconDevice& d : icon.devices)
        if (!best || int64_t{d.width} * d.height >= int64_t{best->width} * best->height)
            best = &d;
    return best;
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
    // A bitmap or JPEG picture at its own size; anything else is tried as
    // an icon file of any kind the program reads, whose largest image is
    // taken.
    IconDevice device;
    std::unique_ptr<IconEntry> icon;
    const IconDevice* image = nullptr;
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        if (loadBitmapBytes(device, bytes, false, DisplaySettings{}))
            image = &device;
    } else if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) {
        std::atomic<bool> gif{false};
        if (loadPictureBytes(device, bytes, 0, 0, gif))
            image = &device;
    } else if ((icon = readFirstIcon(path))) {
        image = largestDevice(*icon);
    }
    if (!image) {
        reason = "not an SVG document, a picture or an icon file that can be read";
        return false;
    }
    input.pixels = devicePixels(*image);
    if (input.pixels.empty()) {
        reason = "its image cannot be drawn";
        return false;
    }
    return true;
}

bool svgName(const std::string& path)
{
    const std::string ext = lowerExtension(splitPath(path).extension);
    return ext == ".svg" || ext == ".svgz";
}

// The picture shrunk by a whole factor k each way: each k x k block
// averaged with its colour weighted by alpha, as the resampler weighs it.
RgbaImage boxReduced(const RgbaImage& in, int k)
{
    const int w = in.width / k, h = in.height / k;
    RgbaImage out{w, h, int64_t{w} * 4, std::vector<uint8_t>(size_t(w) * size_t(h) * 4)};
    std::vector<uint32_t> sums(size_t(w) * 4);  // alpha-weighted red, green, blue, then alpha
    const uint32_t area = uint32_t(k) * uint32_t(k);
    for (int y = 0; y < h; ++y) {
        std::ranges::fill(sums, 0);
        for (int dy = 0; dy < k; ++dy) {
            const uint8_t* p = in.bytes.data() + int64_t(y * k + dy) * in.stride;
            for (int x = 0; x < w; ++x) {
                uint32_t* s = &sums[size_t(x) * 4];
                for (int dx = 0; dx < k; ++dx, p += 4) {
                    s[0] += uint32_t(p[0]) * p[3];
                    s[1] += uint32_t(p[1]) * p[3];
                    s[2] += uint32_t(p[2]) * p[3];
                    s[3] += p[3];
                }
            }
        }
        uint8_t* o = out.bytes.data() + int64_t(y) * out.stride;
        for (int x = 0; x < w; ++x, o += 4) {
            const uint32_t* s = &sums[size_t(x) * 4];
            o[3] = uint8_t((s[3] + area / 2) / area);
            for (int c = 0; c < 3; ++c)
                o[c] = s[3] == 0 ? 0 : uint8_t((s[c] + s[3] / 2) / s[3]);
        }
    }
    return out;
}

// A picture many times larger than the size wanted is first averaged down
// by a whole factor that divides both its sides, to no less than six times
// that size (what Pillow calls a reducing gap, and libvips does before its
// own Lanczos): the filter then spans some dozens of source pixels instead
// of hundreds, at a fraction of the time, and the pixels stay within a
// level or so of a direct shrink.
RgbaImage shrunk(const RgbaImage& picture, int width, int height)
{
    constexpr int kGap = 6;
    const int factor = std::min(picture.width / width, picture.height / height) / kGap;
    for (int k = factor; k >= 2; --k)
        if (picture.width % k == 0 && picture.height % k == 0)
            return resampled(boxReduced(picture, k).view(), width, height);
    return resampled(picture.view(), width, height);
}

// The picture fitted into a size x size square, proportions kept, centred
// on transparent pixels.
RgbaImage shrunkInto(const RgbaImage& picture, int size)
{
    if (picture.width == picture.height)
        return shrunk(picture, size, size);
    const bool wide = picture.width > picture.height;
    const int longer = wide ? picture.width : picture.height;
    const int shorter = wide ? picture.height : picture.width;
    const int fitted = std::max(1, int((int64_t{shorter} * size + longer / 2) / longer));
    const RgbaImage scaled = shrunk(picture, wide ? size : fitted, wide ? fitted : size);
    if (scaled.empty())
        return {};
    RgbaImage square{size, size, int64_t{size} * 4, std::vector<uint8_t>(size_t(size) * size_t(size) * 4)};
    const int left = (size - scaled.width) / 2, top = (size - scaled.height) / 2;
    for (int y = 0; y < scaled.height; ++y)
        std::memcpy(square.bytes.data() + (int64_t(top + y) * size + left) * 4,
                    scaled.bytes.data() + int64_t(y) * scaled.stride, size_t(scaled.width) * 4);
    return square;
}

// Runs work(job, thread) for every job from 0 to count - 1 on up to as many
// threads as the machine has cores (at most four), the calling thread being
// thread 0.
template <typename Work> void forEachOnThreads(size_t count, size_t threads, Work&& work)
{
    std::atomic<size_t> next{0};
    const auto worker = [&](size_t thread) {
        for (size_t job = next++; job < count; job = next++)
            work(job, thread);
    };
    std::vector<std::thread> helpers;
    for (size_t i = 1; i < threads; ++i)
        helpers.emplace_back(worker, i);
    worker(0);
    for (std::thread& t : helpers)
        t.join();
}

size_t threadsFor(size_t jobs)
{
    return std::min<size_t>({jobs, std::max(1u, std::thread::hardware_concurrency()), 4});
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
        if (input.svg)
            input.svgBytes.assign(bytes.begin(), bytes.end());
        return input.svg != nullptr;
    }
    return readPixels(path, bytes, input, reason);
}

bool makeImages(std::span<const MakeInput> inputs, std::span<const int> sizes, MadeFormat format, bool pngAll,
                std::vector<MadeImage>& images, std::string& reason)
{
    std::vector<SourceShape> shapes;
    for (const MakeInput& input : inputs)
        shapes.push_back(input.shape());
    const std::vector<SizeSource> sources = chooseSources(shapes, sizes);
    images.assign(sizes.size(), MadeImage{});
    for (size_t k = 0; k < sizes.size(); ++k) {
        images[k].size = sizes[k];
        if (sources[k].way != SizeWay::Missing)
            continue;
        int largest = 0;
        for (const SourceShape& s : shapes)
            largest = std::max({largest, s.width, s.height});
        reason = "no input is " + std::to_string(sizes[k]) + " x " + std::to_string(sizes[k]) +
                 " pixels or larger (the largest is " + std::to_string(largest) +
                 "), and pictures are not enlarged: give a larger picture or an SVG, or leave the size out "
                 "with --sizes";
        images.clear();
        return false;
    }
    // Larger sizes first, so that no thread is left with a large one at
    // the end.
    std::vector<size_t> order(sizes.size());
    for (size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    std::ranges::sort(order, [&sizes](size_t a, size_t b) { return sizes[a] > sizes[b]; });
    // A librsvg document is not to be drawn on two threads at once: the
    // calling thread draws the inputs' own, every other thread parses its
    // own copy the first time it needs one.
    const size_t threads = threadsFor(order.size());
    std::vector<std::vector<std::unique_ptr<SvgImage>>> copies(threads);
    for (auto& own : copies)
        own.resize(inputs.size());
    forEachOnThreads(order.size(), threads, [&](size_t job, size_t thread) {
        const size_t k = order[job];
        const MakeInput& input = inputs[size_t(sources[k].input)];
        MadeImage& image = images[k];
        if (sources[k].way == SizeWay::Exact) {
            image.pixels = input.pixels;
            image.png = input.png;
        } else if (sources[k].way == SizeWay::Shrink) {
            image.pixels = shrunkInto(input.pixels, image.size);
        } else if (thread == 0) {
            image.pixels = input.svg->render(image.size, image.size);
        } else {
            std::unique_ptr<SvgImage>& own = copies[thread][size_t(sources[k].input)];
            std::string ignored;
            if (!own)
                own = SvgImage::parse(input.svgBytes, ignored);
            if (own)
                image.pixels = own->render(image.size, image.size);
        }
        if (image.pixels.empty() || !image.png.empty() || !storesPng(format, image.size, pngAll))
            return;
        const RgbaImage& p = image.pixels;
        image.encoded = encodePng(p.bytes.data(), uint32_t(p.width), uint32_t(p.height), size_t(p.stride));
        image.png = image.encoded;
    });
    for (size_t k = 0; k < sizes.size(); ++k) {
        const bool encoded = !images[k].png.empty() || !storesPng(format, sizes[k], pngAll);
        if (images[k].pixels.empty() || !encoded) {
            reason = inputs[size_t(sources[k].input)].path + ": cannot be drawn at " + std::to_string(sizes[k]) +
                     " x " + std::to_string(sizes[k]);
            images.clear();
            return false;
        }
    }
    return true;
}

bool icoStoresPng(int size, bool pngAll)
{
    return pngAll || size >= kIcoPngSize;
}

bool storesPng(MadeFormat format, int size, bool pngAll)
{
    return format == MadeFormat::Ico ? icoStoresPng(size, pngAll) : icnsHoldsSize(size) && size != 48;
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

bool readSvgIcon(IconEntry& entry, const std::string& path, const std::string& name)
{
    entry.clearEntry();
    MakeInput input;
    std::string reason;
    std::vector<MadeImage> images;
    const std::vector<int> sizes = defaultMadeSizes(MadeFormat::Ico);
    if (!readMakeInput(path, input, reason) || !input.svg ||
        !makeImages({&input, 1}, sizes, MadeFormat::Ico, false, images, reason) ||
        !iconEntryOfImages(images, false, entry)) {
        entry.clearEntry();
        return false;
    }
    entry.name = name;
    entry.source = path;
    return true;
}

std::vector<uint8_t> icnsOfIcon(const IconEntry& icon, std::string& reason)
{
    std::map<int, const IconDevice*> deepest;
    for (const IconDevice& d : icon.devices) {
        if (d.width != d.height || !formatHoldsSize(MadeFormat::Icns, d.width))
            continue;
        const IconDevice*& kept = deepest[d.width];
        if (!kept || d.bitCount > kept->bitCount)
            kept = &d;
    }
    std::vector<MadeImage> images;
    for (const auto& [size, device] : deepest) {
        MadeImage image;
        image.size = size;
        image.pixels = devicePixels(*device);
        if (image.pixels.empty())
            continue;
        if (storesPng(MadeFormat::Icns, size, false)) {
            // An image kept as PNG goes in as it is stored.
            const ByteView stored = device->keepsPng() ? device->pngData() : ByteView{};
            image.encoded =
                stored.empty() ? encodePng(image.pixels) : std::vector<uint8_t>(stored.begin(), stored.end());
            image.png = image.encoded;
        }
        images.push_back(std::move(image));
    }
    if (images.empty()) {
        reason = "no square image of a size an .icns holds (16, 32, 48, 64, 128, 256, 512 or 1024)";
        return {};
    }
    std::vector<uint8_t> file = encodeMadeIcon(MadeFormat::Icns, images, false);
    if (file.empty())
        reason = "the images cannot be encoded";
    return file;
}

WriteResult writeIcnsFile(const IconEntry& icon, const std::string& path)
{
    std::string reason;
    const std::vector<uint8_t> bytes = icnsOfIcon(icon, reason);
    if (bytes.empty())
        return WriteResult::cannotStore(path, reason);
    return writeWholeFile(path, bytes);
}

}  // namespace sigil
