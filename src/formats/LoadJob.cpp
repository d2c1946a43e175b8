#include "formats/LoadJob.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>
#include <functional>
#include <memory>
#include <set>

#include "formats/AnimatedCursor.h"
#include "formats/IconFile.h"
#include "formats/ModuleReader.h"
#include "imaging/BitmapImport.h"
#include "imaging/MacIconImport.h"
#include "imaging/PictureImport.h"
#include "platform/FileBytes.h"

namespace sigil {

PathParts splitPath(const std::string& path)
{
    PathParts parts;
    const size_t slash = path.find_last_of('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    parts.folder = path.substr(0, nameStart);
    const std::string name = path.substr(nameStart);
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos) {
        parts.baseName = name;
    } else {
        parts.baseName = name.substr(0, dot);
        parts.extension = name.substr(dot);
    }
    return parts;
}

std::string lowerExtension(const std::string& extension)
{
    std::string lower = extension;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

namespace {

// Readers that fill one fresh entry from a single-image file.
using EntryReader = std::function<bool(IconEntry&, const std::string& path, const std::string& baseName)>;

bool appendRead(IconLibrary& library, const EntryReader& reader, const std::string& path, const std::string& baseName)
{
    auto entry = std::make_unique<IconEntry>();
    if (!reader(*entry, path, baseName))
        return false;
    library.addReadIcon(std::move(entry));
    return true;
}

}  // namespace

namespace {

bool dispatchFile(IconLibrary& library, const std::string& path, LoadControl* control)
{
    const PathParts parts = splitPath(path);
    const std::string ext = lowerExtension(parts.extension);

    // Readers that append their own icons (one per frame or group icon).
    if (ext == ".ani")
        return readAnimatedCursor(library, path, parts.baseName, control);
    // Control-panel items, screen savers, ActiveX controls and MUI resource
    // files are modules like any program.
    if (ext == ".exe" || ext == ".dll" || ext == ".icl" || ext == ".mun" || ext == ".cpl" || ext == ".scr" ||
        ext == ".ocx")
        return readModule(library, path, parts.baseName, control);

    // Single-icon readers fill one entry, which is appended here.
    if (ext == ".ico" || ext == ".cur")
        return appendRead(library, readIconFile, path, parts.baseName);
    if (ext == ".bmp") {
        // Imported bitmaps take the automatic transparency of the settings.
        const DisplaySettings& settings = library.displaySettings();
        return appendRead(
            library,
            [&settings](IconEntry& entry, const std::string& file, const std::string& name) {
                return readBitmapIcon(entry, file, name, settings);
            },
            path, parts.baseName);
    }
    if (ext == ".gif" || ext == ".jpg" || ext == ".jpeg") {
        // GIF pictures are refused by their content (whatever the name), and
        // the view says so once after the job.
        return appendRead(
            library,
            [control](IconEntry& entry, const std::string& p, const std::string& name) {
                std::atomic<bool> unheard{false};  // without a control nobody asks
                return openPictureAsIcon(entry, p, name, control ? control->gifRefused : unheard);
            },
            path, parts.baseName);
    }
    // PNG pictures keep their alpha; the reader checks the signature.
    if (ext == ".png")
        return appendRead(library, openPngAsIcon, path, parts.baseName);
    // .icns files and anything else may be Mac icon files (plain or
    // MacBinary), which the Mac import tells apart and refuses when they
    // are neither.
    return appendRead(
        library,
        [&library, control](IconEntry& entry, const std::string& p, const std::string& name) {
            return loadMacIcons(entry, p, name, library.displaySettings(), stopFlag(control));
        },
        path, parts.baseName);
}

}  // namespace

bool openFile(IconLibrary& library, const std::string& path, LoadControl* control)
{
    if (path.empty())
        return false;
    // Readers bound what a file may ask for, but memory can still run out
    // on a huge, valid file; such a file is skipped like any unreadable one
    // rather than ending the load job's thread and the program with it.
    try {
        return dispatchFile(library, path, control);
    } catch (const std::exception&) {
        return false;
    }
}

bool scanFolder(IconLibrary& library, const std::string& path, LoadControl* control)
{
    // Folders reached twice (through symbolic links) are scanned once.
    std::set<std::string> seen;
    struct Scanner {
        IconLibrary& library;
        LoadControl* control;
        std::set<std::string>& seen;
        bool scan(const std::string& folder)
        {
            const QString canonical = QFileInfo(toQtPath(folder)).canonicalFilePath();
            if (canonical.isEmpty() || !seen.insert(fromQtPath(canonical)).second)
                return true;
            // Every entry, hidden ones included, files and folders together
            // in name order (case-sensitive), so a numbered set loads in its
            // order whatever order the file system keeps. Only the names are
            // kept and sorted: a folder of many thousand files then costs
            // little memory (sorting through QDir holds a file record per
            // entry).
            const QString path = toQtPath(folder);
            QStringList names;
            QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            while (it.hasNext()) {
                it.next();
                names.push_back(it.fileName());
            }
            std::sort(names.begin(), names.end());
            bool all = true;
            for (const QString& name : names) {
                if (cancelled(control))
                    break;
                if (name.isEmpty())
                    continue;
                const QFileInfo info(path + QLatin1Char('/') + name);
                const std::string full = fromQtPath(info.filePath());
                if (info.isDir())
                    all = scan(full) && all;
                else if (info.isFile())
                    all = openFile(library, full, control) && all;
                else
                    all = false;  // pipes, sockets, devices, dangling links: never opened
            }
            return all;
        }
    } scanner{library, control, seen};
    return scanner.scan(path);
}

int runLoadJob(IconLibrary& library, LoadControl& control, const PathReport& report)
{
    const size_t n = control.pendingPaths.size();
    for (size_t i = 0; i < n && !control.cancelled(); ++i) {
        const std::string& path = control.pendingPaths[i];
        const QFileInfo info(toQtPath(path));
        PathOutcome outcome = PathOutcome::Missing;
        if (!info.exists()) {
            // skipped silently
        } else if (info.isDir()) {
            // The folder's own answer is ignored: it is false as soon as one
            // file below is not an icon.
            scanFolder(library, path, &control);
            outcome = PathOutcome::FolderScanned;
        } else {
            outcome = openFile(library, path, &control) ? PathOutcome::FileRead : PathOutcome::FileRefused;
        }
        if (report)
            report(path, outcome);
    }
    library.notifyFinished();
    return 0;
}

LoadThread::~LoadThread()
{
    wait();
}

bool LoadThread::start(IconLibrary& library, LoadControl& control)
{
    if (thread_.joinable())
        return false;
    // Reset here, not on the worker: a cancel may come before it runs.
    control.resetFlags();
    thread_ = std::thread([&library, &control] { runLoadJob(library, control); });
    return true;
}

void LoadThread::wait()
{
    if (thread_.joinable())
        thread_.join();
}

}  // namespace sigil
