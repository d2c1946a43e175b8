// Scale: a folder of many modern icons (nine small images and one PNG image
// of 256 pixels each, taken from Wine's shell32.dll when it is installed)
// and shell32.dll itself, measured side by side in one run against a plain
// read of the same bytes and against icoutils where installed:
//   the program opening the folder (time to the end of the load, peak
//   memory, the longest wait of the event loop), `sigil list` (time, peak
//   memory, and memory over folders of two sizes), `sigil extract` of
//   shell32.dll beside `wrestool -x --type=14`, and the program opening
//   shell32.dll.
// Each command runs as a child process so its peak memory is its own.
// SIGIL_BENCH_SCALE_COUNT sets the number of files (default 20056);
// SIGIL_BENCH_SCALE_DIR names an existing folder to use instead.

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

#include "BenchFiles.h"
#include "formats/IconFile.h"
#include "formats/ModuleReader.h"
#include "formats/PngImage.h"
#include "platform/AllocatorTuning.h"
#include "platform/FileBytes.h"
#include "platform/SettingsFile.h"
#include "settings/DisplaySettingsFile.h"
#include "settings/GeneralSettings.h"
#include "view/CIconView.h"

extern char** environ;

using namespace sigil;

namespace {

const std::string kShell32 = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/shell32.dll";

struct Run {
    double seconds = 0;
    double peakMb = 0;
    bool ok = false;
};

bool installed(const std::string& tool)
{
    for (const char* dir : {"/usr/bin/", "/usr/local/bin/", "/bin/"})
        if (QFileInfo(QString::fromStdString(dir + tool)).isExecutable())
            return true;
    return false;
}

// Runs a command with its output to /dev/null (or `outFile`): wall time,
// the child's peak resident memory, and whether it succeeded.
Run spawnAndWait(const std::vector<std::string>& argv, const std::string& outFile)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    Run run;
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        run.seconds = double(clock.nsecsElapsed()) / 1e9;
        run.peakMb = double(usage.ru_maxrss) / 1024.0;
        run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

// The same through a fresh copy of this program started with --measure: a
// child started from a process counts that process's peak memory as its
// own, and the fresh copy is still small when it starts the command.
std::string selfPath;
Run runChild(const std::vector<std::string>& argv, const std::string& outFile = "/dev/null")
{
    const std::string result = fromQtPath(bench::scratchDir().path()) + "/measure.txt";
    std::vector<std::string> wrapped{selfPath, "--measure", result, outFile};
    wrapped.insert(wrapped.end(), argv.begin(), argv.end());
    spawnAndWait(wrapped, "/dev/null");
    Run run;
    int ok = 0;
    std::ifstream(result) >> run.seconds >> run.peakMb >> ok;
    run.ok = ok != 0;
    return run;
}

int measure(const std::vector<std::string>& args)
{
    const Run run = spawnAndWait(std::vector<std::string>(args.begin() + 3, args.end()), args[2]);
    std::ofstream(args[1]) << run.seconds << ' ' << run.peakMb << ' ' << (run.ok ? 1 : 0) << '\n';
    return 0;
}

// The best of `times` runs (the first warms the caches too).
template <typename F> Run best(int times, F&& once)
{
    Run out;
    for (int i = 0; i < times; ++i) {
        const Run r = once();
        if (i == 0 || r.seconds < out.seconds)
            out = r;
    }
    return out;
}

double plainReadSeconds(const std::vector<std::string>& files)
{
    return best(3,
                [&] {
                    QElapsedTimer clock;
                    clock.start();
                    volatile uint64_t sink = bench::plainRead(files);
                    (void)sink;
                    return Run{double(clock.nsecsElapsed()) / 1e9, 0, true};
                })
        .seconds;
}

// ---- The folder -----------------------------------------------------------

// Icons to copy into the folder: shell32's, or generated ones of the same
// shape (nine small bitmaps and a PNG image of 256 pixels of noise).
std::vector<std::vector<uint8_t>> sourceIcons()
{
    std::vector<std::vector<uint8_t>> out;
    if (QFileInfo::exists(QString::fromStdString(kShell32))) {
        IconLibrary library;
        readModule(library, kShell32, "shell32");
        for (int i = 0; i < library.size(); ++i)
            if (auto bytes = encodeIconFile(library.at(i)))
                out.push_back(std::move(*bytes));
        return out;
    }
    std::mt19937 random(14);
    for (int i = 0; i < 32; ++i) {
        IconEntry e;
        for (int size : {16, 32, 48})
            for (int bits : {4, 8, 32})
                e.addDevice(size, size, bits);
        QImage picture(256, 256, QImage::Format_ARGB32);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                picture.setPixel(x, y, qRgba(x, y, int(random() % 64), (x + y) % 255));
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        IconDevice big;
        lazyDeviceFromPng(ByteView(reinterpret_cast<const uint8_t*>(png.data()), size_t(png.size())), big);
        e.devices.push_back(std::move(big));
        if (auto bytes = encodeIconFile(e))
            out.push_back(std::move(*bytes));
    }
    return out;
}

std::string makeFolder(const std::string& name, int count)
{
    const std::string folder = fromQtPath(bench::scratchDir().path()) + "/" + name;
    QDir().mkpath(QString::fromStdString(folder));
    static const std::vector<std::vector<uint8_t>> icons = sourceIcons();
    for (int i = 0; i < count && !icons.empty(); ++i) {
        const std::vector<uint8_t>& bytes = icons[size_t(i) % icons.size()];
        char file[32];
        std::snprintf(file, sizeof file, "/icon%05d.ico", i);
        std::ofstream(folder + file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    return folder;
}

std::vector<std::string> sortedFiles(const std::string& folder)
{
    std::vector<std::string> files = bench::filesIn(folder);
    std::sort(files.begin(), files.end());
    return files;
}

// ---- The program, in a child process --------------------------------------

// Opens `path` in a view of w x h at display size `size`; writes the time
// from the start of the load to its end and the longest wait of the event
// loop meanwhile (both ms) to `result`.
int openInView(const std::string& path, int size, int w, int h, const std::string& result)
{
    SettingsFile file;
    file.setPath(fromQtPath(bench::scratchDir().path()) + "/Tamberly.ini");
    GeneralSettings general;
    DisplaySettings display;
    general.load(file);
    loadDisplaySettings(display, file, "Sigilscope");
    display.iconSize = size;
    general.horizontal = 1;
    IconLibrary library;
    LibraryDocument document(library, general, display);
    CIconView view(document, file);
    view.resize(w, h);
    view.show();
    view.initialUpdate({});
    QCoreApplication::processEvents();

    // A timer that should fire every millisecond: the longest gap between
    // two of its ticks is how long input would have waited.
    QElapsedTimer tick;
    qint64 longestGap = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    QObject::connect(&probe, &QTimer::timeout, [&] { longestGap = std::max(longestGap, tick.restart()); });
    QElapsedTimer clock;
    clock.start();
    tick.start();
    probe.start(1);
    document.openPath(path);
    while (view.loading())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    probe.stop();
    std::ofstream(result) << ms << ' ' << longestGap << ' ' << library.size() << '\n';
    return 0;
}

struct OpenResult {
    Run run;
    double loadMs = 0;
    double longestGapMs = 0;
    int icons = 0;
};

OpenResult openChild(const std::string& self, const std::string& path, int size, int w, int h)
{
    const std::string result = fromQtPath(bench::scratchDir().path()) + "/open-result.txt";
    OpenResult out;
    out.run = runChild({self, "--open", path, std::to_string(size), std::to_string(w), std::to_string(h), result});
    std::ifstream(result) >> out.loadMs >> out.longestGapMs >> out.icons;
    return out;
}

// ---- Report ---------------------------------------------------------------

void row(const char* what, const std::string& value, const std::string& reference, const std::string& goal, bool met)
{
    std::printf("%-44s %-14s %-34s %-28s %s\n", what, value.c_str(), reference.c_str(), goal.c_str(),
                met ? "met" : "NOT MET");
}

std::string fmt(const char* format, double v)
{
    char text[64];
    std::snprintf(text, sizeof text, format, v);
    return text;
}

int runAll(const std::string& self)
{
    const char* given = std::getenv("SIGIL_BENCH_SCALE_DIR");
    const char* countText = std::getenv("SIGIL_BENCH_SCALE_COUNT");
    const int count = countText ? std::atoi(countText) : 20056;
    const std::string folder = given ? std::string(given) : makeFolder("icons", count);
    const std::vector<std::string> files = sortedFiles(folder);
    const double diskMb = double(bench::totalSize(files)) / (1024.0 * 1024.0);
    const bool icoutils = installed("icotool") && installed("wrestool");
    const bool wine = QFileInfo::exists(QString::fromStdString(kShell32));
    std::printf("folder: %zu files, %.0f MB on disk (icons from %s); icoutils %s\n", files.size(), diskMb,
                wine ? "shell32.dll" : "a generator", icoutils ? "installed" : "absent");
    std::printf("%-44s %-14s %-34s %-28s %s\n", "measure", "value", "reference (same run)", "goal", "");

    const double plain = plainReadSeconds(files);
    Run icotool;
    if (icoutils) {
        std::vector<std::string> argv{"icotool", "-l"};
        argv.insert(argv.end(), files.begin(), files.end());
        icotool = best(2, [&] { return runChild(argv); });
    }
    const std::string refText =
        icoutils ? fmt("icotool -l %.2f s", icotool.seconds) + fmt(", read %.2f s", plain) : fmt("read %.2f s", plain);

    // The program opening the folder.
    const OpenResult open = openChild(self, folder, 48, 800, 600);
    const double openLimit = icoutils ? 3 * icotool.seconds + 1 : 0;
    row("program opens the folder: s", fmt("%.2f", open.loadMs / 1000), refText,
        icoutils ? fmt("<= 3 x icotool + 1 = %.2f", openLimit) : "(icoutils absent)",
        icoutils && open.loadMs / 1000 <= openLimit);
    std::printf("%-44s %-14s %-34s\n", "", fmt("%.1f x read", open.loadMs / 1000 / plain).c_str(),
                icoutils ? fmt("%.1f x icotool", open.loadMs / 1000 / icotool.seconds).c_str() : "");
    const double memLimit = 1.3 * diskMb + 150;
    row("program opens the folder: peak MB", fmt("%.0f", open.run.peakMb), fmt("disk %.0f MB", diskMb),
        fmt("<= 1.3 x disk + 150 = %.0f", memLimit), open.run.peakMb <= memLimit);
    row("program opens the folder: longest wait ms", fmt("%.0f", open.longestGapMs), "", "<= 50",
        open.longestGapMs <= 50);

    // sigil list, and its memory over a folder a quarter the size.
    const Run list = best(2, [&] { return runChild({SIGIL_CLI_PATH, "list", folder}); });
    row("sigil list: s", fmt("%.2f", list.seconds), refText,
        icoutils ? fmt("<= 1.5 x icotool = %.2f", 1.5 * icotool.seconds) : "(icoutils absent)",
        icoutils && list.seconds <= 1.5 * icotool.seconds);
    std::printf("%-44s %-14s %-34s\n", "", fmt("%.1f x read", list.seconds / plain).c_str(),
                icoutils ? fmt("%.2f x icotool", list.seconds / icotool.seconds).c_str() : "");
    row("sigil list: peak MB", fmt("%.0f", list.peakMb), icoutils ? fmt("icotool %.0f MB", icotool.peakMb) : "",
        "< 300", list.peakMb < 300);
    // Flat: what the larger folder adds in memory is a small part of what
    // it adds on disk (the names of its files), not its icons.
    const std::string quarter = makeFolder("quarter", std::max(1, int(files.size()) / 4));
    const double quarterMb = double(bench::totalSize(sortedFiles(quarter))) / (1024.0 * 1024.0);
    const Run listQuarter = runChild({SIGIL_CLI_PATH, "list", quarter});
    const double grown = list.peakMb - listQuarter.peakMb;
    row("sigil list: peak MB, full / quarter folder", fmt("%.0f", list.peakMb) + fmt(" / %.0f", listQuarter.peakMb),
        fmt("disk %.0f", diskMb) + fmt(" / %.0f MB", quarterMb),
        fmt("grows < 2%% of disk: %.1f%%", 100 * grown / std::max(1.0, diskMb - quarterMb)),
        grown < 0.02 * (diskMb - quarterMb));

    if (!wine) {
        std::printf("shell32.dll absent: its measures are skipped\n");
        return 0;
    }
    // sigil extract of shell32.dll beside wrestool.
    const double plainDll = plainReadSeconds({kShell32});
    const std::string out = fromQtPath(bench::scratchDir().path()) + "/extract";
    const auto freshOut = [&] {
        QDir(QString::fromStdString(out)).removeRecursively();
        QDir().mkpath(QString::fromStdString(out));
    };
    // Short runs: the best of five for each tool, so that neither figure is
    // one the machine happened to slow down.
    const Run extract = best(5, [&] {
        freshOut();
        return runChild({SIGIL_CLI_PATH, "extract", kShell32, "-o", out});
    });
    if (icoutils) {
        const Run wrestool = best(5, [&] {
            freshOut();
            return runChild({"wrestool", "-x", "--type=14", kShell32, "-o", out});
        });
        row("sigil extract shell32.dll: s", fmt("%.3f", extract.seconds),
            fmt("wrestool %.3f s", wrestool.seconds) + fmt(", read %.4f s", plainDll),
            fmt(">= 10 x faster (%.1f x)", wrestool.seconds / extract.seconds),
            wrestool.seconds >= 10 * extract.seconds);
    } else {
        row("sigil extract shell32.dll: s", fmt("%.3f", extract.seconds), fmt("read %.4f s", plainDll),
            "(icoutils absent)", false);
    }
    OpenResult dll;
    for (int i = 0; i < 3; ++i) {
        const OpenResult r = openChild(self, kShell32, 32, 800, 600);
        if (i == 0 || r.loadMs < dll.loadMs)
            dll = r;
    }
    row("program opens shell32.dll: ms", fmt("%.0f", dll.loadMs), fmt("read %.1f ms", plainDll * 1000), "< 100",
        dll.loadMs > 0 && dll.loadMs < 100);

    // sigil list of Wine's modules: only their headers and resource
    // sections need reading, so it may beat a plain read of the files.
    const std::string modules = QFileInfo(QString::fromStdString(kShell32)).path().toStdString();
    const std::vector<std::string> moduleFiles = sortedFiles(modules);
    const double plainModules = plainReadSeconds(moduleFiles);
    const Run listModules = best(2, [&] { return runChild({SIGIL_CLI_PATH, "list", modules}); });
    const std::string what = fmt("sigil list of %.0f Wine modules: s", double(moduleFiles.size()));
    std::printf("%-44s %-14s %-34s %s\n", what.c_str(), fmt("%.2f", listModules.seconds).c_str(),
                (fmt("read %.2f s", plainModules) +
                 fmt(" of %.0f MB", double(bench::totalSize(moduleFiles)) / (1024.0 * 1024.0)))
                    .c_str(),
                fmt("%.2f x read", listModules.seconds / plainModules).c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 4 && args[0] == "--measure")
        return measure(args);  // before anything else makes this process large
    if (args.size() == 6 && args[0] == "--open")
        keepFreedMemoryForReuse();  // as the program does
    QApplication app(argc, argv);
    if (args.size() == 6 && args[0] == "--open")
        return openInView(args[1], std::atoi(args[2].c_str()), std::atoi(args[3].c_str()), std::atoi(args[4].c_str()),
                          args[5]);
    selfPath = fromQtPath(QCoreApplication::applicationFilePath());
    return runAll(selfPath);
}
