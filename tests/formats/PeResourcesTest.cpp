#include <gtest/gtest.h>

#include <functional>

#include "formats/PeResources.h"
#include "support/PeBuilder.h"

using namespace sigil;
using namespace sigil::test;

namespace {

std::vector<std::string> describe(const std::vector<ResourceName>& names)
{
    std::vector<std::string> out;
    for (const ResourceName& n : names)
        out.push_back(n.isId ? "#" + std::to_string(n.id) : n.text);
    return out;
}

Bytes bytesOf(std::optional<ByteView> view)
{
    return view ? Bytes(view->begin(), view->end()) : Bytes{0xDE, 0xAD};
}

class PeResourcesFormat : public ::testing::TestWithParam<bool> {};

TEST_P(PeResourcesFormat, NamesKeepTheStoredOrderAndFindGivesTheBytes)
{
    // Stored as added: text names first, numbers after; nothing re-sorted.
    PeBuilder builder(GetParam());
    builder.add(kRtGroupIcon, 7, {7, 7})
        .add(kRtGroupIcon, u"ZETA", {1})
        .add(kRtGroupIcon, 2, {2, 2})
        .add(kRtGroupIcon, u"アイコン", {3})
        .add(kRtIcon, 7, {4, 4, 4});
    const PeFile pe = builder.build();
    PeResources res;
    ASSERT_TRUE(res.load(pe.bytes));
    EXPECT_EQ(describe(res.names(kResourceGroupIcon)), (std::vector<std::string>{"ZETA", "アイコン", "#7", "#2"}));
    EXPECT_EQ(describe(res.names(kResourceIcon)), std::vector<std::string>{"#7"});
    EXPECT_TRUE(res.names(kResourceString).empty());

    EXPECT_EQ(bytesOf(res.find(kResourceGroupIcon, ResourceName::fromText("アイコン"))), Bytes{3});
    EXPECT_EQ(bytesOf(res.find(kResourceGroupIcon, 2)), (Bytes{2, 2}));
    EXPECT_EQ(bytesOf(res.find(kResourceIcon, 7)), (Bytes{4, 4, 4}));
    EXPECT_FALSE(res.find(kResourceIcon, 2));
    EXPECT_FALSE(res.find(kResourceGroupIcon, ResourceName::fromText("zeta")));
    EXPECT_FALSE(res.find(kResourceString, 1));
}

TEST_P(PeResourcesFormat, StringsByBlockAndEntry)
{
    PeBuilder builder(GetParam());
    builder.addStrings({{0, u"zero"}, {15, u"fifteen"}, {16, u"sixteen"}, {101, u"two\nlines"}, {200, u""}});
    builder.add(kRtString, 300 / 16 + 1, {3, 0, 'a', 0});  // claims 3 units, holds 1
    const PeFile pe = builder.build();
    PeResources res;
    ASSERT_TRUE(res.load(pe.bytes));
    EXPECT_EQ(res.loadString(0), u"zero");
    EXPECT_EQ(res.loadString(15), u"fifteen");
    EXPECT_EQ(res.loadString(16), u"sixteen");
    EXPECT_EQ(res.loadString(101), u"two\nlines");
    EXPECT_EQ(res.loadString(200), u"");
    EXPECT_EQ(res.loadString(102), u"");  // an unused entry of a stored block
    EXPECT_FALSE(res.loadString(5000));   // no such block
    EXPECT_FALSE(res.loadString(0xFFFFF));
    EXPECT_FALSE(res.loadString(288));  // entry 0 of the short block runs off it
    EXPECT_FALSE(res.loadString(289));
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, PeResourcesFormat, ::testing::Bool());

struct LanguageCase {
    std::vector<uint16_t> stored;
    uint16_t preferred;
    uint16_t chosen;
};

void PrintTo(const LanguageCase& c, std::ostream* os)
{
    *os << std::hex << "preferred " << c.preferred << ", expected " << c.chosen;
}

class LanguageChoice : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(LanguageChoice, PicksTheStoredLanguageByRank)
{
    const LanguageCase& c = GetParam();
    PeBuilder builder;
    for (const uint16_t lang : c.stored)
        builder.add(kRtIcon, 1, {uint8_t(lang), uint8_t(lang >> 8)}, lang);
    const PeFile pe = builder.build();
    PeResources res;
    ASSERT_TRUE(res.load(pe.bytes));
    // Lookups are indexed; a language set after one still takes effect.
    res.setPreferredLanguage(c.preferred == 0x0411 ? 0x0407 : 0x0411);
    ASSERT_TRUE(res.find(kResourceIcon, 1));
    res.setPreferredLanguage(c.preferred);
    EXPECT_EQ(bytesOf(res.find(kResourceIcon, 1)), (Bytes{uint8_t(c.chosen), uint8_t(c.chosen >> 8)}));
}

INSTANTIATE_TEST_SUITE_P(Ranks, LanguageChoice,
                         ::testing::Values(LanguageCase{{0x0409, 0x0000, 0x0411}, 0x0411, 0x0000},  // neutral first
                                           LanguageCase{{0x0409, 0x0011, 0x0411}, 0x0411, 0x0411},  // user's full id
                                           LanguageCase{{0x0409, 0x0011}, 0x0411, 0x0011},          // user's primary
                                           LanguageCase{{0x0407, 0x0009, 0x0409}, 0x0411, 0x0409},  // US English
                                           LanguageCase{{0x0407, 0x0009}, 0x0411, 0x0009},          // English
                                           LanguageCase{{0x0407, 0x040C}, 0x0411, 0x0407},          // first stored
                                           LanguageCase{{0x040C, 0x0407}, 0x0000, 0x040C},
                                           LanguageCase{{0x0409, 0x0809}, 0x0809, 0x0809},
                                           LanguageCase{{0x0C09, 0x0409, 0x0009}, 0x0809, 0x0009},
                                           LanguageCase{{0x0804}, 0x0000, 0x0804}));

TEST(WindowsLanguageId, CommonLocales)
{
    const std::pair<const char*, uint16_t> cases[] = {
        {"ja_JP", 0x0411},   {"en_US", 0x0409}, {"en_GB", 0x0809}, {"en_IN", 0x0409}, {"de_DE", 0x0407},
        {"de_AT", 0x0C07},   {"fr_FR", 0x040C}, {"fr_CA", 0x0C0C}, {"zh_CN", 0x0804}, {"zh_TW", 0x0404},
        {"zh_Hant", 0x0404}, {"zh_HK", 0x0C04}, {"ko_KR", 0x0412}, {"sw_KE", 0x0000},
    };
    for (const auto& [name, id] : cases)
        EXPECT_EQ(windowsLanguageId(QLocale(QString::fromLatin1(name))), id) << name;
}

// A small well-formed module whose headers the refusal cases break.
PeFile sampleModule()
{
    PeBuilder builder;
    builder.add(kRtGroupIcon, u"MAIN", {1, 2, 3}).add(kRtGroupIcon, 5, {5}).addStrings({{1, u"one"}});
    return builder.build();
}

struct Damage {
    const char* what;
    std::function<void(PeFile&)> apply;
};

void put16At(PeFile& pe, uint32_t at, uint16_t v)
{
    pe.bytes[at] = uint8_t(v);
    pe.bytes[at + 1] = uint8_t(v >> 8);
}

TEST(PeResourcesLoad, RefusesWhatIsNotAPeModule)
{
    const Damage cases[] = {
        {"no MZ", [](PeFile& pe) { pe.bytes[0] = 'Z'; }},
        {"new header past the end", [](PeFile& pe) { pe.put32At(0x3C, uint32_t(pe.bytes.size()) - 8); }},
        {"new header offset huge", [](PeFile& pe) { pe.put32At(0x3C, 0xFFFFFFF0); }},
        {"NE signature", [](PeFile& pe) { pe.bytes[0x80] = 'N', pe.bytes[0x81] = 'E'; }},
        {"PE without the zero bytes", [](PeFile& pe) { pe.bytes[0x82] = 'X'; }},
        {"ROM optional header", [](PeFile& pe) { put16At(pe, pe.optionalHeader, 0x107); }},
        {"optional header past the end", [](PeFile& pe) { put16At(pe, 0x80 + 20, 0xFFFF); }},
        {"section table past the end", [](PeFile& pe) { put16At(pe, 0x80 + 6, 0xFFFF); }},
        {"cut inside the section table", [](PeFile& pe) { pe.bytes.resize(pe.sectionTable + 79); }},
        {"cut inside the DOS header", [](PeFile& pe) { pe.bytes.resize(0x3F); }},
        {"empty", [](PeFile& pe) { pe.bytes.clear(); }},
    };
    for (const Damage& d : cases) {
        PeFile pe = sampleModule();
        d.apply(pe);
        PeResources res;
        EXPECT_FALSE(res.load(pe.bytes)) << d.what;
        EXPECT_TRUE(res.names(kResourceGroupIcon).empty()) << d.what;
    }
}

TEST(PeResourcesLoad, ModuleWithoutUsableResourceDirectoryHasNoResources)
{
    const uint32_t resourceField = 96 + 2 * 8;  // PE32 data directory 2
    const Damage cases[] = {
        {"two data directories", [](PeFile& pe) { pe.put32At(pe.optionalHeader + 92, 2); }},
        {"no resource directory", [=](PeFile& pe) { pe.put32At(pe.optionalHeader + resourceField, 0); }},
        {"directory outside every section", [=](PeFile& pe) { pe.put32At(pe.optionalHeader + resourceField, 0x9000); }},
        {"directory in the gap between sections",
         [=](PeFile& pe) { pe.put32At(pe.optionalHeader + resourceField, 0x2000); }},
        {"directory larger than its section",
         [=](PeFile& pe) { pe.put32At(pe.optionalHeader + resourceField + 4, 0x10000); }},
        {"section's raw data beyond the file", [](PeFile& pe) { pe.bytes.resize(pe.root + 0x20); }},
    };
    for (const Damage& d : cases) {
        PeFile pe = sampleModule();
        d.apply(pe);
        PeResources res;
        EXPECT_TRUE(res.load(pe.bytes)) << d.what;
        EXPECT_TRUE(res.names(kResourceGroupIcon).empty()) << d.what;
        EXPECT_FALSE(res.find(kResourceGroupIcon, 5)) << d.what;
        EXPECT_FALSE(res.loadString(1)) << d.what;
    }
}

TEST(PeResourcesDirectory, DamagedTablesAreRefusedWhereTheyAreMet)
{
    // nameTables: [group icons, strings]; languageTables: [MAIN, 5, string block 1].
    struct Case {
        const char* what;
        std::function<void(PeFile&)> apply;
        std::vector<std::string> names;
        bool findsFive;
        bool findsString = true;  // the string table shares only the root with the group icons
    };
    const std::vector<std::string> all{"MAIN", "#5"};
    const Case cases[] = {
        {"intact", [](PeFile&) {}, all, true},
        {"root count beyond the file", [](PeFile& pe) { pe.setCounts(pe.root, 0, 0xFFFF); }, {}, false, false},
        {"name table count beyond the file",
         [](PeFile& pe) { pe.setCounts(pe.nameTables[0], 0xFFFF, 0xFFFF); },
         {},
         false},
        {"type leads back to the root", [](PeFile& pe) { pe.setTarget(pe.root, 0, 0x80000000); }, {}, false},
        {"type leads to a data entry",
         [](PeFile& pe) { pe.setTarget(pe.root, 0, pe.relative(pe.dataEntries[0])); },
         {},
         false},
        {"name leads back to its own table",
         [](PeFile& pe) { pe.setTarget(pe.nameTables[0], 1, 0x80000000 | pe.relative(pe.nameTables[0])); }, all, false},
        {"name leads back to the root", [](PeFile& pe) { pe.setTarget(pe.nameTables[0], 1, 0x80000000); }, all, false},
        {"language leads back to the name table",
         [](PeFile& pe) { pe.setTarget(pe.languageTables[1], 0, 0x80000000 | pe.relative(pe.nameTables[0])); }, all,
         false},
        {"language leads to itself",
         [](PeFile& pe) { pe.setTarget(pe.languageTables[1], 0, 0x80000000 | pe.relative(pe.languageTables[1])); }, all,
         false},
        {"language table count beyond the file", [](PeFile& pe) { pe.setCounts(pe.languageTables[1], 0, 0x2000); }, all,
         false},
        {"data entry offset beyond the file", [](PeFile& pe) { pe.setTarget(pe.languageTables[1], 0, 0x7FFFFFF0); },
         all, false},
        {"data outside every section", [](PeFile& pe) { pe.put32At(pe.dataEntries[1], 0x9000); }, all, false},
        {"data crossing out of .text",
         [](PeFile& pe) {
             pe.put32At(pe.dataEntries[1], 0x1000 + 0x1FF);
             pe.put32At(pe.dataEntries[1] + 4, 2);
         },
         all, false},
        {"data size beyond the section", [](PeFile& pe) { pe.put32At(pe.dataEntries[1] + 4, 0x7FFFFFFF); }, all, false},
        {"text name beyond the file", [](PeFile& pe) { pe.put32At(pe.nameTables[0] + 16, 0xFFFFFFFF); }, {"#5"}, true},
        {"text name longer than the directory",
         [](PeFile& pe) {
             const uint32_t name = pe.root + (pe.bytes[pe.nameTables[0] + 16] | pe.bytes[pe.nameTables[0] + 17] << 8);
             pe.bytes[name] = 0xFF, pe.bytes[name + 1] = 0xFF;
         },
         {"#5"},
         true},
        {"text name with a lone surrogate",
         [](PeFile& pe) {
             const uint32_t name = pe.root + (pe.bytes[pe.nameTables[0] + 16] | pe.bytes[pe.nameTables[0] + 17] << 8);
             put16At(pe, name + 2, 0xD800);
         },
         {"#5"},
         true},
    };
    for (const Case& c : cases) {
        PeFile pe = sampleModule();
        c.apply(pe);
        PeResources res;
        ASSERT_TRUE(res.load(pe.bytes)) << c.what;
        EXPECT_EQ(describe(res.names(kResourceGroupIcon)), c.names) << c.what;
        EXPECT_EQ(res.find(kResourceGroupIcon, 5).has_value(), c.findsFive) << c.what;
        EXPECT_EQ(res.loadString(1).has_value(), c.findsString) << c.what;
    }
}

TEST(PeResourcesDirectory, TruncatedFilesNeverGiveBytesBeyondTheCut)
{
    const PeFile pe = sampleModule();
    const size_t full = pe.bytes.size();
    for (size_t cut = 0; cut <= full; ++cut) {
        const ByteView file(pe.bytes.data(), cut);
        PeResources res;
        EXPECT_EQ(res.load(file), cut >= pe.sectionTable + 80) << cut;
        for (const ResourceName& name : res.names(kResourceGroupIcon)) {
            if (const auto data = res.find(kResourceGroupIcon, name)) {
                EXPECT_LE(data->data() + data->size(), file.data() + file.size()) << cut;
            }
        }
        if (const auto text = res.loadString(1)) {
            EXPECT_EQ(*text, u"one") << cut;
        }
    }
}

}  // namespace
