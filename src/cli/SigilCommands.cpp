#include "cli/SigilCommands.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <unistd.h>

#include "cli/MakeCommand.h"
#include "cli/ThumbnailCommand.h"
#include "formats/IconFile.h"
#include "formats/IconFileNames.h"
#include "formats/LibraryWriter.h"
#include "formats/LoadJob.h"
#include "imaging/Conversions.h"
#include "model/IconLibrary.h"
#include "model/Palettes.h"
#include "platform/FileBytes.h"
#include "platform/NewFile.h"
#include "platform/SafeFileWriter.h"
#include "platform/SettingsFile.h"
#include "platform/StringTable.h"
#include "settings/DisplaySettingsFile.h"

#ifndef SIGIL_VERSION
#define SIGIL_VERSION "1.0.0"
#endif

namespace sigil {

namespace {

constexpr const char* kUsage = "usage: sigil list [--json] PATH... [--ini FILE]\n"
                               "       sigil extract [--ico | --png] PATH... -o DIR [--numbered PREFIX DIGITS] "
                               "[--ini FILE]\n"
                               "       sigil pack PATH... -o OUT.icl [--ini FILE]\n"
                               "       sigil thumbnail INPUT OUTPUT.png SIZE\n"
                               "       sigil make INPUT... -o OUT.ico|OUT.icns [--sizes LIST] [--png-all]\n"
                               "       sigil --help | --version\n";

constexpr const char* kHelp = "sigil: the command-line tool of Sigilscope, the icon viewer and icon-library editor.\n"
                              "\n"
                              "  sigil list [--json] PATH...     icons and their images (devices)\n"
                              "  sigil extract PATH... -o DIR    every icon as DIR/NAME.ico, never overwriting\n"
                              "      --numbered PREFIX DIGITS    names PREFIX01.ico, PREFIX02.ico ... instead\n"
                              "      --png                       every image of every icon as DIR/NAME-WxH-BITS.png\n"
                              "  sigil pack PATH... -o OUT.icl   all icons, in the order given, as one icon library\n"
                              "                                  (\"-o -\": to standard output)\n"
                              "  sigil thumbnail INPUT OUTPUT.png SIZE\n"
                              "                                  the first icon of INPUT as a SIZE x SIZE picture\n"
                              "                                  (OUTPUT.png \"-\": to standard output)\n"
                              "  sigil make INPUT... -o OUT.ico|OUT.icns\n"
                              "                                  one icon of many sizes: an SVG drawn at each\n"
                              "                                  size, a larger picture shrunk, an input of a\n"
                              "                                  size kept as it is\n"
                              "      --sizes LIST                16,32,48 ... (.ico: 16 to 256, .icns: 16 to 1024)\n"
                              "      --png-all                   every .ico size as PNG (else 256 only)\n"
                              "  --ini FILE                      read import options from this settings file\n"
                              "  --help, --version               this text; the version\n"
                              "\n"
                              "PATH is an icon, cursor or animated cursor (.ico .cur .ani), an icon library or\n"
                              "module (.icl .exe .dll .mun .cpl .scr .ocx), a picture (.bmp .jpg .jpeg .png), a\n"
                              "Mac icon file (.icns, or MacBinary), or a folder, read with everything below it.\n"
                              "\n"
                              "Exit status: 0 done, 1 failed, 2 wrong usage.\n";

// Counts the icons that the load job hands over, and gives each to `take`
// (when set) as soon as it is in the library: a command that is done with an
// icon there and then removes it, so its memory stays flat however many
// icons the paths hold.
class IconIntake : public LoadObserver {
public:
    using Take = std::function<void(IconLibrary& library, int index, int number)>;
    IconIntake(IconLibrary& library, Take take) : library_(library), take_(std::move(take)) {}

    int deliverIcon(const std::function<int()>& append) override
    {
        const int index = append();
        if (take_)
            take_(library_, index, count_);
        ++count_;
        return index;
    }
    int addedMessage(int) override { return 0; }
    void finishedMessage() override {}
    int count() const { return count_; }

private:
    IconLibrary& library_;
    Take take_;
    int count_ = 0;
};

// Loads each path as the load job does; names the paths that gave nothing.
// `take`, when set, receives each icon as it is read (see IconIntake). The
// answer's count is the number of icons read.
struct LoadResult {
    bool allRead = true;
    int icons = 0;
};
LoadResult loadPaths(IconLibrary& library, const std::vector<std::string>& paths, const DisplaySettings& settings,
                     std::ostream& err, const IconIntake::Take& take = nullptr)
{
    // Import options (transparency, the Mac filter) come from the settings.
    library.setDisplaySettings(&settings);
    IconIntake intake(library, take);
    library.setLoadObserver(&intake);
    // Icons record the full path of their source, as the program does.
    LoadControl control;
    for (const std::string& given : paths)
        control.pendingPaths.push_back(given.empty() ? given
                                                     : fromQtPath(QFileInfo(toQtPath(given)).absoluteFilePath()));
    bool allRead = true;
    int iconsBefore = 0;
    size_t refusedBefore = 0;
    // The program's own load job, run on this thread.
    runLoadJob(library, control, [&](const std::string& path, PathOutcome outcome) {
        // Icon files inside a folder that gave nothing, each by name.
        const std::vector<std::string>& refused = control.refusedFiles;
        if (outcome == PathOutcome::FolderScanned)
            for (size_t i = refusedBefore; i < refused.size(); ++i)
                err << "sigil: " << refused[i] << ": not a readable icon file\n";
        refusedBefore = refused.size();
        // A file can be read and still hold no icons (a cursor without
        // frames, a module without icon resources): say so, or the user
        // sees nothing at all.
        const bool none = intake.count() == iconsBefore;
        iconsBefore = intake.count();
        switch (outcome) {
        case PathOutcome::Missing:
            err << "sigil: " << path << ": no such file or folder\n";
            allRead = false;
            break;
        case PathOutcome::FileRefused:
            err << "sigil: " << path << ": not a readable icon file\n";
            allRead = false;
            break;
        case PathOutcome::FolderScanned: {
            // Files inside a folder that are not icons are skipped quietly,
            // as the program does; the folder fails only when unreadable.
            const QFileInfo info(toQtPath(path));
            if (!info.isReadable() || !info.isExecutable()) {
                err << "sigil: " << path << ": cannot read the folder\n";
                allRead = false;
            } else if (none) {
                err << "sigil: " << path << ": no icons in the folder\n";
            }
            break;
        }
        case PathOutcome::FileRead:
            if (none)
                err << "sigil: " << path << ": the file holds no icons\n";
            break;
        }
    });
    library.setLoadObserver(nullptr);
    if (control.gifRefused)
        err << "sigil: " << loadString(str::GifRefused).toStdString() << '\n';
    return {allRead, intake.count()};
}

// An image's size is what the icon stores: the PNG data of a PNG image.
void printText(const IconEntry& icon, std::ostream& out)
{
    out << icon.name << '\t' << icon.source << '\n';
    for (const IconDevice& d : icon.devices) {
        out << "  " << d.width << 'x' << d.height << '\t' << d.bitCount << "bit\t" << colorClassLabel(d.bitCount)
            << '\t' << d.storedImage().size() << " bytes\n";
    }
}

void printJson(const IconEntry& icon, std::ostream& out)
{
    QJsonArray devices;
    for (const IconDevice& d : icon.devices) {
        devices.append(QJsonObject{{"width", d.width},
                                   {"height", d.height},
                                   {"bitCount", d.bitCount},
                                   {"bytes", static_cast<qint64>(d.storedImage().size())},
                                   {"decodedBytes", static_cast<qint64>(d.allocatedBytes())}});
    }
    const QJsonObject object{{"name", QString::fromStdString(icon.name)},
                             {"source", QString::fromStdString(icon.source)},
                             {"devices", devices}};
    out << QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() << '\n';
}

int listCommand(const std::vector<std::string>& args, const DisplaySettings& settings, std::ostream& out,
                std::ostream& err)
{
    bool json = false;
    std::vector<std::string> paths;
    for (const std::string& a : args) {
        if (a == "--json")
            json = true;
        else
            paths.push_back(a);
    }
    if (paths.empty()) {
        err << kUsage;
        return kExitUsage;
    }
    IconLibrary library;
    // Each icon is printed as it is read, then let go.
    const LoadResult result = loadPaths(library, paths, settings, err, [&](IconLibrary& lib, int index, int) {
        if (json)
            printJson(lib.at(index), out);
        else
            printText(lib.at(index), out);
        lib.removeIcon(index);
    });
    // Listing nothing at all is a failure, whatever the paths were.
    return result.allRead && result.icons > 0 ? kExitOk : kExitFailed;
}

// The PNG file name of one image: DIR/NAME-WxH-BITS.png for attempt 0, then
// "_1", "_2"... put before the extension, as for .ico files.
std::string pngFilePath(const std::string& dir, const std::string& baseName, const IconDevice& device, int attempt)
{
    std::string path = dir + "/" + baseName + "-" + std::to_string(device.width) + "x" + std::to_string(device.height) +
                       "-" + std::to_string(device.bitCount);
    if (attempt > 0)
        path += "_" + std::to_string(attempt);
    return path + ".png";
}

// Every image of the icon as its own PNG file; false when one failed.
bool extractPngs(const IconEntry& icon, const std::string& baseName, const std::string& dir, std::ostream& out,
                 std::ostream& err)
{
    bool ok = true;
    for (const IconDevice& device : icon.devices) {
        // A PNG image is written as stored, any other encoded with its
        // transparency as alpha.
        const std::vector<uint8_t> png = devicePng(device);
        const bool encoded = !png.empty();
        const ByteView bytes(png);
        // Each name is claimed by creating its file, as for .ico files.
        const auto pathFor = [&](int attempt) { return pngFilePath(dir, baseName, device, attempt); };
        const WriteResult file = encoded ? writeUnderFreeName(pathFor, {&bytes, 1})
                                         : WriteResult::cannotStore(pathFor(0), "the image cannot be encoded");
        if (file.ok()) {
            out << file.path << '\n';
        } else {
            printWriteFailure(err, file);
            ok = false;
        }
    }
    return ok;
}

// "PATH... -o OUTPUT": false (usage printed) when either part is missing.
bool pathsAndOutput(const std::vector<std::string>& args, std::vector<std::string>& paths, std::string& output,
                    std::ostream& err)
{
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "-o")
            paths.push_back(args[i]);
        else if (i + 1 < args.size())
            output = args[++i];
        else
            output.clear();
    }
    if (paths.empty() || output.empty()) {
        err << kUsage;
        return false;
    }
    return true;
}

int extractCommand(const std::vector<std::string>& args, const DisplaySettings& settings, std::ostream& out,
                   std::ostream& err)
{
    // "--ico" (the default) or "--png", and "--numbered PREFIX DIGITS" for
    // numbered names as save all as icons gives, anywhere among the paths.
    bool png = false;
    IconFileNaming naming;
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--png" || args[i] == "--ico") {
            png = args[i] == "--png";
            continue;
        }
        if (args[i] != "--numbered") {
            rest.push_back(args[i]);
            continue;
        }
        char* end = nullptr;
        const long digits = i + 2 < args.size() ? std::strtol(args[i + 2].c_str(), &end, 10) : -1;
        if (i + 2 >= args.size() || *end != '\0' || args[i + 2].empty() || digits < 0 || digits > 200) {
            err << kUsage;
            return kExitUsage;
        }
        naming = {true, args[i + 1], int(digits)};
        i += 2;
    }
    std::vector<std::string> paths;
    std::string dir;
    if (!pathsAndOutput(rest, paths, dir, err))
        return kExitUsage;
    const QFileInfo dirInfo(toQtPath(dir));
    if (!dirInfo.isDir()) {
        err << "sigil: " << dir << ": not a folder\n";
        return kExitFailed;
    }
    IconLibrary library;
    bool written = true;
    // Each icon is written as it is read, then let go.
    const auto writeIcon = [&](IconLibrary& lib, int index, int number) {
        const IconEntry& icon = lib.at(index);
        if (!icon.devices.empty()) {
            const std::string baseName = iconFileBaseName(naming, number, icon.name);
            if (png) {
                written = extractPngs(icon, baseName, dir, out, err) && written;
            } else {
                // Nothing is there to protect: the file is written directly,
                // without the safe writer's temporary file and sync to disk.
                const WriteResult file = writeNewIconFile(icon, dir, baseName, false);
                if (file.ok()) {
                    out << file.path << '\n';
                } else {
                    printWriteFailure(err, file);
                    written = false;
                }
            }
        }
        lib.removeIcon(index);
    };
    const LoadResult result = loadPaths(library, paths, settings, err, writeIcon);
    return result.allRead && written ? kExitOk : kExitFailed;
}

// The writer's progress as one line that is rewritten in place.
class ProgressLine : public ProgressObserver {
public:
    explicit ProgressLine(std::ostream& err) : err_(err) {}
    ~ProgressLine() override { end(); }

    void progressMessage(int phase, int percent) override
    {
        // Carriage return, the text, and erase what a longer text left.
        err_ << '\r' << libraryProgressText(phase, percent) << "\x1b[K" << std::flush;
        open_ = true;
        if (phase == 3)
            end();
    }
    void end()
    {
        if (open_)
            err_ << '\n';
        open_ = false;
    }

private:
    std::ostream& err_;
    bool open_ = false;
};

int packCommand(const std::vector<std::string>& args, const DisplaySettings& settings, std::ostream& out,
                std::ostream& err, bool showProgress)
{
    std::vector<std::string> paths;
    std::string target;
    if (!pathsAndOutput(args, paths, target, err))
        return kExitUsage;
    IconLibrary library;
    const bool allRead = loadPaths(library, paths, settings, err).allRead;
    if (library.empty()) {
        err << "sigil: " << target << ": no icons to write\n";
        return kExitFailed;
    }
    ProgressLine progress(err);
    if (showProgress)
        library.setProgressObserver(&progress);
    // "-o -" sends the library to standard output.
    const bool toOutput = target == "-";
    SafeFileWriter file = toOutput ? SafeFileWriter(out) : SafeFileWriter(target);
    const WriteResult result = writeLibrary(library, file);
    progress.end();
    if (!result.ok()) {
        printWriteFailure(err, result);
        return kExitFailed;
    }
    if (!toOutput)
        out << target << '\n';
    return allRead ? kExitOk : kExitFailed;
}

}  // namespace

void printWriteFailure(std::ostream& err, const WriteResult& result)
{
    err << "sigil: " << result.path << ": "
        << (result.status == WriteStatus::FileFailed ? "cannot write the file: " : "") << result.reason << '\n';
}

std::string libraryProgressText(int phase, int percent)
{
    return saveProgressText(phase, percent).toStdString();
}

int runSigil(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             std::optional<bool> showProgress)
{
    if (args.empty()) {
        err << kUsage;
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        out << kUsage << "\n" << kHelp;
        return kExitOk;
    }
    if (args[0] == "--version") {
        out << "sigil (Sigilscope) " << SIGIL_VERSION << "\n";
        return kExitOk;
    }
    // "--ini FILE" anywhere after the command names the settings file.
    std::vector<std::string> rest;
    std::string ini;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] != "--ini") {
            rest.push_back(args[i]);
        } else if (i + 1 < args.size()) {
            ini = args[++i];
        } else {
            err << kUsage;
            return kExitUsage;
        }
    }
    DisplaySettings settings;
    SettingsFile file;
    if (!ini.empty()) {
        file.setPath(ini);
        loadDisplaySettings(settings, file, "Sigilscope");
    }
    if (args[0] == "list")
        return listCommand(rest, settings, out, err);
    if (args[0] == "extract")
        return extractCommand(rest, settings, out, err);
    if (args[0] == "thumbnail")
        return thumbnailCommand(rest, out, err);
    if (args[0] == "make")
        return makeCommand(rest, out, err);
    if (args[0] == "pack")
        return packCommand(rest, settings, out, err, showProgress.value_or(isatty(2) != 0));
    err << kUsage;
    return kExitUsage;
}

}  // namespace sigil
