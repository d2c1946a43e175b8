// Making icons, whole commands side by side in one run, each a child
// process timed from start to end (the best of several runs):
//   `sigil make app.svg -o app.ico` (10 sizes) beside rsvg-convert run once
//   per size and ImageMagick's convert joining the ten PNG files (goal: 5 x);
//   `sigil make big.png -o app.icns` (a 1024 x 1024 PNG) beside Pillow's
//   Image.save('app.icns') (goal: 3 x).
// The SVG is an application icon of gradients, a clip, a mask and a blurred
// shadow; the PNG is the same icon drawn at 1024. A tool that is not
// installed is named and its comparison left out.
// SIGIL_BENCH_RUNS sets the runs of each command (default 7).

#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "BenchFiles.h"
#include "imaging/PngCodec.h"
#include "imaging/SvgImage.h"
#include "platform/FileBytes.h"

extern char** environ;

using namespace sigil;

namespace {

const char* const kSvg = R"svg(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 256 256">
<defs>
 <linearGradient id="body" x1="0" y1="0" x2="0" y2="1">
  <stop offset="0" stop-color="#5b9df0"/><stop offset=".55" stop-color="#2c6bc9"/><stop offset="1" stop-color="#173f80"/>
 </linearGradient>
 <radialGradient id="shine" cx=".35" cy=".25" r=".6">
  <stop offset="0" stop-color="#fff" stop-opacity=".75"/><stop offset="1" stop-color="#fff" stop-opacity="0"/>
 </radialGradient>
 <linearGradient id="lens" x1="0" y1="0" x2="1" y2="1">
  <stop offset="0" stop-color="#ffe48a"/><stop offset="1" stop-color="#e08a1e"/>
 </linearGradient>
 <filter id="shadow" x="-20%" y="-20%" width="140%" height="140%">
  <feGaussianBlur in="SourceAlpha" stdDeviation="6"/><feOffset dy="6" result="b"/>
  <feComponentTransfer><feFuncA type="linear" slope=".45"/></feComponentTransfer>
  <feMerge><feMergeNode/><feMergeNode in="SourceGraphic"/></feMerge>
 </filter>
 <clipPath id="round"><rect x="20" y="20" width="216" height="216" rx="48"/></clipPath>
 <mask id="cut"><rect width="256" height="256" fill="#fff"/><circle cx="176" cy="176" r="26" fill="#000"/></mask>
</defs>
<g filter="url(#shadow)">
 <rect x="20" y="20" width="216" height="216" rx="48" fill="url(#body)"/>
 <g clip-path="url(#round)">
  <path d="M20 150 C 80 110 150 190 236 130 L 236 236 L 20 236 Z" fill="#0d2a5c" opacity=".35"/>
  <ellipse cx="100" cy="70" rx="120" ry="70" fill="url(#shine)"/>
 </g>
 <g mask="url(#cut)">
  <circle cx="120" cy="120" r="62" fill="url(#lens)" stroke="#fff" stroke-width="10"/>
  <path d="M120 78 l12 28 30 3 -23 20 7 30 -26 -16 -26 16 7 -30 -23 -20 30 -3 z" fill="#fff" opacity=".9"/>
 </g>
 <path d="M160 160 L214 214" stroke="#fff" stroke-width="22" stroke-linecap="round"/>
</g>
</svg>
)svg";

const int kIcoSizes[] = {16, 20, 24, 32, 40, 48, 64, 96, 128, 256};

struct Tools {
    std::string sigil = SIGIL_CLI_PATH;
    std::string rsvg = "/usr/bin/rsvg-convert";
    std::string convert = "/usr/bin/convert";  // ImageMagick's own, not a stand-in elsewhere in PATH
    std::string python = "/usr/bin/python3";   // Debian's, where Pillow is installed as python3-pil
};

bool executable(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).isExecutable();
}

// Runs a command with its output to /dev/null; false when it failed.
bool run(const std::vector<std::string>& argv)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    int status = 1;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0)
        waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Seconds of a chain of commands run one after another; negative when one
// failed.
double timeChain(const std::vector<std::vector<std::string>>& chain)
{
    QElapsedTimer clock;
    clock.start();
    for (const auto& argv : chain)
        if (!run(argv))
            return -1;
    return double(clock.nsecsElapsed()) / 1e9;
}

struct Comparison {
    const char* what;
    std::vector<std::vector<std::string>> ours;
    std::vector<std::vector<std::string>> theirs;
    const char* theirName;
    double goal;
};

// The best of `runs` of each, taken in turns so that both see the same
// machine.
void compare(const Comparison& c, int runs)
{
    double ours = 1e9, theirs = 1e9;
    for (int i = 0; i < runs; ++i) {
        const double a = timeChain(c.ours);
        const double b = c.theirs.empty() ? 1e9 : timeChain(c.theirs);
        if (a < 0 || b < 0) {
            std::printf("%-34s FAILED (%s)\n", c.what, a < 0 ? "sigil" : c.theirName);
            return;
        }
        ours = std::min(ours, a);
        theirs = std::min(theirs, b);
    }
    if (c.theirs.empty()) {
        std::printf("%-34s sigil %7.1f ms   (%s not installed)\n", c.what, ours * 1e3, c.theirName);
        return;
    }
    const double ratio = theirs / ours;
    std::printf("%-34s sigil %7.1f ms   %s %7.1f ms   %5.1f x faster (goal %.0f x: %s)\n", c.what, ours * 1e3,
                c.theirName, theirs * 1e3, ratio, c.goal, ratio >= c.goal ? "met" : "NOT met");
}

}  // namespace

int main()
{
    const Tools tools;
    const std::string dir = fromQtPath(bench::scratchDir().path());
    const std::string svg = dir + "/app.svg", big = dir + "/big.png";
    std::ofstream(svg) << kSvg;

    // The 1024 picture: the same icon, drawn by librsvg and encoded as PNG.
    std::string reason;
    const auto document = SvgImage::parse({reinterpret_cast<const uint8_t*>(kSvg), std::strlen(kSvg)}, reason);
    if (!document) {
        std::printf("cannot draw the test icon: %s\n", reason.c_str());
        return 1;
    }
    const RgbaImage picture = document->render(1024, 1024);
    const std::vector<uint8_t> png =
        encodePng(picture.bytes.data(), uint32_t(picture.width), uint32_t(picture.height), size_t(picture.stride));
    std::ofstream(big, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));

    const char* runsText = std::getenv("SIGIL_BENCH_RUNS");
    const int runs = runsText ? std::max(1, std::atoi(runsText)) : 7;
    std::printf("best of %d runs each, in turns\n", runs);

    Comparison ico{"make app.svg -o app.ico (10 sizes)",
                   {{tools.sigil, "make", svg, "-o", dir + "/app.ico"}},
                   {},
                   "rsvg-convert x10 + convert",
                   5};
    if (executable(tools.rsvg) && executable(tools.convert)) {
        std::vector<std::string> join{tools.convert};
        for (const int size : kIcoSizes) {
            const std::string out = dir + "/rsvg-" + std::to_string(size) + ".png";
            ico.theirs.push_back({tools.rsvg, "-w", std::to_string(size), "-h", std::to_string(size), "-o", out, svg});
            join.push_back(out);
        }
        join.push_back(dir + "/magick.ico");
        ico.theirs.push_back(join);
    }
    compare(ico, runs);

    Comparison icns{"make big.png -o app.icns (1024 PNG)",
                    {{tools.sigil, "make", big, "-o", dir + "/app.icns"}},
                    {},
                    "Pillow Image.save",
                    3};
    if (executable(tools.python) && run({tools.python, "-c", "import PIL"}))
        icns.theirs.push_back({tools.python, "-c",
                               "import sys\nfrom PIL import Image\nImage.open(sys.argv[1]).save(sys.argv[2])", big,
                               dir + "/pillow.icns"});
    compare(icns, runs);
    return 0;
}
