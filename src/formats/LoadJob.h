#pragma once
// Opening files and folders into the library: the dispatch by extension,
// the recursive folder scan, and the worker that runs a load job.

#include <functional>
#include <string>
#include <thread>

#include "formats/LoadControl.h"
#include "model/IconLibrary.h"

namespace sigil {

// Folder, base name (no extension) and extension (from the last dot of the
// file name, dot included) of a path.
struct PathParts {
    std::string folder;
    std::string baseName;
    std::string extension;
};
PathParts splitPath(const std::string& path);
// Lower-cases ASCII letters only; multi-byte characters pass unchanged.
std::string lowerExtension(const std::string& extension);

// Reads one file with the reader its extension picks and appends what it
// read. True when the file was read. `control`, when given, can end the
// reading early and hears of refused GIF pictures.
bool openFile(IconLibrary& library, const std::string& path, LoadControl* control = nullptr);
// True for the extensions of the files the program reads (icons, cursors,
// modules, pictures); other files are only tried as Mac icon files.
bool iconFileExtension(const std::string& lowerExt);
// Opens every file below a folder, depth first, in name order; true when
// every file was read. Icon files among them that gave nothing go to the
// control's refusedFiles. Files of one icon each are read ahead on worker
// threads; every icon still reaches the library in that order, one at a time.
bool scanFolder(IconLibrary& library, const std::string& path, LoadControl* control = nullptr);
// What became of one path of a load job.
enum class PathOutcome { Missing, FileRead, FileRefused, FolderScanned };
using PathReport = std::function<void(const std::string& path, PathOutcome outcome)>;

// The worker routine: works through control.pendingPaths until done or
// cancelled, then posts finishedMessage. Returns 0. `report`, when given,
// hears of every path taken (the command-line tool names the ones that
// failed).
int runLoadJob(IconLibrary& library, LoadControl& control, const PathReport& report = nullptr);

// Runs one load job on a thread of its own.
class LoadThread {
public:
    ~LoadThread();
    // Starts the job on the paths already in control.pendingPaths, with the
    // control's flags cleared; false when a job is still running.
    bool start(IconLibrary& library, LoadControl& control);
    bool running() const { return thread_.joinable(); }
    // Waits for the job to end (after finishedMessage was posted).
    void wait();

private:
    std::thread thread_;
};

}  // namespace sigil
