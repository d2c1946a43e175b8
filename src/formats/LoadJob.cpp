#include "formats/LoadJob.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <set>

#include "formats/AnimatedCursor.h"
#include "formats/FileReadPool.h"
#include "formats/IconFile.h"
#include "formats/IconMaker.h"
#include "formats/ModuleReader.h"
#include "imaging/BitmapImport.h"
#include "imaging/MacIconImport.h"
#include "imaging/PictureImport.h"
#include "platform/FileBytes.h"
#include "platform/ImageMemory.h"

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

// Animated cursors and modules append their icons one by one as they read
// them and look at the control between them.
bool appendsAsItReads(const std::string& ext)
{
    return ext == ".ani" || ext == ".exe" || ext == ".dll" || ext == ".icl" || ext == ".mun" || ext == ".cpl" ||
           ext == ".scr" || ext == ".ocx";
}

}  // namespace

bool iconFileExtension(const std::string& lowerExt)
{
    static const std::set<std::string> known = {".ico",  ".cur", ".ani",  ".icl", ".exe", ".dll",
                                                ".mun",  ".cpl", ".scr",  ".ocx", ".bmp", ".jpg",
                                                ".jpeg", ".png", ".icns", ".svg", ".svgz"};
    return known.count(lowerExt) > 0;
}

namespace {

bool dispatchFile(IconLibrary& library, const std::string& path, LoadControl* control)
{
    const PathParts parts = splitPath(path);
    const std::string ext = lowerExtension(parts.extension);

    // Readers that append their own icons (one per frame or group icon).
    // Control-panel items, screen savers, ActiveX controls and MUI resource
    // files are modules like any program.
    if (appendsAsItReads(ext))
        return ext == ".ani" ? readAnimatedCursor(library, path, parts.baseName, control)
                             : readModule(library, path, parts.baseName, control);

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
    // SVG documents are drawn at the sizes an .ico holds.
    if (ext == ".svg" || ext == ".svgz")
        return appendRead(library, readSvgIcon, path, parts.baseName);
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

namespace {

// Files read ahead of the one whose icons the library takes next.
constexpr size_t kFilesAhead = 16;

// Walks a folder tree in order. Files of one icon each are read on the
// pool's workers; their icons reach the library in the walk's order.
// Animated cursors and modules are read on this thread, in their turn, so
// their icons still appear as they are read.
class FolderScan {
public:
    FolderScan(IconLibrary& library, LoadControl* control)
        : library_(library),
          control_(control),
          pool_(library, FileReadPool::defaultWorkers())
    {}

    bool run(const std::string& path)
    {
        scan(path);
        handOverAll();
        // After a cancel the files read ahead are dropped: the job ends
        // after the file in hand.
        pool_.dropPending();
        return all_;
    }

private:
    void scan(const std::string& folder)
    {
        // Folders reached twice (through symbolic links) are scanned once.
        const QString canonical = QFileInfo(toQtPath(folder)).canonicalFilePath();
        if (canonical.isEmpty() || !seen_.insert(fromQtPath(canonical)).second)
            return;
        // Every entry, hidden ones included, files and folders together in
        // name order (case-sensitive), so a numbered set loads in its order
        // whatever order the file system keeps. Only the names are kept and
        // sorted: a folder of many thousand files then costs little memory
        // (sorting through QDir holds a file record per entry).
        const QString path = toQtPath(folder);
        QStringList names;
        QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        while (it.hasNext()) {
            it.next();
            names.push_back(it.fileName());
        }
        std::sort(names.begin(), names.end());
        for (const QString& name : names) {
            if (cancelled(control_))
                break;
            if (name.isEmpty())
                continue;
            const QFileInfo info(path + QLatin1Char('/') + name);
            const std::string full = fromQtPath(info.filePath());
            if (info.isDir())
                scan(full);
            else if (info.isFile())
                open(full);
            else
                all_ = false;  // pipes, sockets, devices, dangling links: never opened
        }
    }

    void open(const std::string& file)
    {
        if (appendsAsItReads(lowerExtension(splitPath(file).extension))) {
            handOverAll();
            if (!cancelled(control_))
                noteRead(file, openFile(library_, file, control_));
            return;
        }
        submitted_.push_back(file);
        LoadControl* control = control_;
        pool_.submit(
            [file, control](IconLibrary& into) { return !cancelled(control) && openFile(into, file, control); });
        if (pool_.pending() > kFilesAhead)
            handOverNext();
    }

    void handOverNext()
    {
        // After a cancel nothing more is handed over, so nothing is waited for.
        if (cancelled(control_))
            return;
        FileReadResult result = pool_.takeNext();
        const std::string file = std::move(submitted_.front());
        submitted_.pop_front();
        if (cancelled(control_))
            return;
        noteRead(file, result.read);
        for (std::unique_ptr<IconEntry>& icon : result.icons)
            library_.addReadIcon(std::move(icon));
    }

    void handOverAll()
    {
        while (pool_.pending() > 0 && !cancelled(control_))
            handOverNext();
    }

    void noteRead(const std::string& file, bool read)
    {
        all_ = read && all_;
        // A refusal after a stop request is the stop, not the file.
        if (!read && control_ && !stopping(control_) && iconFileExtension(lowerExtension(splitPath(file).extension)))
            control_->refusedFiles.push_back(file);
    }

    IconLibrary& library_;
    LoadControl* control_;
    std::deque<std::string> submitted_;  // files in the pool, in order
    std::set<std::string> seen_;
    FileReadPool pool_;
    bool all_ = true;
};

}  // namespace

bool scanFolder(IconLibrary& library, const std::string& path, LoadControl* control)
{
    return FolderScan(library, control).run(path);
}

int runLoadJob(IconLibrary& library, LoadControl& control, const PathReport& report)
{
    const ReadingImages reading;
    const size_t n = control.pendingPaths.size();
    for (size_t i = 0; i < n && !control.cancelled(); ++i) {
        const std::string& path = control.pendingPaths[i];
        const QFileInfo info(toQtPath(path));
        PathOutcome outcome = PathOutcome::Missing;
        if (!info.exists()) {
            // gone since it was queued: named with the refused files
        } else if (info.isDir()) {
            // The folder's own answer is ignored: it is false as soon as one
            // file below is not an icon.
            scanFolder(library, path, &control);
            outcome = PathOutcome::FolderScanned;
        } else {
            outcome = openFile(library, path, &control) ? PathOutcome::FileRead : PathOutcome::FileRefused;
        }
        if (outcome == PathOutcome::Missing || (outcome == PathOutcome::FileRefused && !control.stopping()))
            control.refusedFiles.push_back(path);
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
