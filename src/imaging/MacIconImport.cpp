#include "imaging/MacIconImport.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <openjpeg.h>
#include <optional>

#include "imaging/Conversions.h"
#include "imaging/PixelAccess.h"
#include "imaging/PngCodec.h"
#include "model/Palettes.h"
#include "platform/FileBytes.h"

namespace sigil {

namespace {

constexpr size_t kMacBinaryHeaderBytes = 128;
constexpr size_t kFileTypeOffset = 65;
constexpr size_t kDataForkLengthOffset = 83;
constexpr size_t kResourceForkLengthOffset = 87;
constexpr uint64_t kIcnsHeaderBytes = 8;
constexpr uint64_t kElementHeaderBytes = 8;
constexpr uint64_t kMapTypeCountOffset = 28;
constexpr uint64_t kTypeEntryBytes = 8;
constexpr uint64_t kReferenceEntryBytes = 12;
// A real family holds one element of each kind, some twenty at most. The
// cap keeps a crafted fork of thousands of tiny elements from holding
// thousands of 128 x 128 images (and the mask step from pairing them all).
constexpr size_t kMaxElements = 64;
constexpr size_t kMaxVisitedElements = 4 * kMaxElements;
// it32 data start with four bytes that are not pixels (always zero in
// files that Apple's tools write).
constexpr uint64_t kIt32PrefixBytes = 4;

struct ElementKind {
    const char* type;  // lower case
    int32_t width;
    int32_t height;
    int32_t bitCount;
    bool mask;
    int sizeBit;
};

constexpr ElementKind kElementKinds[] = {
    {"icm#", 16, 12, 1, true, kMacSize16x12},     {"ics#", 16, 16, 1, true, kMacSize16x16},
    {"icn#", 32, 32, 1, true, kMacSize32x32},     {"ich#", 48, 48, 1, true, kMacSize48x48},
    {"ict#", 128, 128, 1, true, kMacSize128x128}, {"icm4", 16, 12, 4, false, kMacSize16x12},
    {"ics4", 16, 16, 4, false, kMacSize16x16},    {"icl4", 32, 32, 4, false, kMacSize32x32},
    {"ich4", 48, 48, 4, false, kMacSize48x48},    {"icm8", 16, 12, 8, false, kMacSize16x12},
    {"ics8", 16, 16, 8, false, kMacSize16x16},    {"icl8", 32, 32, 8, false, kMacSize32x32},
    {"ich8", 48, 48, 8, false, kMacSize48x48},    {"im32", 16, 12, 24, false, kMacSize16x12},
    {"is32", 16, 16, 24, false, kMacSize16x16},   {"il32", 32, 32, 24, false, kMacSize32x32},
    {"ih32", 48, 48, 24, false, kMacSize48x48},   {"it32", 128, 128, 24, false, kMacSize128x128},
    {"s8mk", 16, 16, 8, true, kMacSize16x16},     {"l8mk", 32, 32, 8, true, kMacSize32x32},
    {"h8mk", 48, 48, 8, true, kMacSize48x48},     {"t8mk", 128, 128, 8, true, kMacSize128x128},
};

uint8_t lowerAscii(uint8_t c)
{
    return (c >= 'A' && c <= 'Z') ? uint8_t(c - 'A' + 'a') : c;
}

std::string lowered(std::string_view text)
{
    std::string s(text);
    for (char& c : s)
        c = static_cast<char>(lowerAscii(static_cast<uint8_t>(c)));
    return s;
}

// Four bytes of a view at `offset` as text; empty when they are not there.
std::string fourCC(ByteView data, uint64_t offset)
{
    if (offset > data.size() || data.size() - offset < 4)
        return {};
    return std::string(reinterpret_cast<const char*>(data.data() + offset), 4);
}

// Mac numbers are big-endian. Reads past the end give 0.
uint32_t beU32(ByteView data, uint64_t offset)
{
    if (offset > data.size() || data.size() - offset < 4)
        return 0;
    return getU32Be(data.data() + offset);
}

uint32_t beU24(ByteView data, uint64_t offset)
{
    if (offset > data.size() || data.size() - offset < 3)
        return 0;
    const uint8_t* p = data.data() + offset;
    return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
}

uint32_t beU16(ByteView data, uint64_t offset)
{
    if (offset > data.size() || data.size() - offset < 2)
        return 0;
    const uint8_t* p = data.data() + offset;
    return (uint32_t(p[0]) << 8) | p[1];
}

// The bytes from `offset` on (none when it lies past the end).
ByteView tail(ByteView data, uint64_t offset)
{
    return offset >= data.size() ? ByteView{} : data.subspan(static_cast<size_t>(offset));
}

// Colour elements get the standard palettes that new blank devices get, so
// an icon read from a Mac file edits like one made here. Opacity elements
// (8-bit masks) get none.
void writeMacPalette(const IconDevice& device, uint8_t* table)
{
    if (device.bitCount == 8 && device.macFlag)
        return;
    writeStandardPalette(device.bitCount, table);
}

// Mac rows run from the top; stored rows from the bottom.
int64_t storedRow(const PixelView<uint8_t>& px, int64_t macRow)
{
    return px.height - 1 - macRow;
}

// '#' elements: the picture (Mac 1 is black), then its mask (Mac 1 is
// opaque), each row packed to 16 bits.
size_t readBlackAndWhite(const PixelView<uint8_t>& px, ByteStream& in)
{
    const size_t rowBytes = size_t((px.width - 1) / 16 + 1) * 2;
    size_t total = 0;
    for (int64_t r = 0; r < px.height; ++r) {
        uint8_t* row = px.row(storedRow(px, r));
        const size_t got = in.read(row, rowBytes);
        for (size_t i = 0; i < got; ++i)
            row[i] = uint8_t(~row[i]);
        total += got;
    }
    for (int64_t r = 0; r < px.height; ++r) {
        uint8_t* row = px.row(storedRow(px, r));
        uint8_t* mask = px.maskRow(storedRow(px, r));
        const size_t got = in.read(mask, rowBytes);
        for (size_t i = 0; i < got; ++i) {
            mask[i] = uint8_t(~mask[i]);
            row[i] &= uint8_t(~mask[i]);  // transparent pixels are black
        }
        total += got;
    }
    return total;
}

// 4- and 8-bit elements: palette indices (or opacities), as they are.
size_t readIndexed(const PixelView<uint8_t>& px, ByteStream& in)
{
    const size_t rowBytes = size_t(px.width) * size_t(px.bitCount) / 8;
    size_t total = 0;
    for (int64_t r = 0; r < px.height; ++r)
        total += in.read(px.row(storedRow(px, r)), rowBytes);
    return total;
}

void putChannel(const PixelView<uint8_t>& px, int channel, uint64_t index, uint8_t value)
{
    const int64_t x = int64_t(index % uint64_t(px.width));
    const int64_t r = int64_t(index / uint64_t(px.width));
    // Red, green, blue planes; pixels are stored blue, green, red.
    px.row(storedRow(px, r))[3 * x + (2 - channel)] = value;
}

// Uncompressed 32-bit elements: 4 bytes a pixel, the first not used, then
// red, green, blue.
size_t readUncompressed(const PixelView<uint8_t>& px, ByteStream& in)
{
    const uint64_t pixels = uint64_t(px.width) * uint64_t(px.height);
    const ByteView data = in.take(pixels * 4);
    for (uint64_t i = 0; i < data.size() / 4; ++i)
        for (int c = 0; c < 3; ++c)
            putChannel(px, c, i, data[4 * i + 1 + size_t(c)]);
    return data.size();
}

// `planes` run-length planes of `planeSize` values each. A control byte c
// below 128 is followed by c + 1 values; 128 or more by one value repeated
// c - 125 times. A run that overruns its plane is read whole but stored only
// up to the plane's end, so the next plane starts where the runs say. Once
// the last plane is full nothing more is read. False when the data end
// before the last plane is full.
template <typename Put> bool readRunLengthPlanes(ByteStream& in, uint64_t planeSize, int planes, Put put)
{
    for (int plane = 0; plane < planes; ++plane) {
        const bool last = plane == planes - 1;
        uint64_t filled = 0;
        while (filled < planeSize) {
            if (in.atEnd())
                return false;
            const uint8_t control = in.readU8();
            if (control < 128) {
                const uint64_t count = uint64_t(control) + 1;
                const uint64_t stored = std::min(count, planeSize - filled);
                const ByteView values = in.take(stored);
                for (size_t i = 0; i < values.size(); ++i)
                    put(plane, filled + i, values[i]);
                if (values.size() < stored)
                    return false;
                if (!last)
                    in.skip(count - stored);
                filled += stored;
            } else {
                if (in.atEnd())
                    return false;
                const uint8_t value = in.readU8();
                const uint64_t stored = std::min(uint64_t(control) - 125, planeSize - filled);
                for (uint64_t i = 0; i < stored; ++i)
                    put(plane, filled + i, value);
                filled += stored;
            }
        }
    }
    return true;
}

// Elements that hold a whole picture file (PNG; JPEG 2000 in files of
// Mac OS X 10.5 and 10.6), or, for the small ones, "ARGB" and four planes. The size is the element's nominal one; the
// picture's own size is what the device gets, so a retina element ('ic11'
// to 'ic14', twice its point size) is a device of its real pixel size.
struct PictureKind {
    const char* type;
    int32_t size;
};

constexpr PictureKind kPictureKinds[] = {
    {"icp4", 16},
    {"icp5", 32},
    {"icp6", 64},
    {"ic07", 128},
    {"ic08", 256},
    {"ic09", 512},
    {"ic10", 1024},
    {"ic11", 32},
    {"ic12", 64},
    {"ic13", 256},
    {"ic14", 512},
    // Elements that hold either a picture or run-length ARGB planes.
    {"ic04", 16},
    {"ic05", 32},
    {"icsb", 18},
    {"icsB", 36},
    {"sb24", 24},
    {"SB24", 48},
};
// Twice the largest element that macOS writes; a larger picture is refused
// before it is decoded.
constexpr uint32_t kMaxPictureSide = 2048;
constexpr uint8_t kPngSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

const PictureKind* findPictureKind(std::string_view type)
{
    for (const PictureKind& kind : kPictureKinds)
        if (type == kind.type)
            return &kind;
    return nullptr;
}

// The size bit that filters a picture of `side` pixels; sizes that the
// filter has no bit for are always read.
int pictureSizeBit(int32_t side)
{
    switch (side) {
    case 16:
        return kMacSize16x16;
    case 32:
        return kMacSize32x32;
    case 48:
        return kMacSize48x48;
    case 128:
        return kMacSize128x128;
    default:
        return 0;
    }
}

constexpr uint8_t kJp2Signature[12] = {0x00, 0x00, 0x00, 0x0C, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A};
constexpr uint8_t kJ2kSignature[4] = {0xFF, 0x4F, 0xFF, 0x51};

bool startsWith(ByteView data, const uint8_t* signature, size_t length)
{
    return data.size() >= length && std::memcmp(data.data(), signature, length) == 0;
}

bool pictureSideAccepted(uint32_t w, uint32_t h)
{
    return w != 0 && h != 0 && w <= kMaxPictureSide && h <= kMaxPictureSide;
}

RgbaImage decodePng(ByteView data)
{
    // Signature, then the IHDR chunk: length, "IHDR", width, height,
    // checked before decoding so the decoder never allocates beyond them.
    if (data.size() < 24 || std::memcmp(data.data() + 12, "IHDR", 4) != 0 ||
        !pictureSideAccepted(beU32(data, 16), beU32(data, 20)))
        return {};
    return decodePngOfSize(data, beU32(data, 16), beU32(data, 20));
}

// OpenJPEG reads through callbacks; this one serves a byte view.
struct MemoryStream {
    ByteView data;
    uint64_t pos = 0;
};

OPJ_SIZE_T readMemory(void* buffer, OPJ_SIZE_T n, void* user)
{
    auto* m = static_cast<MemoryStream*>(user);
    if (m->pos >= m->data.size())
        return OPJ_SIZE_T(-1);
    const uint64_t got = std::min<uint64_t>(n, m->data.size() - m->pos);
    std::memcpy(buffer, m->data.data() + m->pos, static_cast<size_t>(got));
    m->pos += got;
    return static_cast<OPJ_SIZE_T>(got);
}

OPJ_OFF_T skipMemory(OPJ_OFF_T n, void* user)
{
    auto* m = static_cast<MemoryStream*>(user);
    if (n < 0)
        return -1;
    const uint64_t step = std::min<uint64_t>(uint64_t(n), m->data.size() - m->pos);
    m->pos += step;
    return OPJ_OFF_T(step);
}

OPJ_BOOL seekMemory(OPJ_OFF_T to, void* user)
{
    auto* m = static_cast<MemoryStream*>(user);
    if (to < 0 || uint64_t(to) > m->data.size())
        return OPJ_FALSE;
    m->pos = uint64_t(to);
    return OPJ_TRUE;
}

// Grey, grey and alpha, RGB or RGBA at full resolution; other colour
// layouts (subsampled components, more than 16 bits) are refused.
RgbaImage imageFromJpeg2000(const opj_image_t& j)
{
    const uint32_t w = j.x1 - j.x0;
    const uint32_t h = j.y1 - j.y0;
    if (j.numcomps < 1 || j.numcomps > 4)
        return {};
    for (uint32_t c = 0; c < j.numcomps; ++c) {
        const opj_image_comp_t& comp = j.comps[c];
        if (!comp.data || comp.w != w || comp.h != h || comp.prec < 1 || comp.prec > 16 || comp.sgnd)
            return {};
    }
    const auto value = [&j](uint32_t c, uint64_t index) {
        const opj_image_comp_t& comp = j.comps[c];
        const int32_t v = std::clamp<int32_t>(comp.data[index], 0, (1 << comp.prec) - 1);
        return uint8_t(comp.prec >= 8 ? v >> (comp.prec - 8) : v * 255 / ((1 << comp.prec) - 1));
    };
    const bool colour = j.numcomps >= 3;
    const bool alpha = j.numcomps == 2 || j.numcomps == 4;
    RgbaImage image = RgbaImage::blank(int(w), int(h));
    if (image.empty())
        return {};
    for (uint32_t y = 0; y < h; ++y) {
        uint8_t* out = image.row(int(y));
        for (uint32_t x = 0; x < w; ++x, out += 4) {
            const uint64_t i = uint64_t(y) * w + x;
            const uint8_t r = value(0, i);
            out[0] = r;
            out[1] = colour ? value(1, i) : r;
            out[2] = colour ? value(2, i) : r;
            out[3] = alpha ? value(j.numcomps - 1, i) : 255;
        }
    }
    return image;
}

// JPEG 2000, as a JP2 file or a bare codestream (Mac OS X 10.5 wrote its
// large elements so).
RgbaImage decodeJpeg2000(ByteView data)
{
    const bool jp2 = startsWith(data, kJp2Signature, sizeof kJp2Signature);
    MemoryStream memory{data, 0};
    opj_stream_t* stream = opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, OPJ_TRUE);
    if (!stream)
        return {};
    opj_stream_set_user_data(stream, &memory, nullptr);
    opj_stream_set_user_data_length(stream, data.size());
    opj_stream_set_read_function(stream, readMemory);
    opj_stream_set_skip_function(stream, skipMemory);
    opj_stream_set_seek_function(stream, seekMemory);
    opj_codec_t* codec = opj_create_decompress(jp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K);
    opj_dparameters_t parameters;
    opj_set_default_decoder_parameters(&parameters);
    opj_image_t* decoded = nullptr;
    RgbaImage image;
    // The header's size is checked before anything is decoded.
    if (codec && opj_setup_decoder(codec, &parameters) && opj_read_header(stream, codec, &decoded) &&
        decoded->x1 > decoded->x0 && decoded->y1 > decoded->y0 &&
        pictureSideAccepted(decoded->x1 - decoded->x0, decoded->y1 - decoded->y0) &&
        opj_decode(codec, stream, decoded) && opj_end_decompress(codec, stream))
        image = imageFromJpeg2000(*decoded);
    if (decoded)
        opj_image_destroy(decoded);
    if (codec)
        opj_destroy_codec(codec);
    opj_stream_destroy(stream);
    return image;
}

constexpr uint8_t kArgbSignature[4] = {'A', 'R', 'G', 'B'};

// "ARGB", then alpha, red, green and blue run-length planes of side x side
// values. Null when the planes are cut short.
RgbaImage decodeArgbPlanes(ByteView data, int32_t side)
{
    ByteStream in(data.subspan(sizeof kArgbSignature));
    RgbaImage image = RgbaImage::blank(side, side);
    if (image.empty())
        return {};
    const auto put = [&image](int plane, uint64_t index, uint8_t value) {
        static constexpr int kChannel[4] = {3, 0, 1, 2};  // alpha, red, green, blue
        image.bytes[size_t(index) * 4 + size_t(kChannel[plane])] = value;
    };
    if (!readRunLengthPlanes(in, uint64_t(side) * uint64_t(side), 4, put))
        return {};
    return image;
}

// A picture element into a 32-bit device of its size, the AND mask set
// where the alpha is 0. False for data that is neither PNG, JPEG 2000 nor
// ARGB planes, or that does not decode.
bool readPictureElement(IconDevice& device, ByteView data, const PictureKind& kind, int macFilter)
{
    RgbaImage image;
    if (startsWith(data, kArgbSignature, sizeof kArgbSignature))
        image = decodeArgbPlanes(data, kind.size);
    else if (startsWith(data, kPngSignature, sizeof kPngSignature))
        image = decodePng(data);
    else if (startsWith(data, kJp2Signature, sizeof kJp2Signature) ||
             startsWith(data, kJ2kSignature, sizeof kJ2kSignature))
        image = decodeJpeg2000(data);
    if (image.empty())
        return false;
    const int sizeBit = image.width == image.height ? pictureSizeBit(image.width) : 0;
    if (sizeBit != 0 && !(macFilter & sizeBit))
        return false;
    return deviceFromRgba(device, image);
}

size_t readTrueColor(const PixelView<uint8_t>& px, ByteStream& in, uint64_t length)
{
    if (length == uint64_t(px.width) * uint64_t(px.height) * 4)
        return readUncompressed(px, in);
    const size_t start = in.pos();
    if (px.width == 128)
        in.skip(kIt32PrefixBytes);
    // Red, green, blue; what a cut-short element gave is kept.
    readRunLengthPlanes(in, uint64_t(px.width) * uint64_t(px.height), 3,
                        [&px](int plane, uint64_t index, uint8_t value) { putChannel(px, plane, index, value); });
    return in.pos() - start;
}

const ElementKind* findKind(std::string_view type)
{
    if (type.size() < 4)
        return nullptr;
    const std::string lower = lowered(type.substr(0, 4));
    for (const ElementKind& kind : kElementKinds)
        if (lower == kind.type)
            return &kind;
    return nullptr;
}

bool stopped(const std::atomic<bool>* stop)
{
    return stop && stop->load(std::memory_order_relaxed);
}

// Where the resource fork keeps an icns container: at the fork's start, or
// as the data of an item in the fork's data area. Nothing when there is none.
std::optional<uint64_t> findIcns(ByteView data, uint64_t fork)
{
    if (lowered(fourCC(data, fork)) == "icns")
        return fork;
    uint64_t pos = fork + beU32(data, fork);
    // Every item moves on by at least its 4-byte length, so the walk ends.
    while (pos <= data.size() && data.size() - pos >= 4) {
        const uint64_t length = beU32(data, pos);
        pos += 4;
        if (length == 0 || length > data.size() - pos)
            break;
        if (length >= 4 && lowered(fourCC(data, pos)) == "icns")
            return pos;
        pos += length;
    }
    return std::nullopt;
}

// Reads one element into a fresh device and keeps it when anything was read.
// A picture element of a size and depth that an earlier element gave is
// passed over (a retina 16 x 16 is the same device as a plain 32 x 32).
void addElement(IconEntry& icon, std::string_view type, ByteStream& in, uint64_t length, int macFilter)
{
    IconDevice device;
    if (const PictureKind* kind = findPictureKind(type)) {
        if (!readPictureElement(device, in.view(), *kind, macFilter))
            return;
        const bool known = std::any_of(icon.devices.begin(), icon.devices.end(), [&device](const IconDevice& d) {
            return d.width == device.width && d.height == device.height && d.bitCount == 32;
        });
        if (!known)
            icon.devices.push_back(std::move(device));
        return;
    }
    if (!setupMacElement(device, type, macFilter))
        return;
    if (readMacElement(device, in, length) > 0)
        icon.devices.push_back(std::move(device));
}

// The elements of an icns container; false when stopped.
bool readIcnsElements(IconEntry& icon, ByteView data, uint64_t container, int macFilter, const std::atomic<bool>* stop)
{
    const uint64_t total = beU32(data, container + 4);
    // Each element's stated length decides where the next one starts,
    // whatever its reader used.
    // Elements that give no device (tables of contents, names, pictures
    // that do not decode) are capped too, so a file of thousands of them
    // cannot ask for thousands of picture decodes.
    size_t visited = 0;
    for (uint64_t at = kIcnsHeaderBytes;
         at < total && icon.devices.size() < kMaxElements && visited < kMaxVisitedElements; ++visited) {
        if (stopped(stop))
            return false;
        const uint64_t header = container + at;
        if (header > data.size() || data.size() - header < kElementHeaderBytes)
            break;
        const uint64_t length = beU32(data, header + 4);
        if (length < kElementHeaderBytes)
            break;  // a length short of its own header cannot be stepped over
        const uint64_t dataLength = length - kElementHeaderBytes;
        const ByteView element = tail(data, header + kElementHeaderBytes);
        ByteStream in(element.first(static_cast<size_t>(std::min<uint64_t>(dataLength, element.size()))));
        addElement(icon, fourCC(data, header), in, dataLength, macFilter);
        at += length;
    }
    return true;
}

// Classic icon resources: one resource per type, the i-th reference entry
// after the type list belonging to the i-th type. False when stopped.
bool readClassicResources(IconEntry& icon, ByteView data, uint64_t fork, int macFilter, const std::atomic<bool>* stop)
{
    const uint64_t dataArea = fork + beU32(data, fork);
    const uint64_t map = fork + beU32(data, fork + 4);
    if (map > data.size() || data.size() - map < kMapTypeCountOffset + 2)
        return true;
    const uint64_t types = beU16(data, map + kMapTypeCountOffset) + 1;
    const uint64_t typeList = map + kMapTypeCountOffset + 2;
    const uint64_t referenceList = typeList + types * kTypeEntryBytes;
    for (uint64_t i = 0; i < types && icon.devices.size() < kMaxElements; ++i) {
        if (stopped(stop))
            return false;
        const uint64_t reference = referenceList + i * kReferenceEntryBytes;
        if (reference > data.size() || data.size() - reference < kReferenceEntryBytes)
            break;
        // Past the item's 4-byte length; its data run to the end of the file.
        const uint64_t item = dataArea + beU24(data, reference + 5) + 4;
        ByteStream in(tail(data, item));
        addElement(icon, fourCC(data, typeList + i * kTypeEntryBytes), in, 0, macFilter);
    }
    return true;
}

// Opacity elements become the alpha channel of the 24-bit element of their
// size; then the '#' masks become the AND masks of the devices of their
// size that have no alpha channel.
void applyMacMasks(IconEntry& icon)
{
    const auto applyFrom = [&icon](int sourceBits, auto targetWanted) {
        for (const IconDevice& source : icon.devices) {
            if (!source.macFlag || source.bitCount != sourceBits)
                continue;
            for (IconDevice& target : icon.devices)
                if (!target.macFlag && target.width == source.width && target.height == source.height &&
                    targetWanted(target.bitCount))
                    applyMask(target, source);
        }
    };
    applyFrom(8, [](int bits) { return bits == 24; });
    applyFrom(1, [](int bits) { return bits != 32; });
}

bool filteredOut(const IconDevice& device, int macFilter)
{
    switch (device.bitCount) {
    case 1:
        return !(macFilter & kMacKeep1Bit);
    case 4:
        return !(macFilter & kMacKeep4Bit);
    case 8:
        return device.macFlag || !(macFilter & kMacKeep8Bit);
    case 32:
        return !(macFilter & kMacKeep32Bit);
    default:
        return false;
    }
}

// "Icon_" is how a folder's custom icon file ("Icon\r") is named once it
// leaves the Mac; such an icon is named after its folder.
std::string iconName(const std::string& path, const std::string& name)
{
    const size_t slash = path.find_last_of('/');
    if (name != "Icon_" || slash == std::string::npos)
        return name;
    const std::string folderPath = path.substr(0, slash);
    const size_t start = folderPath.find_last_of('/');
    const std::string folder = start == std::string::npos ? folderPath : folderPath.substr(start + 1);
    return folder.empty() ? name : folder;
}

// The list names whole types separated by ';'. A type may hold a blank, so
// an entry matches as written, or with the blanks a user put around it
// dropped.
bool fileTypeAccepted(ByteView data, const std::string& accepted)
{
    if (accepted.empty())
        return true;
    const std::string type = lowered(fourCC(data, kFileTypeOffset));
    const std::string list = lowered(accepted);
    size_t start = 0;
    while (start <= list.size()) {
        const size_t end = std::min(list.find(';', start), list.size());
        std::string_view entry(list.data() + start, end - start);
        if (entry == type)
            return true;
        while (!entry.empty() && entry.front() == ' ')
            entry.remove_prefix(1);
        while (!entry.empty() && entry.back() == ' ')
            entry.remove_suffix(1);
        if (entry == type)
            return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

bool setupMacElement(IconDevice& device, std::string_view type, int macFilter)
{
    const ElementKind* kind = findKind(type);
    if (!kind || !(macFilter & kind->sizeBit))
        return false;
    device.reset();
    device.width = kind->width;
    device.height = kind->height;
    device.bitCount = kind->bitCount;
    device.macFlag = kind->mask ? 1 : 0;
    return device.allocate();
}

size_t readMacElement(IconDevice& device, ByteStream& data, uint64_t length)
{
    device.writeIconHeader();
    const auto px = writePixels(device);
    if (!px)
        return 0;
    writeMacPalette(device, px->table());
    size_t read = 0;
    switch (device.bitCount) {
    case 1:
        read = readBlackAndWhite(*px, data);
        break;
    case 4:
    case 8:
        read = readIndexed(*px, data);
        break;
    case 24:
        read = readTrueColor(*px, data, length);
        break;
    default:
        break;
    }
    return read;
}

namespace {

// Files that hold a size twice, as a classic element and as PNG (as icon
// makers write them for older readers), give the same image twice: one is
// enough. Images that differ are all kept.
void dropRepeatedDevices(IconEntry& icon)
{
    for (size_t i = 1; i < icon.devices.size();) {
        const bool repeated = std::any_of(icon.devices.begin(), icon.devices.begin() + std::ptrdiff_t(i),
                                          [&](const IconDevice& d) { return d.sameDevice(icon.devices[i]); });
        if (repeated)
            icon.devices.erase(icon.devices.begin() + std::ptrdiff_t(i));
        else
            ++i;
    }
}

}  // namespace

bool loadMacIconBytes(IconEntry& icon, ByteView data, const std::string& path, const std::string& name,
                      const DisplaySettings& settings, const std::atomic<bool>* stop)
{
    const int filter = settings.macFilter;
    bool finished = false;
    if (fourCC(data, 0) == "icns") {
        // A plain icns file, as macOS keeps them: the family is the file.
        // It has no Mac file type to check.
        finished = readIcnsElements(icon, data, 0, filter, stop);
    } else {
        if (data.size() < kMacBinaryHeaderBytes || data[0] != 0)
            return false;
        if (!fileTypeAccepted(data, settings.macFileTypes))
            return false;
        const uint64_t dataForkLength = beU32(data, kDataForkLengthOffset);
        const uint64_t fork = kMacBinaryHeaderBytes + (dataForkLength + 127) / 128 * 128;
        if (beU32(data, kResourceForkLengthOffset) == 0 || fork >= data.size())
            return false;
        const std::optional<uint64_t> container = findIcns(data, fork);
        finished = container ? readIcnsElements(icon, data, *container, filter, stop)
                             : readClassicResources(icon, data, fork, filter, stop);
    }
    if (!finished || icon.devices.empty()) {
        icon.removeDevice(-1);
        return false;
    }

    icon.sortDevices();
    applyMacMasks(icon);
    std::erase_if(icon.devices, [filter](const IconDevice& d) { return filteredOut(d, filter); });
    dropRepeatedDevices(icon);
    icon.name = iconName(path, name);
    icon.source = path;
    return true;
}

bool loadMacIcons(IconEntry& icon, const std::string& path, const std::string& name, const DisplaySettings& settings,
                  const std::atomic<bool>* stop)
{
    FileBytes file;
    if (!file.open(path))
        return false;
    return loadMacIconBytes(icon, file.bytes(), path, name, settings, stop);
}

}  // namespace sigil
