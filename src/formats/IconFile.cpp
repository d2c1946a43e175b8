#include "formats/IconFile.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <unordered_set>

#include "formats/IconFileNames.h"
#include "formats/PngImage.h"
#include "platform/FileBytes.h"
#include "platform/NewFile.h"
#include "platform/SafeFileWriter.h"

namespace sigil {

int readIconDirectory(ByteStream& stream, IconEntry& entry, int entryBytes, uint32_t alignment,
                      std::vector<uint32_t>* offsets)
{
    if (entryBytes != kFileDirEntryBytes && entryBytes != kGroupDirEntryBytes)
        return 0;
    stream.alignTo(alignment);
    stream.skip(4);  // reserved, type: icons and cursors are read alike
    const int count = stream.readU16();
    for (int i = 0; i < count; ++i) {
        // Entries that would start past the end of the data could only give
        // devices without bytes, which the image step drops; stop here so a
        // lying count costs nothing.
        if (stream.atEnd())
            break;
        uint8_t raw[kFileDirEntryBytes];
        stream.read(raw, static_cast<size_t>(entryBytes));
        IconDevice device;
        device.bytesLeft = getU32(raw + 8);
        entry.devices.push_back(std::move(device));
        if (offsets && entryBytes == kFileDirEntryBytes)
            offsets->push_back(getU32(raw + 12));
    }
    return count;
}

int64_t truncatedBlockLimit(uint64_t available)
{
    const uint64_t limit = kHeaderBytes + 2 * available + kTruncationSlack;
    return static_cast<int64_t>(std::min<uint64_t>(limit, kMaxBlockBytes));
}

namespace {

// One stored image record into `device`; false when it is refused.
bool readOneImage(ByteStream& stream, IconDevice& device, int64_t cutShortKeep)
{
    uint8_t header[kHeaderBytes];
    stream.peek(header, sizeof header);

    if (hasPngSignature(ByteView(header, 8))) {
        // Modern icons keep large images as PNG data; the entry's byte count
        // is the only length we have.
        const int64_t length = device.bytesLeft;
        const ByteView png = stream.take(length > 0 ? static_cast<uint64_t>(length) : 0);
        device.bytesLeft -= static_cast<int64_t>(png.size());
        return lazyDeviceFromPng(png, device);
    }

    // Any header size but 40 is refused before the header is read.
    if (getU32(header) != kHeaderBytes)
        return false;
    device.bytesLeft -= static_cast<int64_t>(stream.read(header, sizeof header));
    const int64_t limit = std::max(cutShortKeep, truncatedBlockLimit(stream.remaining()));
    if (device.setFromHeader(ByteView(header, sizeof header), true, limit, false) < 0)
        return false;
    // Data bytes straight into the block; a short read leaves zeros.
    const auto data = static_cast<size_t>(device.dataBytes());
    uint8_t* into = device.blockData() + kHeaderBytes;
    const size_t got = stream.read(into, data);
    std::memset(into + got, 0, data - got);
    device.bytesLeft -= static_cast<int64_t>(got);
    // An RLE8 image of another depth cannot be shown or converted: dropped.
    return device.expandPixels();
}

}  // namespace

bool readIconImages(ByteStream& stream, IconEntry& entry, uint32_t alignment, const std::atomic<bool>* stop,
                    int64_t cutShortKeep)
{
    // Refused devices are squeezed out as the kept ones move down, in one
    // pass: a directory of 65535 entries must not cost 65535 erases.
    std::vector<IconDevice>& devices = entry.devices;
    size_t kept = 0;
    bool finished = true;
    for (size_t i = 0; i < devices.size(); ++i) {
        IconDevice& device = devices[i];
        // Devices filled earlier stay; only the directory's new ones are read.
        bool keep = device.hasBlock();
        if (!keep && finished) {
            if (stop && stop->load(std::memory_order_relaxed)) {
                finished = false;
            } else {
                stream.alignTo(alignment);
                keep = readOneImage(stream, device, cutShortKeep);
                if (device.bytesLeft > 0)
                    stream.skip(static_cast<uint64_t>(device.bytesLeft));
                device.bytesLeft = 0;
            }
        }
        // After a stop, the unread devices stay as they are.
        if (!finished && !device.hasBlock())
            keep = true;
        if (keep) {
            if (kept != i)
                devices[kept] = std::move(device);
            ++kept;
        }
    }
    devices.erase(devices.begin() + static_cast<std::ptrdiff_t>(kept), devices.end());
    return finished;
}

namespace {

// Whether an image record plausibly starts at `pos`: PNG data, or a bitmap
// header of a size that writers use with a positive width and height.
bool imageStartsAt(ByteView file, uint64_t pos)
{
    if (pos >= file.size())
        return false;
    const ByteView rest = file.subspan(static_cast<size_t>(pos));
    if (hasPngSignature(rest))
        return true;
    if (rest.size() < 12)
        return false;
    const uint32_t headerBytes = getU32(rest.data());
    const bool knownSize =
        headerBytes == 40 || headerBytes == 52 || headerBytes == 56 || headerBytes == 108 || headerBytes == 124;
    return knownSize && getI32(rest.data() + 4) > 0 && getI32(rest.data() + 8) > 0;
}

// The image step of an .ico or .cur file. Writers do not all lay images out
// back to back in directory order: some leave gaps, store them in another
// order, or (Pillow's bitmaps) leave out the AND mask and count the record
// without it. Others write offsets of 0 or offsets that point nowhere. So
// each image is read at its entry's offset when an image starts there, else
// where the image before it ended (as a sequential reader would), and its
// bytes end where the next image found at an offset begins, or at the end
// of the file: what a record lacks before that reads as zeros (a missing AND
// mask is opaque).
// No place is read twice: an entry repeating an offset already read takes
// the sequential place, or is dropped when that was read too, so a
// directory of many entries naming one image cannot multiply its memory.
// Likewise only an image that runs to the end of the file may keep a modest
// block however little of it arrived; one ended by the next image keeps the
// usual bound.
void readImagesAtOffsets(ByteView file, uint64_t directoryEnd, IconEntry& entry, const std::vector<uint32_t>& offsets)
{
    std::vector<uint64_t> starts;
    for (const uint32_t offset : offsets)
        if (imageStartsAt(file, offset))
            starts.push_back(offset);
    std::ranges::sort(starts);
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    std::unordered_set<uint64_t> read;

    std::vector<IconDevice>& devices = entry.devices;
    const size_t first = devices.size() - offsets.size();
    size_t kept = first;
    uint64_t sequential = directoryEnd;
    for (size_t i = first; i < devices.size(); ++i) {
        IconDevice& device = devices[i];
        const uint64_t offset = offsets[i - first];
        uint64_t at = sequential;
        if (std::ranges::binary_search(starts, offset) && !read.contains(offset))
            at = offset;
        if (!read.insert(at).second)
            continue;
        const auto next = std::ranges::upper_bound(starts, at);
        const uint64_t end = next == starts.end() ? file.size() : *next;
        ByteStream stream(file.first(static_cast<size_t>(end)));
        stream.seek(at);
        const uint64_t declared = static_cast<uint64_t>(std::max<int64_t>(device.bytesLeft, 0));
        const bool keep = readOneImage(stream, device, end == file.size() ? kModestBlockBytes : 0);
        const uint64_t consumed = stream.pos() - at;
        sequential = std::min<uint64_t>(file.size(), at + std::max(consumed, declared));
        device.bytesLeft = 0;
        if (keep) {
            if (kept != i)
                devices[kept] = std::move(device);
            ++kept;
        }
    }
    devices.erase(devices.begin() + static_cast<std::ptrdiff_t>(kept), devices.end());
}

}  // namespace

bool readIconBytes(ByteView data, IconEntry& entry)
{
    ByteStream stream(data);
    std::vector<uint32_t> offsets;
    readIconDirectory(stream, entry, kFileDirEntryBytes, 0, &offsets);
    readImagesAtOffsets(data, stream.pos(), entry, offsets);
    if (entry.devices.empty())
        return false;
    entry.sortDevices();
    return true;
}

bool readIconFile(IconEntry& entry, const std::string& path, const std::string& baseName)
{
    entry.clearEntry();
    // A folder of icon files is read through one buffer per thread; a large
    // file's memory is given back at once.
    thread_local FileBytes file;
    constexpr size_t kKeptBuffer = size_t{1} << 20;
    const bool read = file.open(path) && readIconBytes(file.bytes(), entry);
    if (file.size() > kKeptBuffer)
        file.close();
    if (!read)
        return false;
    entry.name = baseName;
    entry.source = path;
    return true;
}

void putDirectoryFields(uint8_t* e, const IconDevice& d, int64_t bytes)
{
    e[0] = uint8_t(d.width);  // 256 becomes 0
    e[1] = uint8_t(d.height);
    e[2] = (d.bitCount >= 1 && d.bitCount <= 8) ? uint8_t(1u << d.bitCount) : 0;
    e[3] = 0;
    putU16(e + 4, 1);
    putU16(e + 6, static_cast<uint16_t>(d.bitCount));
    putU32(e + 8, static_cast<uint32_t>(bytes < 0 ? d.allocatedBytes() : bytes));
}

std::optional<std::vector<ByteView>> iconFilePieces(const IconEntry& entry, std::vector<uint8_t>& header)
{
    const size_t count = entry.devices.size();
    if (count == 0 || count > 0xFFFF)
        return std::nullopt;
    std::vector<ByteView> pieces;
    pieces.reserve(count + 1);
    pieces.emplace_back();  // the header, filled below
    uint64_t total = 6 + 16 * count;
    for (const IconDevice& d : entry.devices) {
        if (!d.hasBlock())
            return std::nullopt;
        pieces.push_back(d.storedImage());
        total += pieces.back().size();
    }
    // Offsets and sizes are 32-bit fields.
    if (total > std::numeric_limits<uint32_t>::max())
        return std::nullopt;

    header.assign(6 + 16 * count, 0);
    uint8_t* p = header.data();
    putU16(p + 2, 1);  // always an icon, also for what was read from a cursor
    putU16(p + 4, static_cast<uint16_t>(count));
    uint32_t offset = static_cast<uint32_t>(header.size());
    uint8_t* e = p + 6;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t bytes = static_cast<uint32_t>(pieces[i + 1].size());
        putDirectoryFields(e, entry.devices[i], bytes);
        putU32(e + 12, offset);
        offset += bytes;
        e += 16;
    }
    pieces[0] = ByteView(header);
    return pieces;
}

std::optional<std::vector<uint8_t>> encodeIconFile(const IconEntry& entry)
{
    std::vector<uint8_t> header;
    const auto pieces = iconFilePieces(entry, header);
    if (!pieces)
        return std::nullopt;
    size_t total = 0;
    for (const ByteView piece : *pieces)
        total += piece.size();
    std::vector<uint8_t> out;
    out.reserve(total);
    for (const ByteView piece : *pieces)
        out.insert(out.end(), piece.begin(), piece.end());
    return out;
}

namespace {

std::string notEncodedReason(const IconEntry& entry)
{
    return entry.devices.empty() ? "the icon has no images" : "the icon does not fit the .ico format";
}

}  // namespace

WriteResult writeNewIconFile(const IconEntry& entry, const std::string& folder, const std::string& baseName, bool sync)
{
    std::vector<uint8_t> header;
    const auto pieces = iconFilePieces(entry, header);
    if (!pieces)
        return WriteResult::cannotStore(iconFilePath(folder, baseName, 0), notEncodedReason(entry));
    const auto pathFor = [&](int attempt) { return iconFilePath(folder, baseName, attempt); };
    return writeUnderFreeName(pathFor, *pieces, sync);
}

WriteResult writeIconFile(const IconEntry& entry, const std::string& path)
{
    const auto bytes = encodeIconFile(entry);
    if (!bytes)
        return WriteResult::cannotStore(path, notEncodedReason(entry));
    return writeWholeFile(path, *bytes);
}

}  // namespace sigil
