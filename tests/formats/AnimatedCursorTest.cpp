#include <gtest/gtest.h>

#include "support/DeviceMaker.h"

#include <algorithm>

#include "formats/AnimatedCursor.h"
#include "support/LoadRecorder.h"
#include "support/RiffBytes.h"
#include "support/TempDir.h"

using namespace sigil;
using namespace sigil::test;

namespace {

const std::string kPath = "/anims/B.ani";

bool readBytes(IconLibrary& lib, const Bytes& bytes, LoadControl* control = nullptr)
{
    return readAnimatedCursorBytes(lib, bytes, kPath, "B", control);
}

// The widest device of every icon read, in library order: frames in the
// tests differ by size, so this tells which frames were read.
std::vector<int> frameWidths(const IconLibrary& lib)
{
    std::vector<int> widths;
    for (int i = 0; i < lib.size(); ++i)
        widths.push_back(lib.at(i).deviceCount() ? lib.at(i).devices.back().width : 0);
    return widths;
}

std::vector<int> readWidths(const Bytes& bytes)
{
    IconLibrary lib;
    EXPECT_TRUE(readBytes(lib, bytes));
    return frameWidths(lib);
}

// `depth` lists, one inside the other, around `inner`, built in one pass so
// very deep nests stay cheap to make.
Bytes nestedLists(size_t depth, const Bytes& inner)
{
    Bytes out;
    for (size_t level = 0; level < depth; ++level) {
        append(out, {'L', 'I', 'S', 'T'});
        put32(out, uint32_t(4 + 12 * (depth - level - 1) + inner.size()));
        append(out, {'f', 'r', 'a', 'm'});
    }
    append(out, inner);
    return out;
}

TEST(AnimatedCursor, FramesOfAListAreNamedAfterTheFileAndNumbered)
{
    TempDir dir;
    const std::string path = dir.file("B.ani");
    const Bytes twoSizes = icoFile({iconImage(32, 32, 4), iconImage(16, 16, 8)}, 2);
    ASSERT_TRUE(writeFile(path, aniFile({iconFrame(16), twoSizes, iconFrame(48)})));
    IconLibrary lib;
    LoadRecorder rec;
    lib.setLoadObserver(&rec);
    ASSERT_TRUE(readAnimatedCursor(lib, path, "B"));

    ASSERT_EQ(lib.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const IconEntry& e = lib.at(i);
        EXPECT_EQ(e.name, "B_" + std::to_string(i));
        EXPECT_EQ(e.source, path + "," + std::to_string(i));
        EXPECT_EQ(e.current, e.deviceCount() - 1);
        EXPECT_TRUE(test::drawable(e));
    }
    // The two-image frame is sorted into canonical order.
    ASSERT_EQ(lib.at(1).deviceCount(), 2);
    EXPECT_EQ(lib.at(1).devices[0].width, 16);
    EXPECT_EQ(lib.at(1).devices[1].width, 32);
    EXPECT_EQ(rec.added, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(lib.deviceTotal(), 4);
}

TEST(AnimatedCursor, MissingFileIsRefused)
{
    TempDir dir;
    IconLibrary lib;
    EXPECT_FALSE(readAnimatedCursor(lib, dir.file("none.ani"), "none"));
}

struct IdCase {
    const char* riff;
    const char* list;
    const char* icon;
};

class AnimatedCursorIds : public testing::TestWithParam<IdCase> {};

TEST_P(AnimatedCursorIds, IdentifiersMatchInAnyCase)
{
    const IdCase c = GetParam();
    const Bytes file =
        riffFile({riffList({riffChunk(c.icon, iconFrame(16)), riffChunk(c.icon, iconFrame(32))}, c.list)}, c.riff);
    EXPECT_EQ(readWidths(file), (std::vector<int>{16, 32}));
}

INSTANTIATE_TEST_SUITE_P(Cases, AnimatedCursorIds,
                         testing::Values(IdCase{"RIFF", "LIST", "icon"}, IdCase{"riff", "list", "ICON"},
                                         IdCase{"RiFf", "lIsT", "IcOn"}));

TEST(AnimatedCursor, AnythingButRiffIsRefused)
{
    const Bytes good = aniFile({iconFrame(16)});
    for (const std::string id : {"RIFX", "RIF ", "FFIR", "XRIF"}) {
        Bytes bad = good;
        std::copy(id.begin(), id.end(), bad.begin());
        IconLibrary lib;
        EXPECT_FALSE(readBytes(lib, bad)) << id;
        EXPECT_TRUE(lib.empty()) << id;
    }
    for (const Bytes& tiny : {Bytes{}, Bytes{'R', 'I', 'F'}}) {
        IconLibrary lib;
        EXPECT_FALSE(readBytes(lib, tiny));
    }
}

TEST(AnimatedCursor, RiffWithoutIconChunksAnswersTrueAndAddsNothing)
{
    const std::vector<Bytes> files = {
        riffFile({riffChunk("anih", Bytes(36, 0)), riffChunk("rate", Bytes(8, 1)), riffList({}, "LIST", "INFO")}),
        riffFile({}),
        Bytes{'R', 'I', 'F', 'F'},
        Bytes{'R', 'I', 'F', 'F', 0xFF, 0xFF},
    };
    for (const Bytes& file : files) {
        IconLibrary lib;
        LoadRecorder rec;
        lib.setLoadObserver(&rec);
        EXPECT_TRUE(readBytes(lib, file));
        EXPECT_TRUE(lib.empty());
        EXPECT_TRUE(rec.added.empty());
    }
}

TEST(AnimatedCursor, RiffSizeBeyondTheFileIsCutToTheFile)
{
    const std::vector<Bytes> frames = {riffChunk("icon", iconFrame(16)), riffChunk("icon", iconFrame(32))};
    // 0xFFFFFFF8 + 8 overflows 32 bits: the comparison must not wrap.
    for (const uint32_t size : {0xFFFFFFFFu, 0xFFFFFFF8u, 0x7FFFFFFFu}) {
        EXPECT_EQ(readWidths(riffFile(frames, "RIFF", size)), (std::vector<int>{16, 32})) << size;
    }
}

TEST(AnimatedCursor, ChunksPastTheRiffSizeAreNotRead)
{
    const Bytes first = riffChunk("icon", iconFrame(16));
    const Bytes second = riffChunk("icon", iconFrame(32));
    EXPECT_EQ(readWidths(riffFile({first, second}, "RIFF", uint32_t(4 + first.size()))), std::vector<int>{16});
    // A chunk that begins below the size is read whole.
    EXPECT_EQ(readWidths(riffFile({first, second}, "RIFF", uint32_t(5 + first.size()))), (std::vector<int>{16, 32}));
    EXPECT_TRUE(readWidths(riffFile({first, second}, "RIFF", 4)).empty());
}

TEST(AnimatedCursor, OddSizedChunksAreSkippedWithTheirPadByte)
{
    Bytes oddFrame = iconFrame(24);
    oddFrame.push_back(0xEE);  // trailing byte after the icon file: odd chunk
    const Bytes file = riffFile({
        riffChunk("rate", {1, 2, 3}),
        riffList({riffChunk("seq ", {7}), riffChunk("icon", iconFrame(16)), riffChunk("junk", {9, 9, 9, 9, 9}),
                  riffChunk("icon", oddFrame), riffChunk("icon", iconFrame(32))}),
        riffChunk("INAM", {'x'}),
        riffChunk("icon", iconFrame(48)),
    });
    EXPECT_EQ(readWidths(file), (std::vector<int>{16, 24, 32, 48}));
}

TEST(AnimatedCursor, UnusableFrameIsDroppedAndTheNextTakesItsNumber)
{
    Bytes refused = iconImage(16, 16, 4);
    putU32(refused.data(), 108);  // header size other than 40
    IconLibrary lib;
    ASSERT_TRUE(readBytes(lib, aniFile({iconFrame(16), icoFile({refused}), Bytes{1, 2, 3}, Bytes{}, iconFrame(32)})));
    EXPECT_EQ(frameWidths(lib), (std::vector<int>{16, 32}));
    ASSERT_EQ(lib.size(), 2);
    EXPECT_EQ(lib.at(1).name, "B_1");
    EXPECT_EQ(lib.at(1).source, kPath + ",1");
}

TEST(AnimatedCursor, IconDataCannotReadPastItsChunk)
{
    // A frame whose directory claims a million bytes for its image: only
    // its own chunk is given up, and the next frame is still found.
    const Bytes liar = icoFile({iconImage(16, 16, 4)}, 2, {1000000});
    EXPECT_EQ(readWidths(aniFile({liar, iconFrame(32)})), (std::vector<int>{16, 32}));
    // A frame cut short inside its chunk keeps the bytes it has and reads
    // zeros for the rest, not the bytes of the chunk after it.
    Bytes cut = icoFile({iconImage(48, 48, 4, 0x11, 0xAA)});
    cut.resize(cut.size() - 100);
    IconLibrary lib;
    ASSERT_TRUE(readBytes(lib, aniFile({cut, iconFrame(32)})));
    ASSERT_EQ(frameWidths(lib), (std::vector<int>{48, 32}));
    const ByteView block = lib.at(0).devices[0].blockView();
    EXPECT_EQ(block[block.size() - 101], 0xAA);
    EXPECT_TRUE(std::all_of(block.end() - 100, block.end(), [](uint8_t b) { return b == 0; }));
}

TEST(AnimatedCursor, IconChunkShorterThanItsIconIsReadWhole)
{
    // The icon is read on the file and the walk goes on where it ended,
    // which holds the next chunk; the declared end would be inside the icon.
    const Bytes first = iconFrame(16);
    for (const uint32_t declared : {0u, 6u, 22u, uint32_t(first.size() - 2)}) {
        const Bytes file = riffFile({riffList({riffChunk("icon", first, declared), riffChunk("icon", iconFrame(32))}),
                                     riffChunk("icon", iconFrame(48))});
        EXPECT_EQ(readWidths(file), (std::vector<int>{16, 32, 48})) << declared;
    }
}

TEST(AnimatedCursor, CutChunkHeaderEndsTheWalkKeepingEarlierFrames)
{
    const Bytes whole = aniFile({iconFrame(16), iconFrame(32)});
    const Bytes oneFrame = aniFile({iconFrame(16)});
    // The list still claims two frames; its second chunk header is cut.
    Bytes cut = whole;
    cut.resize(oneFrame.size() + 5);
    EXPECT_EQ(readWidths(cut), std::vector<int>{16});
    // Every prefix of the file is read without harm, and a longer prefix
    // never yields fewer frames.
    size_t previous = 0;
    for (size_t n = 4; n <= whole.size(); ++n) {
        IconLibrary lib;
        ASSERT_TRUE(readBytes(lib, Bytes(whole.begin(), whole.begin() + std::ptrdiff_t(n))));
        ASSERT_GE(size_t(lib.size()), previous) << n;
        previous = size_t(lib.size());
    }
    EXPECT_EQ(previous, 2u);
}

TEST(AnimatedCursor, ZeroSizedChunksStillMakeProgress)
{
    std::vector<Bytes> chunks(1000, riffChunk("junk", {}));
    chunks.push_back(riffChunk("icon", {}));
    chunks.push_back(riffChunk("icon", iconFrame(16)));
    chunks.push_back(riffChunk("LIST", {}));  // not even a list type
    EXPECT_EQ(readWidths(riffFile(chunks, "RIFF", 0xFFFFFFFF)), std::vector<int>{16});
}

TEST(AnimatedCursor, NestedListsAreWalkedDepthFirst)
{
    const Bytes file = riffFile({
        riffChunk("icon", iconFrame(16)),
        riffList({riffChunk("icon", iconFrame(24)), riffList({riffChunk("icon", iconFrame(32))}, "list", "INFO"),
                  riffChunk("icon", iconFrame(48))}),
        nestedLists(20, riffChunk("icon", iconFrame(64))),
        riffChunk("icon", iconFrame(8)),
    });
    EXPECT_EQ(readWidths(file), (std::vector<int>{16, 24, 32, 48, 64, 8}));
}

TEST(AnimatedCursor, VeryDeepNestingEndsAndTheWalkGoesOn)
{
    // Far deeper than any real file: the innermost frame is given up, but
    // the walk neither exhausts the stack nor loses the frames after it.
    const Bytes file =
        riffFile({nestedLists(200000, riffChunk("icon", iconFrame(16))), riffChunk("icon", iconFrame(32))});
    EXPECT_EQ(readWidths(file), std::vector<int>{32});
}

struct CancelCase {
    const char* what;
    bool stopBefore;
    int requestsOnFirstFrame;
    int frames;
};

class AnimatedCursorCancel : public testing::TestWithParam<CancelCase> {};

TEST_P(AnimatedCursorCancel, OnlyAStopEndsTheFile)
{
    const CancelCase c = GetParam();
    IconLibrary lib;
    LoadControl control;
    LoadRecorder rec;
    rec.onAdded = [&](int index) {
        for (int i = 0; index == 0 && i < c.requestsOnFirstFrame; ++i)
            control.requestCancel();
    };
    lib.setLoadObserver(&rec);
    control.stopRequested = c.stopBefore;
    EXPECT_TRUE(readBytes(lib, aniFile({iconFrame(16), iconFrame(24), iconFrame(32)}), &control));
    EXPECT_EQ(lib.size(), c.frames);
    EXPECT_EQ(lib.deviceTotal(), c.frames);
}

INSTANTIATE_TEST_SUITE_P(Cases, AnimatedCursorCancel,
                         testing::Values(CancelCase{"none", false, 0, 3}, CancelCase{"cancel", false, 1, 3},
                                         CancelCase{"stop", false, 2, 1}, CancelCase{"stopBefore", true, 0, 0}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST(AnimatedCursor, RealAnimationReadsEveryFrame)
{
    const std::string path = corpusFile("gdk-pixbuf/test-animation.ani");
    if (path.empty())
        GTEST_SKIP() << "corpus not present";
    IconLibrary lib;
    ASSERT_TRUE(readAnimatedCursor(lib, path, "test-animation"));
    // Its header announces 18 frames, each a 32 x 32 and a 48 x 48 image
    // at 32 bits.
    ASSERT_EQ(lib.size(), 18);
    EXPECT_EQ(lib.deviceTotal(), 36);
    for (int i = 0; i < lib.size(); ++i) {
        const IconEntry& e = lib.at(i);
        EXPECT_EQ(e.name, "test-animation_" + std::to_string(i));
        ASSERT_EQ(e.deviceCount(), 2);
        EXPECT_EQ(e.devices[0].width, 32);
        EXPECT_EQ(e.devices[1].width, 48);
        EXPECT_EQ(e.devices[1].bitCount, 32);
        EXPECT_TRUE(test::drawable(e));
    }
}

}  // namespace
