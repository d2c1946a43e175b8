#pragma once
// Mac icon files: plain .icns files, and MacBinary files (a 128-byte
// header, the data fork, then the resource fork) whose resource fork holds
// either an 'icns' icon family or the classic icon resources ('ICN#',
// 'icl8', ...). One family becomes one icon; every element becomes one
// device: the classic elements, the 24-bit run-length ones with their 8-bit
// masks, and the picture elements ('icp4' to 'ic14', PNG or JPEG 2000) at
// their pixel size.

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/DisplaySettings.h"
#include "model/IconEntry.h"
#include "platform/ByteStream.h"

namespace sigil {

// Size bits of the MacFilter setting: which element sizes are read.
constexpr int kMacSize16x12 = 0x100;
constexpr int kMacSize16x16 = 0x200;
constexpr int kMacSize32x32 = 0x400;
constexpr int kMacSize48x48 = 0x800;
constexpr int kMacSize128x128 = 0x1000;
// Depth bits of MacFilter: which devices are kept after the masks are used.
constexpr int kMacKeep1Bit = 0x1;
constexpr int kMacKeep4Bit = 0x2;
constexpr int kMacKeep8Bit = 0x4;
constexpr int kMacKeep32Bit = 0x8;

// Makes `device` an empty (zero-filled) device of the element's size and
// depth, its macFlag set for the mask elements ('#' and '8mk' types). The
// type is compared without regard to case. False for a type that is not an
// icon element, or whose size bit is off in `macFilter`.
bool setupMacElement(IconDevice& device, std::string_view type, int macFilter);

// Reads an element's data into a device set up by setupMacElement. `length`
// is the element's stated data length (0 when unknown, as for classic
// resources); it tells uncompressed 32-bit elements from run-length ones.
// Data cut short leaves the missing pixels zero. Answers the bytes used;
// 0 when nothing could be read.
size_t readMacElement(IconDevice& device, ByteStream& data, uint64_t length);

// Fills an empty icon from the bytes of a plain icns file, or of a MacBinary
// file whose Mac file type is in settings.macFileTypes (empty: any) and
// whose resource fork yields at least one element. Devices are sorted, the Mac masks turned
// into AND masks and alpha channels, and the depths that settings.macFilter
// leaves out are removed (which may leave none). `name` is the file name
// without folder and extension; "Icon_" (a folder's custom icon) takes the
// folder's name. A raised `stop` drops what was read and answers false.
bool loadMacIconBytes(IconEntry& icon, ByteView data, const std::string& path, const std::string& name,
                      const DisplaySettings& settings, const std::atomic<bool>* stop = nullptr);

// The same on a file; false also when the file cannot be opened.
bool loadMacIcons(IconEntry& icon, const std::string& path, const std::string& name, const DisplaySettings& settings,
                  const std::atomic<bool>* stop = nullptr);

}  // namespace sigil
