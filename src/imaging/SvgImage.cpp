#include "imaging/SvgImage.h"

#include <cairo.h>
#include <dlfcn.h>
#include <librsvg/rsvg.h>

#include <algorithm>
#include <cstring>

namespace sigil {

namespace {

// librsvg and the cairo and GLib calls made on its objects, looked up in
// the library and the libraries it brings (their declarations from the
// headers, so the compiler checks every call).
struct Rsvg {
    decltype(&rsvg_handle_new_from_data) newFromData = nullptr;
    decltype(&rsvg_handle_render_document) renderDocument = nullptr;
    decltype(&cairo_image_surface_create) surfaceCreate = nullptr;
    decltype(&cairo_surface_status) surfaceStatus = nullptr;
    decltype(&cairo_surface_flush) surfaceFlush = nullptr;
    decltype(&cairo_image_surface_get_data) surfaceData = nullptr;
    decltype(&cairo_image_surface_get_stride) surfaceStride = nullptr;
    decltype(&cairo_surface_destroy) surfaceDestroy = nullptr;
    decltype(&cairo_create) create = nullptr;
    decltype(&cairo_destroy) destroy = nullptr;
    decltype(&g_object_unref) unref = nullptr;
    decltype(&g_error_free) errorFree = nullptr;
    bool loaded = false;
};

template <typename F> bool lookUp(void* library, const char* name, F& into)
{
    into = reinterpret_cast<F>(dlsym(library, name));
    return into != nullptr;
}

// Loaded once, on the first SVG; never unloaded (GLib's types stay
// registered for the life of the process).
const Rsvg& rsvg()
{
    static const Rsvg loaded = [] {
        Rsvg r;
        void* library = dlopen("librsvg-2.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return r;
        r.loaded = lookUp(library, "rsvg_handle_new_from_data", r.newFromData) &&
                   lookUp(library, "rsvg_handle_render_document", r.renderDocument) &&
                   lookUp(library, "cairo_image_surface_create", r.surfaceCreate) &&
                   lookUp(library, "cairo_surface_status", r.surfaceStatus) &&
                   lookUp(library, "cairo_surface_flush", r.surfaceFlush) &&
                   lookUp(library, "cairo_image_surface_get_data", r.surfaceData) &&
                   lookUp(library, "cairo_image_surface_get_stride", r.surfaceStride) &&
                   lookUp(library, "cairo_surface_destroy", r.surfaceDestroy) &&
                   lookUp(library, "cairo_create", r.create) && lookUp(library, "cairo_destroy", r.destroy) &&
                   lookUp(library, "g_object_unref", r.unref) && lookUp(library, "g_error_free", r.errorFree);
        return r;
    }();
    return loaded;
}

bool startsWith(ByteView data, size_t at, const char* text)
{
    const size_t n = std::strlen(text);
    return at <= data.size() && data.size() - at >= n && std::memcmp(data.data() + at, text, n) == 0;
}

}  // namespace

bool looksLikeSvg(ByteView data)
{
    // The first element decides; what comes before it (declaration,
    // comments, doctype) starts with "<?" or "<!". A document whose first
    // element has not begun within 64 KB is not taken for one.
    const size_t end = std::min<size_t>(data.size(), size_t{64} << 10);
    for (size_t i = 0; i < end; ++i) {
        if (data[i] != '<')
            continue;
        if (startsWith(data, i + 1, "?") || startsWith(data, i + 1, "!"))
            continue;
        return startsWith(data, i + 1, "svg") || startsWith(data, i + 1, "svg:svg");
    }
    return false;
}

bool svgRendererAvailable()
{
    return rsvg().loaded;
}

SvgImage::~SvgImage()
{
    rsvg().unref(handle_);
}

std::unique_ptr<SvgImage> SvgImage::parse(ByteView data, std::string& reason)
{
    if (data.size() > kMaxSvgBytes) {
        reason = "the SVG file is larger than " + std::to_string(kMaxSvgBytes >> 20) + " MB";
        return nullptr;
    }
    const Rsvg& r = rsvg();
    if (!r.loaded) {
        reason = "SVG files need librsvg (librsvg-2.so.2), which is not installed";
        return nullptr;
    }
    // Without a base file, references to other files are refused, and the
    // library's own limits on the XML (nesting, elements) stay in force.
    GError* error = nullptr;
    RsvgHandle* handle = r.newFromData(data.data(), data.size(), &error);
    if (!handle) {
        reason = "not a readable SVG document";
        if (error && error->message)
            reason += std::string(": ") + error->message;
        if (error)
            r.errorFree(error);
        return nullptr;
    }
    if (error)
        r.errorFree(error);
    return std::unique_ptr<SvgImage>(new SvgImage(handle));
}

RgbaImage SvgImage::render(int width, int height) const
{
    if (width < 1 || height < 1 || width > kMaxSvgSide || height > kMaxSvgSide)
        return {};
    const Rsvg& r = rsvg();
    cairo_surface_t* surface = r.surfaceCreate(CAIRO_FORMAT_ARGB32, width, height);
    if (r.surfaceStatus(surface) != CAIRO_STATUS_SUCCESS) {
        r.surfaceDestroy(surface);
        return {};
    }
    cairo_t* cr = r.create(surface);
    const RsvgRectangle viewport{0, 0, double(width), double(height)};
    GError* error = nullptr;
    const bool drawn = r.renderDocument(static_cast<RsvgHandle*>(handle_), cr, &viewport, &error);
    if (error)
        r.errorFree(error);
    r.destroy(cr);
    r.surfaceFlush(surface);
    RgbaImage image;
    const uint8_t* data = r.surfaceData(surface);
    if (drawn && data) {
        image.width = width;
        image.height = height;
        image.stride = int64_t{width} * 4;
        image.bytes.resize(size_t(width) * size_t(height) * 4);
        const int stride = r.surfaceStride(surface);
        // Cairo keeps premultiplied ARGB in native 32-bit words; the
        // division rounds as cairo's own PNG writer does, so a rendering
        // matches rsvg-convert's file.
        for (int y = 0; y < height; ++y) {
            const auto* in = reinterpret_cast<const uint32_t*>(data + int64_t(y) * stride);
            uint8_t* out = image.bytes.data() + int64_t(y) * image.stride;
            for (int x = 0; x < width; ++x, out += 4) {
                const uint32_t p = in[x];
                const uint32_t a = p >> 24;
                if (a == 0) {
                    out[0] = out[1] = out[2] = out[3] = 0;
                    continue;
                }
                const auto straight = [a](uint32_t c) {
                    return uint8_t(std::min<uint32_t>(255, (c * 255 + a / 2) / a));
                };
                out[0] = straight(p >> 16 & 0xFF);
                out[1] = straight(p >> 8 & 0xFF);
                out[2] = straight(p & 0xFF);
                out[3] = uint8_t(a);
            }
        }
    }
    r.surfaceDestroy(surface);
    return image;
}

}  // namespace sigil
