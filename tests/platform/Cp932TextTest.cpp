#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "platform/Cp932Text.h"

using namespace sigil;

namespace {

std::span<const uint8_t> bytesOf(const std::string& s)
{
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

std::string roundTrip(const std::string& name, size_t maxBytes = 255)
{
    return decodeNeName(bytesOf(encodeNeName(name, maxBytes)));
}

struct NameCase {
    const char* label;
    std::string name;
    std::string stored;  // the bytes encodeNeName gives
};

class StoredNames : public testing::TestWithParam<NameCase> {};

TEST_P(StoredNames, EncodeGivesTheseBytesAndDecodeGivesTheNameBack)
{
    const NameCase& c = GetParam();
    EXPECT_EQ(encodeNeName(c.name), c.stored);
    EXPECT_EQ(decodeNeName(bytesOf(c.stored)), c.name);
}

INSTANTIATE_TEST_SUITE_P(Cases, StoredNames,
                         testing::Values(NameCase{"ascii", "icon 1\\~", "icon 1\\~"}, NameCase{"empty", "", ""},
                                         NameCase{"katakana", "アイコン", "\x83\x41\x83\x43\x83\x52\x83\x93"},
                                         NameCase{"halfwidth", "ﾓﾉｸﾛ", "\xD3\xC9\xB8\xDB"},
                                         NameCase{"kanji", "漢字", "\x8A\xBF\x8E\x9A"},
                                         NameCase{"greekInCp932", "Ελληνικα",
                                                  "\x83\xA3\x83\xC9\x83\xC9\x83\xC5\x83\xCB\x83\xC7\x83\xC8\x83\xBF"},
                                         // No code in the code page: kept as UTF-8.
                                         NameCase{"latin", "Ünïcødé ✓", "Ünïcødé ✓"},
                                         NameCase{"greekAccents", "Ελληνικά", "Ελληνικά"},
                                         NameCase{"mixed", "アイコン✓", "アイコン✓"},
                                         // Codes that read back as another character: yen sign as
                                         // backslash, wave dash as fullwidth tilde.
                                         NameCase{"yen", "¥100", "¥100"}, NameCase{"waveDash", "1〜2", "1〜2"},
                                         // Code page 932 bytes C3 81 40 are also the UTF-8 text "Á@".
                                         NameCase{"cp932LooksLikeUtf8", "ﾃ　", "ﾃ　"}),
                         [](const auto& info) { return std::string(info.param.label); });

struct DecodeCase {
    const char* label;
    std::string bytes;
    std::string text;
};

class DecodedNames : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodedNames, BytesGiveThisText)
{
    EXPECT_EQ(decodeNeName(bytesOf(GetParam().bytes)), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, DecodedNames,
                         testing::Values(DecodeCase{"cp932", "\x8A\xBF\x8E\x9A", "漢字"},
                                         DecodeCase{"utf8", "Ünï", "Ünï"},
                                         DecodeCase{"badSingleByte",
                                                    "A\x80"
                                                    "B",
                                                    "A\uFFFDB"},
                                         DecodeCase{"badBytesInARow", "\xFD\xFE\xFF", "\uFFFD\uFFFD\uFFFD"},
                                         DecodeCase{"leadByteAtEnd", "ab\x83", "ab\uFFFD"},
                                         DecodeCase{"badTrailByte", "\x83\x20x", "\uFFFD x"},
                                         // Not UTF-8 (an overlong slash): read as code page 932, half-width kana.
                                         DecodeCase{"overlongUtf8", "\xC0\xAF", "ﾀｯ"}),
                         [](const auto& info) { return std::string(info.param.label); });

struct CutCase {
    const char* label;
    std::string name;
    size_t maxBytes;
    size_t storedBytes;
    std::string readBack;
};

class CutNames : public testing::TestWithParam<CutCase> {};

TEST_P(CutNames, CutBetweenCharacters)
{
    const CutCase& c = GetParam();
    const std::string stored = encodeNeName(c.name, c.maxBytes);
    EXPECT_EQ(stored.size(), c.storedBytes);
    EXPECT_EQ(decodeNeName(bytesOf(stored)), c.readBack);
}

std::string repeat(const std::string& s, int n)
{
    std::string r;
    for (int i = 0; i < n; ++i)
        r += s;
    return r;
}

INSTANTIATE_TEST_SUITE_P(Cases, CutNames,
                         testing::Values(CutCase{"cp932Pair", "アイコン", 7, 6, "アイコ"},
                                         CutCase{"cp932Exact", "アイコン", 8, 8, "アイコン"},
                                         CutCase{"halfwidthAfterPair", "アｱｲ", 3, 3, "アｱ"},
                                         CutCase{"nothingFits", "ア", 1, 0, ""},
                                         CutCase{"utf8Sequence", "a✓✓", 5, 4, "a✓"},
                                         CutCase{"ascii", "abc", 2, 2, "ab"},
                                         // 300 bytes in the code page, 450 as UTF-8.
                                         CutCase{"longJapanese", repeat("ア", 150), 255, 254, repeat("ア", 127)},
                                         CutCase{"longUtf8", "a" + repeat("✓", 100), 255, 253, "a" + repeat("✓", 84)}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(NeNames, NotUtf8InMemoryIsStoredAsItIs)
{
    // A name from a file system that is not UTF-8 cannot be converted; it is
    // stored unchanged and cut as single bytes.
    const std::string raw = "ab\xFF\xFE";
    EXPECT_EQ(encodeNeName(raw), raw);
    EXPECT_EQ(encodeNeName(raw, 3), "ab\xFF");
}

// Names from a mix of characters, some with codes in the code page, some
// without, some whose codes read back as others.
std::string randomName(std::mt19937& rng)
{
    static const std::vector<std::string> pieces = {"a", "Z", "\\", "~", " ", "ア", "ｱ",  "ﾞ", "漢", "α", "Ω",
                                                    "ά", "Ü", "✓",  "😀", "¥", "〜", "　", "ﾃ", "−",  "―", "①"};
    std::uniform_int_distribution<size_t> length(0, 120);
    std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
    std::string name;
    for (size_t n = length(rng); n > 0; --n)
        name += pieces[pick(rng)];
    return name;
}

TEST(NeNames, EveryNameSurvivesOrReadsBackAsItsBeginning)
{
    std::mt19937 rng(932);
    for (int i = 0; i < 3000; ++i) {
        const std::string name = randomName(rng);
        const std::string stored = encodeNeName(name);
        ASSERT_LE(stored.size(), 255u);
        const std::string back = decodeNeName(bytesOf(stored));
        if (name.size() <= 255)
            ASSERT_EQ(back, name);
        else
            ASSERT_EQ(name.compare(0, back.size(), back), 0) << name;
    }
}

TEST(NeNames, ThreadsConvertAtTheSameTime)
{
    const std::vector<std::string> names = {"アイコン", "Ünïcødé ✓", "漢字ﾓﾉｸﾛ", "¥〜", "plain"};
    std::vector<int> failures(4, 0);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < failures.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 2000; ++i) {
                const std::string& name = names[(t + size_t(i)) % names.size()];
                if (roundTrip(name) != name)
                    ++failures[t];
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

}  // namespace
