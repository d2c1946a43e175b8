#pragma once
// SVG documents drawn at any size by librsvg, the renderer that Linux
// desktops draw their icon themes with (gradients, masks, filters). The
// library is loaded when the first SVG is met, not when the program starts:
// linked, it would cost every run of `sigil` tens of milliseconds.

#include <memory>
#include <string>

#include "imaging/RgbaImage.h"
#include "platform/Bytes.h"

namespace sigil {

// Bounds on what one document may ask for: the bytes of the file (an icon's
// SVG is some kilobytes; one with pictures inside, a few megabytes), and
// the side of one rendering.
constexpr size_t kMaxSvgBytes = size_t{16} << 20;
constexpr int kMaxSvgSide = 4096;

// Whether the bytes look like an SVG document: XML whose first element is
// <svg>, after any declaration, comments and doctype, or gzip data (.svgz).
bool looksLikeSvg(ByteView data);

class SvgImage {
public:
    ~SvgImage();
    SvgImage(const SvgImage&) = delete;
    SvgImage& operator=(const SvgImage&) = delete;

    // The document parsed; null with `reason` (a few words) when it is
    // larger than kMaxSvgBytes, librsvg cannot be loaded, or the document
    // is refused. Nothing outside the bytes is read: references to other
    // files are not followed.
    static std::unique_ptr<SvgImage> parse(ByteView data, std::string& reason);

    // The document drawn into a width x height picture, fitted with its
    // proportions kept and centred, straight alpha. Empty when a side is
    // out of 1 to kMaxSvgSide or the rendering fails.
    RgbaImage render(int width, int height) const;

private:
    explicit SvgImage(void* handle) : handle_(handle) {}
    void* handle_;  // RsvgHandle
};

// Whether librsvg can be loaded (it is looked for once).
bool svgRendererAvailable();

}  // namespace sigil
