#include "cli/MakeCommand.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <ostream>

#include "cli/SigilCommands.h"
#include "formats/IconMaker.h"
#include "platform/SafeFileWriter.h"

namespace sigil {

namespace {

constexpr const char* kMakeUsage = "usage: sigil make INPUT... -o OUT.ico|OUT.icns [--sizes LIST] [--png-all]\n";

struct MakeArgs {
    std::vector<std::string> inputs;
    std::string output;
    std::string sizes;  // as given; empty: the format's default
    bool pngAll = false;
};

std::optional<MakeArgs> parseArgs(const std::vector<std::string>& args)
{
    MakeArgs parsed;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-o" || a == "--sizes") {
            if (i + 1 >= args.size() || args[i + 1].empty())
                return std::nullopt;
            (a == "-o" ? parsed.output : parsed.sizes) = args[++i];
        } else if (a == "--png-all") {
            parsed.pngAll = true;
        } else {
            parsed.inputs.push_back(a);
        }
    }
    if (parsed.inputs.empty() || parsed.output.empty())
        return std::nullopt;
    return parsed;
}

// "16,32,48" (blanks allowed around the numbers) in ascending order, each
// once; false with `bad` the first entry that is not a whole number.
bool parseSizes(const std::string& list, std::vector<int>& sizes, std::string& bad)
{
    size_t start = 0;
    while (start <= list.size()) {
        const size_t end = std::min(list.find(',', start), list.size());
        std::string entry = list.substr(start, end - start);
        entry.erase(0, entry.find_first_not_of(' '));
        entry.erase(entry.find_last_not_of(' ') + 1);
        int size = 0;
        const auto [at, error] = std::from_chars(entry.data(), entry.data() + entry.size(), size);
        if (entry.empty() || error != std::errc() || at != entry.data() + entry.size()) {
            bad = entry;
            return false;
        }
        sizes.push_back(size);
        start = end + 1;
    }
    std::ranges::sort(sizes);
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    return true;
}

}  // namespace

int makeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const std::optional<MakeArgs> parsed = parseArgs(args);
    if (!parsed) {
        err << kMakeUsage;
        return kExitUsage;
    }
    const std::string& target = parsed->output;
    const std::optional<MadeFormat> format = madeFormatOf(target);
    if (!format) {
        err << "sigil: " << target << ": the output must be named .ico or .icns\n";
        return kExitUsage;
    }
    std::vector<int> sizes;
    if (parsed->sizes.empty()) {
        sizes = defaultMadeSizes(*format);
    } else if (std::string bad; !parseSizes(parsed->sizes, sizes, bad)) {
        err << "sigil: --sizes: \"" << bad << "\" is not a size in pixels\n";
        return kExitUsage;
    }
    for (const int size : sizes) {
        if (!formatHoldsSize(*format, size)) {
            err << "sigil: " << target << ": an " << (*format == MadeFormat::Ico ? ".ico" : ".icns")
                << " file cannot hold " << size << " x " << size
                << (*format == MadeFormat::Ico ? " (sizes 1 to 256)\n"
                                               : " (sizes 16, 32, 48, 64, 128, 256, 512 and 1024)\n");
            return kExitFailed;
        }
    }

    std::vector<MakeInput> inputs(parsed->inputs.size());
    bool allRead = true;
    for (size_t i = 0; i < inputs.size(); ++i) {
        std::string reason;
        if (!readMakeInput(parsed->inputs[i], inputs[i], reason)) {
            err << "sigil: " << parsed->inputs[i] << ": " << reason << '\n';
            allRead = false;
        }
    }
    if (!allRead)
        return kExitFailed;

    std::vector<MadeImage> images;
    if (std::string reason; !makeImages(inputs, sizes, *format, parsed->pngAll, images, reason)) {
        err << "sigil: " << target << ": " << reason << '\n';
        return kExitFailed;
    }
    const std::vector<uint8_t> bytes = encodeMadeIcon(*format, images, parsed->pngAll);
    if (bytes.empty()) {
        err << "sigil: " << target << ": the images cannot be encoded\n";
        return kExitFailed;
    }
    // Through a temporary file: a failed write leaves nothing, and any file
    // that stood there stays as it was.
    if (const WriteResult written = writeWholeFile(target, bytes); !written.ok()) {
        printWriteFailure(err, written);
        return kExitFailed;
    }
    out << target << '\n';
    return kExitOk;
}

}  // namespace sigil
