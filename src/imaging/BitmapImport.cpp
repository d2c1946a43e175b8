#include "imaging/BitmapImport.h"

#include "imaging/Conversions.h"
#include "imaging/Dib.h"
#include "platform/FileBytes.h"

namespace sigil {

bool loadBitmapBytes(IconDevice& device, ByteView file, bool applyTransparency, const DisplaySettings& settings)
{
    device.reset();
    if (file.size() < size_t{kFileHeaderBytes} || file[0] != 'B' || file[1] != 'M')
        return false;
    // The pixel offset counts from the file's start; the bitmap reader
    // counts from the info header. Offsets inside the headers (writers that
    // leave it 0) mean the rows follow the colour table.
    const int64_t pixelOffset = int64_t{getU32(file.data() + 10)} - kFileHeaderBytes;
    if (!readDib(file.subspan(kFileHeaderBytes), device, pixelOffset))
        return false;
    // The reader accepts only pixels that normalize can expand, so this
    // fails only when memory runs short; no half-made device is kept.
    if (!normalize(device, applyTransparency, settings)) {
        device.reset();
        return false;
    }
    return true;
}

bool loadBitmapFile(IconDevice& device, const std::string& path, bool applyTransparency,
                    const DisplaySettings& settings)
{
    device.reset();
    FileBytes file;
    if (!file.open(path))
        return false;
    return loadBitmapBytes(device, file.bytes(), applyTransparency, settings);
}

bool readBitmapIcon(IconEntry& entry, const std::string& path, const std::string& baseName,
                    const DisplaySettings& settings)
{
    entry.clearEntry();
    IconDevice device;
    if (!loadBitmapFile(device, path, true, settings))
        return false;
    entry.devices.push_back(std::move(device));
    entry.name = baseName;
    entry.source = path;
    return true;
}

}  // namespace sigil
