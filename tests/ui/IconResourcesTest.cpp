#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <set>

#include "support/PeBuilder.h"
#include "support/TempDir.h"
#include "ui/CommandIconTable.h"
#include "ui/IconIds.h"
#include "ui/IconResources.h"

using namespace sigil;
using namespace sigil::test;

namespace {

std::vector<int> usedIds()
{
    std::set<int> ids = {icons::kApplication,   icons::kPropertyWindow,    icons::kFolderChooser,
                         icons::kDefaultButton, icons::kStatusDescription, icons::kStatusDisplaySize};
    for (const icons::IconPair pair : icons::allIconPairs()) {
        ids.insert(pair.normal);
        ids.insert(pair.hot);
    }
    return {ids.begin(), ids.end()};
}

QImage imageOf(const QPixmap& pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

int opaquePixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += qAlpha(image.pixel(x, y)) > 0;
    return n;
}

bool sameImage(const QPixmap& a, const QPixmap& b)
{
    return !a.isNull() && imageOf(a) == imageOf(b);
}

TEST(OwnIcons, TheSetHoldsExactlyTheIconsTheProgramUses)
{
    EXPECT_EQ(IconResources::ownIconIds(), usedIds());
}

TEST(OwnIcons, EveryIconIsDrawnAtEveryToolbarSize)
{
    const IconResources resources;
    for (const int id : usedIds()) {
        ASSERT_TRUE(resources.hasIcon(id)) << id;
        for (const int size : {16, 24, 32}) {
            const QImage image = imageOf(resources.pixmap(id, size));
            ASSERT_EQ(image.size(), QSize(size, size)) << id << " at " << size;
            // A drawing, not a speck: at least an eighth of the square is covered.
            EXPECT_GE(opaquePixels(image), size * size / 8) << id << " at " << size;
        }
        const QIcon icon = resources.icon(id);
        const QList<QSize> sizes = icon.availableSizes();
        for (const int size : IconResources::kIconSizes)
            EXPECT_TRUE(sizes.contains(QSize(size, size))) << id << " lacks " << size;
    }
}

TEST(OwnIcons, HotIconsDifferFromTheirNormalIcons)
{
    const IconResources resources;
    for (const icons::IconPair pair : icons::allIconPairs()) {
        for (const int size : {16, 32})
            EXPECT_FALSE(sameImage(resources.pixmap(pair.normal, size), resources.pixmap(pair.hot, size)))
                << pair.normal << "/" << pair.hot << " at " << size;
    }
}

TEST(OwnIcons, UnknownNumbersGiveNothing)
{
    const IconResources resources;
    for (const int id : {0, 99, 117, 199, 288, -1}) {
        EXPECT_FALSE(resources.hasIcon(id)) << id;
        EXPECT_TRUE(resources.icon(id).isNull()) << id;
        EXPECT_TRUE(resources.pixmap(id, 16).isNull()) << id;
    }
    EXPECT_TRUE(resources.pixmap(218, 0).isNull());
}

TEST(OwnIcons, LogoIsDrawnAt300By60)
{
    const QImage logo = imageOf(IconResources().logo());
    ASSERT_EQ(logo.size(), QSize(300, 60));
    EXPECT_GE(opaquePixels(logo), 300 * 60 / 10);
}

TEST(CommandIcons, EveryRowIsFoundByItsCommand)
{
    std::set<int> commands;
    std::set<int> iconIds;
    for (const CommandIcon& row : CommandIconTable::rows()) {
        EXPECT_TRUE(commands.insert(row.command).second) << row.command;
        EXPECT_TRUE(iconIds.insert(row.icon).second) << row.icon;
        EXPECT_TRUE(iconIds.insert(row.hotIcon).second) << row.hotIcon;
        const CommandIcon* found = CommandIconTable::find(row.command);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->icon, row.icon);
    }
    EXPECT_EQ(commands.size(), 31u);
    const CommandIcon* shortcuts = CommandIconTable::find(33013);
    ASSERT_NE(shortcuts, nullptr);
    EXPECT_EQ(shortcuts->icon, 253);
    EXPECT_EQ(shortcuts->hotIcon, 252);
    for (const int command : {0, 1, 32981, 32773, 57666})
        EXPECT_EQ(CommandIconTable::find(command), nullptr) << command;
}

// A library carrying its own 218 (settings) at 16 and 32 pixels, plus icons
// under numbers it may not replace: the application's and a property button's.
PeFile runesetModule()
{
    PeBuilder builder;
    builder.addIconGroup(218, {iconImage(32, 32, 24, 0x40), iconImage(16, 16, 24, 0x40)}, 1)
        .addIconGroup(icons::kApplication, {iconImage(16, 16, 24, 0x40)}, 10)
        .addIconGroup(icons::kZoom.normal, {iconImage(16, 16, 24, 0x40)}, 20);
    return builder.build();
}

class Runeset : public ::testing::Test {
protected:
    void put(const Bytes& bytes) { ASSERT_TRUE(writeFile(dir.file(IconResources::kLibraryFileName), bytes)); }
    QString folder() const { return QString::fromStdString(dir.path()); }

    TempDir dir;
    const IconResources own;
};

TEST_F(Runeset, ReplacesTheIconsItCarriesAndNoOthers)
{
    put(runesetModule().bytes);
    IconResources resources;
    ASSERT_TRUE(resources.loadLibrary(folder()));
    EXPECT_TRUE(resources.usingRuneset());

    for (const int size : {16, 24, 32}) {
        const QImage image = imageOf(resources.pixmap(218, size));
        ASSERT_EQ(image.size(), QSize(size, size));
        EXPECT_EQ(image.pixel(size / 2, size / 2), qRgb(0x40, 0x40, 0x40)) << size;
        EXPECT_EQ(opaquePixels(image), size * size) << size;
    }
    QList<QSize> sizes = resources.icon(218).availableSizes();
    std::sort(sizes.begin(), sizes.end(), [](QSize a, QSize b) { return a.width() < b.width(); });
    EXPECT_EQ(sizes, (QList<QSize>{{16, 16}, {32, 32}}));

    for (const int id : usedIds()) {
        if (id != 218) {
            EXPECT_TRUE(sameImage(resources.pixmap(id, 16), own.pixmap(id, 16))) << id;
        }
    }

    resources.releaseLibrary();
    EXPECT_FALSE(resources.usingRuneset());
    EXPECT_TRUE(sameImage(resources.pixmap(218, 16), own.pixmap(218, 16)));
}

TEST_F(Runeset, MissingOrDamagedLibraryFallsBackToTheProgramsIcons)
{
    const PeFile good = runesetModule();
    const struct {
        const char* what;
        std::optional<Bytes> file;
        bool loads;
    } cases[] = {
        {"no library", std::nullopt, false},
        {"empty file", Bytes{}, false},
        {"an icon file under that name", icoFile({iconImage(16, 16, 4)}), false},
        {"cut inside the headers", Bytes(good.bytes.begin(), good.bytes.begin() + good.sectionTable + 20), false},
        {"cut inside the resources", Bytes(good.bytes.begin(), good.bytes.begin() + good.root + 40), true},
        {"no resources at all", PeBuilder().build().bytes, true},
    };
    for (const auto& c : cases) {
        std::remove(dir.file(IconResources::kLibraryFileName).c_str());
        if (c.file)
            put(*c.file);
        IconResources resources;
        EXPECT_EQ(resources.loadLibrary(folder()), c.loads) << c.what;
        EXPECT_EQ(resources.usingRuneset(), c.loads) << c.what;
        for (const int id : usedIds())
            ASSERT_TRUE(sameImage(resources.pixmap(id, 16), own.pixmap(id, 16))) << c.what << ": " << id;
    }
}

TEST_F(Runeset, AnIconWhoseImagesCannotBeDrawnFallsBack)
{
    for (const uint32_t headerSize : {12u, 0u, 0xFFFFFFFFu}) {
        PeFile pe = runesetModule();
        // The data entries are in the order added: 218's 32-pixel, then its 16-pixel image.
        for (const size_t image : {0, 1}) {
            const uint8_t* entry = pe.bytes.data() + pe.dataEntries[image];
            const uint32_t rva =
                uint32_t(entry[0]) | uint32_t(entry[1]) << 8 | uint32_t(entry[2]) << 16 | uint32_t(entry[3]) << 24;
            pe.put32At(rva - pe.resourceRva + pe.root, headerSize);
        }
        put(pe.bytes);
        IconResources resources;
        EXPECT_TRUE(resources.loadLibrary(folder()));
        EXPECT_TRUE(resources.usingRuneset());
        EXPECT_TRUE(sameImage(resources.pixmap(218, 16), own.pixmap(218, 16))) << headerSize;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
