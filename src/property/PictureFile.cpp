#include "property/PictureFile.h"

#include <atomic>

#include "imaging/BitmapImport.h"
#include "imaging/PictureImport.h"
#include "platform/FileBytes.h"
#include "platform/StringTable.h"

namespace sigil {

std::string pictureFileFilter()
{
    return (loadString(str::PictureFilter) + loadString(str::BitmapFilter)).toStdString();
}

PictureRead readPictureFile(IconDevice& device, const std::string& path, bool applyTransparency,
                            const DisplaySettings& settings)
{
    device.reset();
    FileBytes file;
    if (!file.open(path))
        return PictureRead::Unreadable;
    const ByteView bytes = file.bytes();
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M')
        return loadBitmapBytes(device, bytes, applyTransparency, settings) ? PictureRead::Read
                                                                           : PictureRead::Unreadable;
    if (loadPngPictureBytes(device, bytes, kPictureMaxSide, kPictureMaxSide))
        return PictureRead::Read;
    std::atomic<bool> gif{false};
    if (loadPictureBytes(device, bytes, kPictureMaxSide, kPictureMaxSide, gif))
        return PictureRead::Read;
    device.reset();
    return gif ? PictureRead::GifRefused : PictureRead::Unreadable;
}

}  // namespace sigil
