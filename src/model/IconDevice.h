#pragma once
// One image of an icon: one size at one colour depth, kept as one packed
// block in the layout that icon files and icon resources store:
//   40-byte bitmap information header (height doubled: colour + mask rows)
//   three uint32 colour masks, only when compression is 3
//   colour table, 2^bitCount entries of 4 bytes for 1 to 8 bits
//   colour bits, bottom row first, rows padded to 4 bytes
//   AND mask, 1 bit per pixel, bottom row first, rows padded to 4 bytes
// Reading, writing and comparing an image are plain copies of this block.

#include <QImage>
#include <cstdint>
#include <memory>

#include "model/DisplaySettings.h"
#include "platform/Bytes.h"

namespace sigil {

enum class DisplayMode { Image, Normal, Mask };

constexpr int kHeaderBytes = 40;
// Limits that keep a lying header from demanding unbounded memory.
constexpr int32_t kMaxDimension = 65535;
constexpr int64_t kMaxBlockBytes = int64_t{256} << 20;

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
    bool allocate(int64_t bytes = -1);
    // The block is a plain heap buffer; lock() gives its address and is the
    // only way at the bytes for code that follows the lock/unlock protocol.
    uint8_t* lock();
    void unlock() { locked_ = nullptr; }
    bool isLocked() const { return locked_ != nullptr; }
    bool hasBlock() const { return block_ != nullptr; }
    int64_t allocatedBytes() const { return blockSize_; }
    const uint8_t* blockData() const { return block_.get(); }
    uint8_t* blockData() { return block_.get(); }
    ByteView blockView() const { return {block_.get(), static_cast<size_t>(blockSize_)}; }

    void copyFrom(const IconDevice& other);

    // Builds the device from a stored image header (at least 40 bytes).
    // Answers 40, or -1 when the header is refused. The caller copies the
    // data bytes to block offset 40. A block above `maxBlockBytes` is
    // refused like an unsupported header.
    int setFromHeader(ByteView header, bool halveHeight, int64_t maxBlockBytes = kMaxBlockBytes);
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

    // A displayable image at cx x cy (negative: the device's own size), or a
    // null image when the block cannot be drawn.
    QImage makeDisplayIcon(DisplayMode mode, Color background, const DisplaySettings& settings, int cx = -1,
                           int cy = -1) const;

    // Same size and depth, and the block bytes equal over this device's block.
    bool sameDevice(const IconDevice& other) const;

private:
    void copyFieldsFrom(const IconDevice& other);
    // Takes over the other device's block, leaving it without one.
    void adoptBlock(IconDevice& other);

    std::unique_ptr<uint8_t[]> block_;
    int64_t blockSize_ = 0;
    uint8_t* locked_ = nullptr;
};

}  // namespace sigil
