#include "cli/ThumbnailCommand.h"

#include <charconv>
#include <ostream>

#include "cli/SigilCommands.h"
#include "formats/FirstIcon.h"
#include "imaging/PngCodec.h"
#include "platform/SafeFileWriter.h"

namespace sigil {

int thumbnailCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    int size = 0;
    if (args.size() == 3) {
        const std::string& text = args[2];
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
        if (error != std::errc() || end != text.data() + text.size())
            size = 0;
    }
    if (size < 1 || size > kMaxThumbnailSize) {
        err << "usage: sigil thumbnail INPUT OUTPUT.png SIZE (SIZE from 1 to " << kMaxThumbnailSize << ")\n";
        return kExitUsage;
    }
    const auto icon = readFirstIcon(args[0]);
    const RgbaImage image = icon ? iconImage(*icon, size) : RgbaImage{};
    if (image.empty()) {
        err << "sigil: " << args[0] << ": no icon to show\n";
        return kExitFailed;
    }
    const std::vector<uint8_t> png = encodePng(image);
    if (png.empty()) {
        err << "sigil: " << args[1] << ": cannot be encoded\n";
        return kExitFailed;
    }
    // Written as every file of the program is ("-": standard output).
    SafeFileWriter file = args[1] == "-" ? SafeFileWriter(out) : SafeFileWriter(args[1]);
    if (const WriteResult written = writeWhole(file, png); !written.ok()) {
        printWriteFailure(err, written);
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace sigil
