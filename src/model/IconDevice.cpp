#include "model/IconDevice.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "model/Palettes.h"
#include "model/TransientPixels.h"

namespace sigil {

namespace {

// Products of header-derived values saturate instead of overflowing; any
// saturated size is far above kMaxBlockBytes and so refused.
int64_t mulSat(int64_t a, int64_t b)
{
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max() / 4;
    if (a <= 0 || b <= 0)
        return 0;
    return a > kMax / b ? kMax : a * b;
}

bool isSupportedBitCount(int bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

IconDevice::IconDevice(IconDevice&& o) noexcept
{
    *this = std::move(o);
}

IconDevice& IconDevice::operator=(IconDevice&& o) noexcept
{
    if (this != &o) {
        copyFieldsFrom(o);
        adoptBlock(o);
    }
    return *this;
}

void IconDevice::copyFieldsFrom(const IconDevice& o)
{
    width = o.width;
    height = o.height;
    bitCount = o.bitCount;
    compression = o.compression;
    imageSize = o.imageSize;
    macFlag = o.macFlag;
    bytesLeft = o.bytesLeft;
}

void IconDevice::adoptBlock(IconDevice& o)
{
    block_ = std::move(o.block_);
    blockSize_ = o.blockSize_;
    png_ = std::move(o.png_);
    decodeOnce_ = std::move(o.decodeOnce_);
    o.blockSize_ = 0;
}

void IconDevice::dropPng()
{
    png_.reset();
    decodeOnce_.reset();
}

void IconDevice::reset()
{
    block_.reset();
    dropPng();
    blockSize_ = 0;
    width = height = bitCount = compression = imageSize = 0;
    macFlag = 0;
}

bool IconDevice::allocateBlock(int64_t bytes, bool zeroFill)
{
    block_.reset();
    dropPng();
    blockSize_ = 0;
    if (bytes < 0)
        bytes = blockBytes();
    if (bytes < kHeaderBytes || bytes > kMaxBlockBytes)
        return false;
    const size_t size = static_cast<size_t>(bytes);
    block_ = allocateImageBlock(size);
    if (!block_)
        return false;
    if (zeroFill)
        std::memset(block_.get(), 0, size);
    blockSize_ = bytes;
    return true;
}

const uint8_t* IconDevice::blockData() const
{
    ensurePixels();
    return block_.get();
}

uint8_t* IconDevice::blockData()
{
    ensurePixels();
    dropPng();
    return block_.get();
}

bool IconDevice::keepPng(ByteView png, int32_t w, int32_t h, PngDecoder decoder)
{
    reset();
    if (!decoder || w <= 0 || w > kMaxDimension || h <= 0 || h > kMaxDimension)
        return false;
    width = w;
    height = h;
    bitCount = 32;
    if (blockBytes() > kMaxBlockBytes) {
        reset();
        return false;
    }
    auto source = std::make_shared<PngSource>();
    source->data = allocateImageBlock(png.size());
    if (!source->data) {
        reset();
        return false;
    }
    if (!png.empty())
        std::memcpy(source->data.get(), png.data(), png.size());
    source->size = png.size();
    source->decode = decoder;
    blockSize_ = blockBytes();
    png_ = std::move(source);
    decodeOnce_ = std::make_unique<DecodeOnce>();
    return true;
}

ByteView IconDevice::pngData() const
{
    return png_ ? png_->bytes() : ByteView();
}

bool IconDevice::pixelsDecoded() const
{
    if (!png_)
        return block_ != nullptr;
    return decodeOnce_ && decodeOnce_->done.load(std::memory_order_acquire);
}

const IconDevice& transientPixels(const IconDevice& device, IconDevice& scratch)
{
    if (!device.keepsPng() || device.pixelsDecoded())
        return device;
    scratch.copyFrom(device);
    scratch.blockData();  // decoded, and a plain bitmap from now on
    return scratch;
}

void IconDevice::ensurePixels() const
{
    // Only a PNG image has the flag; call_once orders the block's making
    // before every later read on any thread.
    if (decodeOnce_) {
        std::call_once(decodeOnce_->flag, [this] {
            decodePng();
            decodeOnce_->done.store(true, std::memory_order_release);
        });
    }
}

void IconDevice::decodePng() const
{
    IconDevice decoded;
    if (!png_->decode(png_->bytes(), decoded) || decoded.width != width || decoded.height != height ||
        decoded.bitCount != 32 || decoded.compression != 0 || decoded.blockSize_ != blockSize_ || !decoded.block_)
        decoded.makeBlank(width, height, 32);
    block_ = std::move(decoded.block_);
}

void IconDevice::copyFrom(const IconDevice& other)
{
    if (this == &other)
        return;
    reset();
    copyFieldsFrom(other);
    if (other.png_) {
        // The copy shares the PNG data and takes the pixels if they exist.
        png_ = other.png_;
        blockSize_ = other.blockSize_;
        decodeOnce_ = std::make_unique<DecodeOnce>();
        if (other.pixelsDecoded() && other.block_) {
            block_ = allocateImageBlock(static_cast<size_t>(blockSize_));
            if (block_) {
                std::memcpy(block_.get(), other.block_.get(), static_cast<size_t>(blockSize_));
                std::call_once(decodeOnce_->flag, [this] { decodeOnce_->done.store(true); });
            }
        }
        return;
    }
    if (other.hasBlock() && allocate(other.blockSize_))
        std::memcpy(block_.get(), other.block_.get(), static_cast<size_t>(blockSize_));
}

IconDevice IconDevice::shape(int32_t w, int32_t h, int32_t bits)
{
    IconDevice d;
    d.width = w;
    d.height = h;
    d.bitCount = bits;
    return d;
}

int64_t IconDevice::colorTableBytes(int bits)
{
    return (bits >= 1 && bits <= 8) ? 4 * (int64_t{1} << bits) : 0;
}

int64_t IconDevice::rawRowBytes(int bits) const
{
    if (bits < 0)
        bits = bitCount;
    const int64_t w = width;
    switch (bits) {
    case 1:
        return ((w - 1) / 32) * 4 + 4;
    case 4:
        return w / 2 + w % 2;
    case 8:
        return w;
    case 16:
        return 2 * w;
    case 24:
        return 3 * w;
    case 32:
        return 4 * w;
    default:
        return 0;
    }
}

int64_t IconDevice::rowStride(int bits) const
{
    const int64_t raw = rawRowBytes(bits);
    return raw <= 0 ? raw : (raw + 3) / 4 * 4;
}

int64_t IconDevice::colorBitsBytes(int bits) const
{
    if (imageSize > 0)
        return imageSize;
    return mulSat(rowStride(bits), height);
}

int64_t IconDevice::maskStride() const
{
    return ((int64_t{width} - 1) / 32 + 1) * 4;
}

int64_t IconDevice::maskBytes() const
{
    return mulSat(maskStride(), height);
}

int64_t IconDevice::maskFieldBytes() const
{
    return compression == 3 ? 12 : 0;
}

int64_t IconDevice::dataBytes(int bits) const
{
    if (bits < 0)
        bits = bitCount;
    return colorTableBytes(bits) + maskFieldBytes() + colorBitsBytes(bits) + maskBytes();
}

int64_t IconDevice::blockBytes(int bits) const
{
    return kHeaderBytes + dataBytes(bits);
}

int IconDevice::setFromHeader(ByteView header, bool halveHeight, int64_t maxBlockBytes, bool zeroFill)
{
    reset();
    if (header.size() < size_t{kHeaderBytes} || getU32(&header[hdr::kSize]) != kHeaderBytes)
        return -1;
    const uint8_t* h = header.data();
    const uint32_t storedCompression = getU32(h + hdr::kCompression);
    const uint32_t storedImageSize = getU32(h + hdr::kImageSize);
    const int32_t storedHeight = getI32(h + hdr::kHeight);
    bitCount = getU16(h + hdr::kBitCount);
    width = getI32(h + hdr::kWidth);
    height = halveHeight ? storedHeight / 2 : storedHeight;

    // Refuse before allocating: unsupported kinds, and any size that would
    // let a lying header demand unbounded memory. A negative height (a
    // top-down image) has no meaning for an icon image.
    bool accepted = (storedCompression == 0 || storedCompression == 1 || storedCompression == 3) &&
                    isSupportedBitCount(bitCount) && width > 0 && width <= kMaxDimension && height > 0 &&
                    height <= kMaxDimension;
    if (accepted) {
        compression = static_cast<int32_t>(storedCompression);
        if (compression == 1 || compression == 2) {
            accepted = storedImageSize <= static_cast<uint32_t>(kMaxBlockBytes);
            imageSize = accepted ? static_cast<int32_t>(storedImageSize) : 0;
        }
    }
    if (!accepted || blockBytes() > std::min(maxBlockBytes, kMaxBlockBytes) || !allocateBlock(-1, zeroFill)) {
        reset();
        return -1;
    }
    std::memcpy(block_.get(), h, kHeaderBytes);
    uint8_t* b = block_.get();
    if (!halveHeight)
        putI32(b + hdr::kHeight, 2 * height);
    if (bitCount <= 8)
        putU32(b + hdr::kColorsUsed, uint32_t{1} << bitCount);
    putU32(b + hdr::kImageSize, static_cast<uint32_t>(colorBitsBytes() + maskBytes()));
    return kHeaderBytes;
}

void IconDevice::writeIconHeader(uint8_t* target)
{
    uint8_t* t = target ? target : blockData();
    if (!t)
        return;
    std::memset(t, 0, kHeaderBytes);
    putU32(t + hdr::kSize, kHeaderBytes);
    putI32(t + hdr::kWidth, width);
    putI32(t + hdr::kHeight, 2 * height);
    putU16(t + hdr::kPlanes, 1);
    putU16(t + hdr::kBitCount, static_cast<uint16_t>(bitCount));
    if (bitCount >= 1 && bitCount <= 8)
        putU32(t + hdr::kColorsUsed, uint32_t{1} << bitCount);
    putU32(t + hdr::kImageSize, static_cast<uint32_t>(colorBitsBytes() + maskBytes()));
}

bool IconDevice::makeBlank(int32_t w, int32_t h, int32_t bits)
{
    reset();
    if (w <= 0 || w > kMaxDimension || h <= 0 || h > kMaxDimension || !isSupportedBitCount(bits))
        return false;
    width = w;
    height = h;
    bitCount = bits;
    // Every byte is written below.
    if (blockBytes() > kMaxBlockBytes || !allocateBlock(-1, false)) {
        reset();
        return false;
    }
    uint8_t* b = block_.get();
    writeIconHeader(b);
    uint8_t* table = b + kHeaderBytes;
    writeStandardPalette(bits, table);
    uint8_t* pixels = table + colorTableBytes(bits);
    // 4- and 8-bit pixels point at the palette's last entry, which is black.
    std::memset(pixels, (bits == 4 || bits == 8) ? 0xFF : 0x00, static_cast<size_t>(colorBitsBytes()));
    std::memset(pixels + colorBitsBytes(), 0xFF, static_cast<size_t>(maskBytes()));
    return true;
}

bool IconDevice::sameDevice(const IconDevice& other) const
{
    if (width != other.width || height != other.height || bitCount != other.bitCount)
        return false;
    if (blockSize_ > other.blockSize_)
        return false;
    // The same PNG data decodes to the same pixels; other data may too.
    if (png_ && other.png_ && (png_ == other.png_ || std::ranges::equal(png_->bytes(), other.png_->bytes())))
        return true;
    return blockSize_ == 0 || std::memcmp(blockData(), other.blockData(), static_cast<size_t>(blockSize_)) == 0;
}

}  // namespace sigil
