#pragma once
// One image of an icon: one size at one colour depth, kept as one packed
// block in the layout that icon files and icon resources store:
//   40-byte bitmap information header (height doubled: colour + mask rows)
//   three uint32 colour masks, only when compression is 3
//   colour table, 2^bitCount entries of 4 bytes for 1 to 8 bits
//   colour bits, bottom row first, rows padded to 4 bytes
//   AND mask, 1 bit per pixel, bottom row first, rows padded to 4 bytes
// Reading, writing and comparing an image are plain copies of this block.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "model/DisplaySettings.h"
#include "platform/Bytes.h"
#include "platform/ImageMemory.h"

namespace sigil {

constexpr int kHeaderBytes = 40;
// Field offsets of that 40-byte bitmap information header.
namespace hdr {
constexpr int kSize = 0, kWidth = 4, kHeight = 8, kPlanes = 12, kBitCount = 14, kCompression = 16, kImageSize = 20,
              kColorsUsed = 32;
}  // namespace hdr
// Limits that keep a lying header from demanding unbounded memory.
constexpr int32_t kMaxDimension = 65535;
constexpr int64_t kMaxBlockBytes = int64_t{256} << 20;

class IconDevice;
// Decodes PNG data into a 32-bit device of the PNG's size; false when the
// data cannot be decoded. The formats layer supplies it.
using PngDecoder = bool (*)(ByteView png, IconDevice& device);

class IconDevice {
public:
    IconDevice() = default;
    ~IconDevice() = default;
    IconDevice(IconDevice&&) noexcept;
    IconDevice& operator=(IconDevice&&) noexcept;
    IconDevice(const IconDevice&) = delete;
    IconDevice& operator=(const IconDevice&) = delete;

    int32_t width = 0;
    int32_t height = 0;  // one image's height: half the header's height
    int32_t bitCount = 0;
    int32_t compression = 0;  // 0 RGB, 1 RLE8, 2 RLE4, 3 bit fields
    int32_t imageSize = 0;    // stored colour-bits size of compressed images; <= 0: computed
    uint8_t macFlag = 0;
    int64_t bytesLeft = 0;  // readers' count of unread bytes of the stored record

    // Releases the block and clears the image fields (not bytesLeft).
    void reset();
    // A zero-filled block of `bytes` bytes (negative: blockBytes()); any old
    // block is released first. False when the size is out of bounds or memory
    // is short.
    bool allocate(int64_t bytes = -1) { return allocateBlock(bytes, true); }
    // The block is a plain buffer (platform/ImageMemory). Writable access
    // (non-const blockData) means the image may change: a device kept as PNG
    // data is decoded and becomes a plain bitmap.
    bool hasBlock() const { return block_ != nullptr || png_ != nullptr; }
    int64_t allocatedBytes() const { return blockSize_; }
    const uint8_t* blockData() const;
    uint8_t* blockData();
    ByteView blockView() const { return {blockData(), static_cast<size_t>(blockSize_)}; }

    // An image stored as PNG stays compressed: width and height come from the
    // PNG header and the 32-bit block is decoded by `decoder` when its bytes
    // are first read (from any thread; decoding happens once). Data that
    // then fails to decode gives a black, wholly transparent image.
    // The data is copied.
    bool keepPng(ByteView png, int32_t w, int32_t h, PngDecoder decoder);
    // The PNG data kept for an unchanged image (empty for a bitmap).
    bool keepsPng() const { return png_ != nullptr; }
    ByteView pngData() const;
    // Whether the block exists (false only for a PNG image not yet read).
    bool pixelsDecoded() const;
    // The image as an .ico file stores it: the PNG data of an unchanged PNG
    // image, the block otherwise.
    ByteView storedImage() const { return keepsPng() ? pngData() : blockView(); }

    void copyFrom(const IconDevice& other);

    // Builds the device from a stored image header (at least 40 bytes).
    // Answers 40, or -1 when the header is refused. The caller copies the
    // data bytes to block offset 40. A block above `maxBlockBytes` is
    // refused like an unsupported header. Without `zeroFill` the data bytes
    // are left as they come: the caller writes every one of them.
    int setFromHeader(ByteView header, bool halveHeight, int64_t maxBlockBytes = kMaxBlockBytes, bool zeroFill = true);
    // Writes a fresh 40-byte header describing the device (null: own block).
    void writeIconHeader(uint8_t* target = nullptr);

    // A device without a block, for the size rules of an image of that shape.
    static IconDevice shape(int32_t w, int32_t h, int32_t bits);

    // Size rules; a negative bit count means the device's own.
    static int64_t colorTableBytes(int bits);
    int64_t rawRowBytes(int bits = -1) const;
    int64_t rowStride(int bits = -1) const;
    int64_t colorBitsBytes(int bits = -1) const;
    int64_t maskBytes() const;
    int64_t maskStride() const;
    int64_t maskFieldBytes() const;
    int64_t dataBytes(int bits = -1) const;
    int64_t blockBytes(int bits = -1) const;

    // Makes a blank device: black, wholly transparent, standard palette.
    bool makeBlank(int32_t w, int32_t h, int32_t bits);

    // Turns bit-field and RLE8 colour bits into plain pixels. False (nothing
    // changed) when the device cannot be expanded.
    bool expandPixels();

    // Same size and depth, and the block bytes equal over this device's block.
    bool sameDevice(const IconDevice& other) const;

private:
    struct PngSource {
        ImageBlock data;
        size_t size = 0;
        PngDecoder decode = nullptr;
        ByteView bytes() const { return {data.get(), size}; }
    };
    struct DecodeOnce {
        std::once_flag flag;
        std::atomic<bool> done{false};
    };

    void copyFieldsFrom(const IconDevice& other);
    // allocate(), leaving the bytes as they come when the caller writes
    // every one of them.
    bool allocateBlock(int64_t bytes, bool zeroFill);
    // Takes over the other device's block, leaving it without one.
    void adoptBlock(IconDevice& other);
    // The branches of expandPixels: 32-bit bit fields lose their masks,
    // other bit-field depths become 24-bit, RLE8 is decoded.
    bool dropBitFieldMasks();
    bool expandBitFieldsTo24();
    bool expandRle8();
    // Makes the block of a PNG image if it is not there yet.
    void ensurePixels() const;
    void decodePng() const;
    // Forgets the PNG data: the block alone is the image from now on.
    void dropPng();

    // Filled once by ensurePixels() for a PNG image, hence mutable.
    mutable ImageBlock block_;
    int64_t blockSize_ = 0;
    // The PNG data, shared by copies; immutable once made.
    std::shared_ptr<const PngSource> png_;
    std::unique_ptr<DecodeOnce> decodeOnce_;
};

}  // namespace sigil
