#pragma once
// .ico and .cur files, the directory step that the animated cursor and NE
// library readers share with them, and the image step of those two, which
// read their images one after another.

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/IconEntry.h"
#include "platform/ByteStream.h"
#include "platform/WriteResult.h"

namespace sigil {

constexpr int kFileDirEntryBytes = 16;   // .ico / .cur directory entry
constexpr int kGroupDirEntryBytes = 14;  // group directory entry in a module

// A truncated image keeps its device, the missing bytes zero. So that a
// few header bytes cannot make us hold hundreds of megabytes of zeros, an
// image may lack at most as many bytes as arrived, plus a little: the
// largest block accepted for an image with `available` bytes after its
// header.
constexpr uint64_t kTruncationSlack = 4096;
int64_t truncatedBlockLimit(uint64_t available);
// An image cut short by the end of a file (a download or copy that stopped)
// keeps its device up to this block size however little of it arrived: only
// the last image read from a stream can be cut short that way, so the zeros
// are bounded per file.
constexpr int64_t kModestBlockBytes = int64_t{1} << 20;

// The first 12 bytes of a directory entry describing `device` (width,
// height, colour count, reserved, planes, bit count, byte count), alike in
// .ico files and in the group directories of icon libraries. The byte count
// is `bytes`, or the block's size when negative.
void putDirectoryFields(uint8_t* entry, const IconDevice& device, int64_t bytes = -1);

// Directory step: aligns (alignment 0: none), reads the 6-byte header and
// its entries, and appends one empty device per entry with bytesLeft set
// from the entry. Answers the header's count. `offsets`, when given,
// receives the image offset of each 16-byte entry read.
int readIconDirectory(ByteStream& stream, IconEntry& entry, int entryBytes, uint32_t alignment,
                      std::vector<uint32_t>* offsets = nullptr);

// Image step: fills, in order, the devices that the directory step left
// empty; a device whose image is refused is removed. False when `stop` was
// raised before the last image was read (the entry is then half-filled and
// must be discarded). `cutShortKeep` is the block size an image cut short
// by the end of the stream keeps however little of it arrived: pass 0 when
// the stream ends before the file does.
bool readIconImages(ByteStream& stream, IconEntry& entry, uint32_t alignment, const std::atomic<bool>* stop = nullptr,
                    int64_t cutShortKeep = kModestBlockBytes);

// Reads a whole icon file held in memory into `entry` (devices sorted, name
// and source left alone): each image where its entry's offset points, or,
// when no image starts there, where the image before it ended. True when at
// least one image was read.
bool readIconBytes(ByteView data, IconEntry& entry);

bool readIconFile(IconEntry& entry, const std::string& path, const std::string& baseName);

// The .ico file of an entry: header, entries and images (the block, or the
// PNG data of an unchanged PNG image). Nothing when the entry has no devices
// or does not fit the format's fields.
std::optional<std::vector<uint8_t>> encodeIconFile(const IconEntry& entry);
// The same file as pieces to write one after another: the header with its
// entries, then each device's stored image, viewed where it lies (valid
// while the entry is unchanged).
std::optional<std::vector<ByteView>> iconFilePieces(const IconEntry& entry, std::vector<uint8_t>& header);

// Writes the icon as a new .ico file in `folder`: baseName.ico, or where
// anything stands already baseName_1.ico, baseName_2.ico and so on. Each name
// is claimed by creating its file exclusively, so nothing that stands there
// or appears meanwhile is touched, and a failed write leaves no file. With
// `sync` the file is on disk before the answer. An icon the format cannot
// hold is refused (CannotStore) under the first name.
WriteResult writeNewIconFile(const IconEntry& entry, const std::string& folder, const std::string& baseName, bool sync);

// Writes through a temporary file, so a failure leaves any old file intact.
WriteResult writeIconFile(const IconEntry& entry, const std::string& path);

}  // namespace sigil
