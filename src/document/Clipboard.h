#pragma once
// Devices on the clipboard as bitmaps. Copying offers the bitmap-file form
// ("image/bmp", which keeps depth and palette), PNG and an image for
// programs that only take images; pasting prefers a bitmap form, then PNG
// (with its alpha), then the clipboard's image.

#include <QImage>
#include <QMimeData>
#include <memory>

#include "model/DisplaySettings.h"
#include "model/IconDevice.h"
#include "platform/Bytes.h"

namespace sigil {

// The bitmap-file form, and the raw form in which Qt on Windows hands over
// the system's device-independent bitmaps.
extern const char* const kBmpMimeType;
extern const char* const kPngMimeType;
extern const char* const kWindowsDibMimeType;

// The clipboard contents for a device's image or mask; null when the
// device cannot be copied.
std::unique_ptr<QMimeData> deviceMimeData(const IconDevice& device, bool asMask);

// The clipboard contents for a rendered picture: the bitmap-file form of
// its pixels (a 40-byte header, rows bottom-up), PNG and the image itself;
// null for a null image or when no form could be made.
std::unique_ptr<QMimeData> imageMimeData(const QImage& image);

// Fills the (emptied) device from clipboard contents: an opaque AND mask,
// 32-bit pixels with alpha 0 transparent, then normalize. False, device
// empty, when nothing there can be read.
bool deviceFromMimeData(const QMimeData* data, IconDevice& device, bool applyTransparency,
                        const DisplaySettings& settings);

// Raw bitmap bytes without file header are read by pasteDib (imaging/Dib.h).

// Whether the contents hold something deviceFromMimeData may read: a
// device-independent bitmap, a bitmap file or an image.
bool offersBitmap(const QMimeData* data);

// The system clipboard; a QGuiApplication must exist.
bool copyToClipboard(const IconDevice& device, bool asMask);
// Replaces the clipboard's contents with the picture; false, the clipboard
// unchanged, when it cannot be offered.
bool copyImageToClipboard(const QImage& image);
bool pasteFromClipboard(IconDevice& device, bool applyTransparency, const DisplaySettings& settings);

}  // namespace sigil
