// The icon view as a user meets it: the time from opening a folder of a
// few thousand icons, or a large DLL, to the load job's finishedMessage,
// and the time of one full repaint at display sizes 16 and 256.
// SIGIL_BENCH_MODULE names the DLL (default: Wine's shell32.dll, else a
// generated library of the same shape).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdlib>

#include "BenchFiles.h"
#include "formats/IconFile.h"
#include "formats/LibraryWriter.h"
#include "platform/FileBytes.h"
#include "platform/SettingsFile.h"
#include "settings/DisplaySettingsFile.h"
#include "settings/GeneralSettings.h"
#include "view/CIconView.h"

using namespace sigil;

namespace {

IconEntry usualIcon(int seed)
{
    IconEntry e;
    for (int size : {16, 32, 48})
        for (int bits : {4, 8, 32})
            e.addDevice(size, size, bits);
    for (IconDevice& d : e.devices)
        d.blockData()[d.allocatedBytes() / 2] = uint8_t(seed);
    return e;
}

// 3000 icon files of nine devices each.
const std::string& iconFolder()
{
    static const std::string folder = [] {
        const std::string path = fromQtPath(bench::scratchDir().path()) + "/icons";
        QDir().mkpath(toQtPath(path));
        for (int i = 0; i < 3000; ++i)
            writeIconFile(usualIcon(i), path + "/icon" + std::to_string(i) + ".ico");
        return path;
    }();
    return folder;
}

struct ViewRig {
    SettingsFile file;
    GeneralSettings general;
    DisplaySettings display;
    IconLibrary library;
    std::unique_ptr<LibraryDocument> document;
    std::unique_ptr<CIconView> view;
    explicit ViewRig(int size)
    {
        file.setPath(fromQtPath(bench::scratchDir().path()) + "/Tamberly.ini");
        general.load(file);
        loadDisplaySettings(display, file, "Sigilscope");
        display.iconSize = size;
        general.horizontal = 1;
        document = std::make_unique<LibraryDocument>(library, general, display);
        view = std::make_unique<CIconView>(*document, file);
        view->resize(1280, 800);
        view->show();  // a hidden widget does not paint
        view->initialUpdate({});
    }
    void loadToFinished(const std::string& path)
    {
        document->openPath(path);
        while (view->loading())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
};

void BM_OpenFolderToFinished(benchmark::State& state)
{
    const std::string& folder = iconFolder();
    ViewRig rig(32);
    for (auto _ : state) {
        rig.loadToFinished(folder);
        benchmark::DoNotOptimize(rig.library.size());
    }
    state.counters["icons/s"] =
        benchmark::Counter(double(rig.library.size()) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OpenFolderToFinished)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenModuleToFinished(benchmark::State& state)
{
    ViewRig rig(32);
    for (auto _ : state) {
        rig.loadToFinished(bench::largeModulePath());
        benchmark::DoNotOptimize(rig.library.size());
    }
    state.counters["icons/s"] =
        benchmark::Counter(double(rig.library.size()) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OpenModuleToFinished)->Unit(benchmark::kMillisecond)->UseRealTime();

// One full repaint of a 1280 x 800 view over 20 000 icons. With Arg 1 every
// repaint first drops the display images, as a size or colour change does.
void BM_FullRepaint(benchmark::State& state)
{
    const int size = int(state.range(0));
    const bool cold = state.range(1) != 0;
    ViewRig local(size);
    for (int i = 0; i < 20000; ++i)
        local.library.appendIcon(std::make_unique<IconEntry>(usualIcon(i)));
    local.view->updateScrollSizes();
    local.view->selectIcon(0);
    for (auto _ : state) {
        if (cold)
            local.view->applyDisplaySize();
        // Renders the viewport as a paint event would, shown or not.
        benchmark::DoNotOptimize(local.view->viewport()->grab());
    }
}
BENCHMARK(BM_FullRepaint)->Args({16, 0})->Args({16, 1})->Args({256, 0})->Args({256, 1})->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
