#include "property/PropertyWindow.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <set>

#include "document/Clipboard.h"
#include "support/DeviceMaker.h"
#include "support/IconBytes.h"
#include "support/ViewFixture.h"
#include "ui/CommandIds.h"
#include "ui/DialogIds.h"
#include "ui/IconButton.h"
#include "ui/IconPreview.h"
#include "ui/IconResources.h"
#include "view/CIconView.h"

namespace sigil {
namespace {

using test::makeDevice;
using test::maskedAt;
using test::pixelAt;

const QString kDuplicate = QStringLiteral("重複するデバイスが存在します。\r\n追加できません。");

struct Shape {
    int w, h, bits;
};

IconDevice device(Shape s, uint32_t seed = 1)
{
    return makeDevice(s.w, s.h, s.bits, [&](int x, int row) {
        return (uint32_t(x * 5 + row * 3) + seed) % (s.bits >= 24 ? 0xFFFFFFu : (1u << s.bits));
    });
}

class PropertyWindowTest : public testing::Test {
protected:
    PropertyWindowTest() { view.setPropertyPane(&window); }
    ~PropertyWindowTest() override { view.setPropertyPane(nullptr); }

    void addIcon(const std::vector<Shape>& shapes, int current = -1)
    {
        auto entry = std::make_unique<IconEntry>();
        for (const Shape& s : shapes)
            entry->devices.push_back(device(s));
        entry->name = "icon" + std::to_string(library.size());
        entry->source = "/icons/set.icl";
        entry->current = current < 0 ? entry->deviceCount() - 1 : current;
        library.appendIcon(std::move(entry));
    }

    QListWidget* list() const { return window.findChild<QListWidget*>(controlName(kDeviceList)); }
    IconButton* button(int id) const { return window.findChild<IconButton*>(controlName(id)); }
    IconPreview* picture() const { return window.findChild<IconPreview*>(controlName(kDevicePicture)); }

    QString lines() const
    {
        QStringList texts;
        for (int i = 0; i < list()->count(); ++i)
            texts << list()->item(i)->text();
        return texts.join(QLatin1Char('|'));
    }

    std::string shapesOf(int icon) const
    {
        std::string s;
        for (const IconDevice& d : library.at(icon).devices)
            s += std::to_string(d.width) + "x" + std::to_string(d.height) + "/" + std::to_string(d.bitCount) + " ";
        return s;
    }

    void ctrlKey(Qt::Key key) { QTest::keyClick(list(), key, Qt::ControlModifier); }

    test::SettingsFixture settings;
    IconLibrary library;
    test::ScriptedMessages messages;
    LibraryDocument doc{library, settings.general, settings.display};
    CIconView view{doc, settings.file};
    IconResources icons;
    PropertyWindow window{doc, settings.file, icons};
};

TEST_F(PropertyWindowTest, ShowsTheSelectedIconAndFollowsTheListSelection)
{
    EXPECT_EQ(window.windowTitle(), QStringLiteral("プロパティ"));
    EXPECT_FALSE(list()->isEnabled());
    EXPECT_FALSE(button(kAddDeviceButton)->isEnabled());
    addIcon({{16, 16, 1}, {32, 32, 8}, {48, 48, 32}});
    addIcon({{32, 32, 4}});
    view.selectIcon(0);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("icon0"));
    EXPECT_EQ(window.findChild<QLineEdit*>(controlName(kSourceEdit))->text(), QStringLiteral("/icons/set.icl"));
    EXPECT_EQ(lines(), QStringLiteral("16 x 16 - ﾓﾉｸﾛ|32 x 32 - 256色|48 x 48 - XP"));
    EXPECT_EQ(list()->currentRow(), 2);
    EXPECT_TRUE(button(kDeleteDeviceButton)->isEnabled());

    list()->setCurrentRow(1);
    EXPECT_EQ(library.at(0).current, 1);
    EXPECT_EQ(window.shownDevice(), &library.at(0).devices[1]);

    // One device: it cannot be deleted.
    view.selectIcon(1);
    EXPECT_EQ(lines(), QStringLiteral("32 x 32 - 16色"));
    EXPECT_FALSE(button(kDeleteDeviceButton)->isEnabled());
    QTest::keyClick(list(), Qt::Key_Delete);
    EXPECT_EQ(library.at(1).deviceCount(), 1);
    EXPECT_EQ(doc.undoStack().count(), 0);

    view.selectIcon(-1);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("プロパティ"));
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(window.shownDevice(), nullptr);
}

TEST_F(PropertyWindowTest, DeleteIsOneUndoStepAndUndoGivesBackTheExactDevices)
{
    addIcon({{16, 16, 4}, {32, 32, 8}, {48, 48, 24}});
    view.selectIcon(0);
    std::vector<IconDevice> before;
    for (const IconDevice& d : library.at(0).devices) {
        before.emplace_back();
        before.back().copyFrom(d);
    }
    list()->setCurrentRow(2);
    QTest::keyClick(list(), Qt::Key_Delete);
    EXPECT_EQ(shapesOf(0), "16x16/4 32x32/8 ");
    EXPECT_EQ(list()->currentRow(), 1);  // the new last line
    EXPECT_EQ(doc.undoStack().count(), 1);
    EXPECT_TRUE(doc.modified());
    EXPECT_TRUE(doc.titleText().contains(QLatin1Char('*')));

    list()->setCurrentRow(0);
    QTest::keyClick(list(), Qt::Key_Delete);
    EXPECT_EQ(shapesOf(0), "32x32/8 ");
    EXPECT_FALSE(button(kDeleteDeviceButton)->isEnabled());

    view.runCommand(cmd::Undo);
    view.runCommand(cmd::Undo);
    ASSERT_EQ(library.at(0).deviceCount(), 3);
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_TRUE(library.at(0).devices[i].sameDevice(before[i])) << i;
    EXPECT_EQ(list()->count(), 3);
    EXPECT_EQ(list()->currentRow(), 2);
    EXPECT_FALSE(doc.modified());

    view.runCommand(cmd::Redo);
    EXPECT_EQ(shapesOf(0), "16x16/4 32x32/8 ");
    EXPECT_EQ(lines(), QStringLiteral("16 x 16 - 16色|32 x 32 - 256色"));
}

TEST_F(PropertyWindowTest, AddRefusesADuplicateAndSelectsTheNewDevice)
{
    addIcon({{32, 32, 8}});
    view.selectIcon(0);
    window.addDevice(NewIconChoice{32, 32, 8});
    EXPECT_EQ(messages.shown, std::vector<QString>{kDuplicate});
    EXPECT_EQ(doc.undoStack().count(), 0);

    window.addDevice(NewIconChoice{16, 16, 24});
    EXPECT_EQ(lines(), QStringLiteral("16 x 16 - TrueColor|32 x 32 - 256色"));
    EXPECT_EQ(list()->currentRow(), 0);
    EXPECT_EQ(doc.undoStack().count(), 1);
}

// Ctrl+V in each view mode, with black as the colour made transparent.
struct PasteCase {
    const char* name;
    ViewMode mode;
    Shape picture;
    const char* shapesAfter;
    int selectedAfter;
    bool blackMasked;  // in the device that took the picture
    bool duplicate;
};

class PropertyPaste : public PropertyWindowTest, public testing::WithParamInterface<PasteCase> {};

TEST_P(PropertyPaste, PutsTheClipboardPictureIntoTheIcon)
{
    const PasteCase& c = GetParam();
    settings.display.transparency = 1;
    settings.display.transparencyColor = 0;
    addIcon({{16, 16, 4}, {32, 32, 24}});
    view.selectIcon(0);
    window.setViewMode(c.mode);
    // Black left half; the right half a grey that is no key colour.
    const IconDevice picture = makeDevice(c.picture.w, c.picture.h, c.picture.bits, [&](int x, int) {
        return x < c.picture.w / 2 ? 0u : (c.picture.bits >= 24 ? 0x808080u : 7u);
    });
    ASSERT_TRUE(copyToClipboard(picture, false));
    ctrlKey(Qt::Key_V);
    EXPECT_EQ(shapesOf(0), c.shapesAfter);
    EXPECT_EQ(list()->currentRow(), c.selectedAfter);
    EXPECT_EQ(messages.shown.size(), c.duplicate ? 1u : 0u);
    if (c.duplicate)
        return;
    const IconDevice& took = library.at(0).devices[static_cast<size_t>(c.selectedAfter)];
    EXPECT_EQ(maskedAt(took, 0, 0), c.blackMasked);
    EXPECT_FALSE(maskedAt(took, took.width - 1, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PropertyPaste,
    testing::Values(
        PasteCase{"NormalOtherWidthAddsWithTransparency",
                  kNormalView,
                  {48, 48, 24},
                  "16x16/4 32x32/24 48x48/24 ",
                  2,
                  true,
                  false},
        PasteCase{"NormalDuplicate", kNormalView, {16, 16, 4}, "16x16/4 32x32/24 ", 1, false, true},
        PasteCase{
            "ImageOnlyReplacesKeepingTheMask", kImageOnlyView, {32, 32, 24}, "16x16/4 32x32/24 ", 1, false, false},
        PasteCase{
            "MaskOnlyOnto24BitAdds32Bit", kMaskOnlyView, {32, 32, 24}, "16x16/4 32x32/24 32x32/32 ", 2, false, false}),
    [](const auto& info) { return info.param.name; });

TEST_F(PropertyWindowTest, KeysSwitchTheViewModeAndZoomAndTheButtonsFollow)
{
    addIcon({{32, 32, 8}});
    view.selectIcon(0);
    const struct {
        Qt::Key key;
        ViewMode mode;
        int pressed;
    } cases[] = {
        {Qt::Key_M, kMaskOnlyView, kMaskOnlyButton},
        {Qt::Key_B, kImageOnlyView, kImageOnlyButton},
        {Qt::Key_F, kNormalView, kNormalViewButton},
    };
    for (const auto& c : cases) {
        ctrlKey(c.key);
        EXPECT_EQ(window.viewMode(), c.mode);
        for (int id : {kMaskOnlyButton, kImageOnlyButton, kNormalViewButton})
            EXPECT_EQ(button(id)->isChecked(), id == c.pressed) << id;
    }
    ctrlKey(Qt::Key_Plus);
    EXPECT_TRUE(window.options().zoom);
    EXPECT_TRUE(button(kZoomButton)->isChecked());
    // Ctrl+Z undoes here too (the device added above goes) and leaves the zoom.
    window.addDevice(NewIconChoice{16, 16, 4});
    ASSERT_EQ(library.at(0).devices.size(), 2u);
    ctrlKey(Qt::Key_Z);
    EXPECT_EQ(library.at(0).devices.size(), 1u);
    EXPECT_TRUE(window.options().zoom);
    ctrlKey(Qt::Key_Y);
    EXPECT_EQ(library.at(0).devices.size(), 2u);
    QTest::mouseClick(picture(), Qt::LeftButton);
    EXPECT_TRUE(window.options().selectBackground);
}

TEST_F(PropertyWindowTest, StartsInImageOnlyModeWithoutMaskAndImageAndStoresTheOptions)
{
    settings.file.writeInt("Sigilscope", "PrpMask", 0);
    settings.file.writeInt("Sigilscope", "PrpImage", 0);
    {
        PropertyWindow second(doc, settings.file, icons);
        EXPECT_EQ(second.viewMode(), kImageOnlyView);
        EXPECT_TRUE(second.findChild<IconButton*>(controlName(kImageOnlyButton))->isChecked());
        second.toggleZoom();
        second.setViewMode(kMaskOnlyView);
    }
    EXPECT_EQ(settings.file.readInt("Sigilscope", "PrpZoom", 0), 1);
    EXPECT_EQ(settings.file.readInt("Sigilscope", "PrpMask", 0), 1);
    EXPECT_EQ(settings.file.readInt("Sigilscope", "PrpImage", 1), 0);
}

TEST_F(PropertyWindowTest, TheShowCommandTogglesTheWindowAndEscapeHidesIt)
{
    view.runCommand(cmd::ShowProperty);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(view.commandChecked(cmd::ShowProperty));
    EXPECT_EQ(settings.general.propertyShown, 1);
    QTest::keyClick(list(), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(settings.general.propertyShown, 0);
    EXPECT_FALSE(view.commandChecked(cmd::ShowProperty));
}

// The main window is hidden while an external editor runs: the property
// window goes with it and comes back only when it is meant to be shown.
TEST_F(PropertyWindowTest, GoesAndComesBackWithTheMainWindow)
{
    QWidget frame;
    PropertyWindow owned(doc, settings.file, icons, &frame);
    settings.general.propertyShown = 1;
    frame.show();
    // It comes up after the main window is on screen, so that it lies above.
    EXPECT_FALSE(owned.isVisible());
    EXPECT_TRUE(test::pumpUntil([&] { return owned.isVisible(); }));
    frame.hide();
    EXPECT_FALSE(owned.isVisible());
    EXPECT_EQ(settings.general.propertyShown, 1);
    frame.show();
    EXPECT_TRUE(test::pumpUntil([&] { return owned.isVisible(); }));
    owned.closePane();
    frame.hide();
    frame.show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(owned.isVisible());
}

TEST_F(PropertyWindowTest, OpenBitmapTakesPngWithItsAlphaAndRefusesGif)
{
    addIcon({{16, 16, 4}});
    view.selectIcon(0);
    QImage png(24, 24, QImage::Format_ARGB32);
    png.fill(qRgba(200, 10, 10, 128));
    const std::string pngPath = settings.dir.file("half.png");
    ASSERT_TRUE(png.save(QString::fromStdString(pngPath)));
    window.openBitmapFile(pngPath);
    ASSERT_EQ(shapesOf(0), "16x16/4 24x24/32 ");
    EXPECT_EQ(pixelAt(library.at(0).devices[1], 3, 3), 0x80C80A0Au);

    const std::string gifPath = settings.dir.file("x.gif");
    ASSERT_TRUE(test::writeFile(gifPath, test::Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}));
    window.openBitmapFile(gifPath);
    window.openBitmapFile(settings.dir.file("missing.bmp"));
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(doc.undoStack().count(), 1);
}

TEST_F(PropertyWindowTest, CopyInMaskOnlyModeGivesTheMaskInBlackAndWhite)
{
    addIcon({{16, 16, 4}});
    test::setMask(library.at(0).devices[0], [](int x, int) { return x < 8; });
    view.selectIcon(0);
    window.setViewMode(kMaskOnlyView);
    ctrlKey(Qt::Key_C);
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(copied.pixel(2, 2), qRgb(255, 255, 255));
    EXPECT_EQ(copied.pixel(12, 2), qRgb(0, 0, 0));
}

// A 4 x 4 device: red on the left two columns, masked black on the right.
// The picture is 122 x 122, a free area of 120 x 120.
struct PaintCase {
    const char* name;
    ViewMode mode;
    bool zoom;
    QPoint left, right;  // a point in a left and in a right column
    QRgb leftColour, rightColour;
};

class PropertyPaint : public PropertyWindowTest, public testing::WithParamInterface<PaintCase> {};

TEST_P(PropertyPaint, DrawsTheDevicePixelsWhereTheArithmeticPutsThem)
{
    const PaintCase& c = GetParam();
    settings.display.backColor = rgbColor(10, 20, 30);
    auto entry = std::make_unique<IconEntry>();
    entry->devices.push_back(makeDevice(4, 4, 24, [](int x, int) { return x < 2 ? 0xFF0000u : 0u; }));
    test::setMask(entry->devices[0], [](int x, int) { return x >= 2; });
    library.appendIcon(std::move(entry));
    view.selectIcon(0);
    window.setViewMode(c.mode);
    if (c.zoom)
        window.toggleZoom();
    picture()->resize(122, 122);
    for (qreal ratio : {1.0, 2.0}) {
        const QImage shown = picture()->render(ratio);
        ASSERT_EQ(shown.size(), QSize(122, 122) * ratio);
        auto at = [&](QPoint p) { return shown.pixel(int(p.x() * ratio), int(p.y() * ratio)) & 0xFFFFFFu; };
        EXPECT_EQ(at({0, 0}), 0u) << "frame";
        EXPECT_EQ(at(c.left), c.leftColour & 0xFFFFFFu) << ratio;
        EXPECT_EQ(at(c.right), c.rightColour & 0xFFFFFFu) << ratio;
        // Crisp: the drawn square holds the two colours and nothing between.
        const QRect drawn = c.zoom ? QRect(1, 1, 120, 120) : QRect(59, 59, 4, 4);
        std::set<QRgb> colours;
        for (int y = int(drawn.top() * ratio); y < int((drawn.bottom() + 1) * ratio); ++y)
            for (int x = int(drawn.left() * ratio); x < int((drawn.right() + 1) * ratio); ++x)
                colours.insert(shown.pixel(x, y) & 0xFFFFFFu);
        EXPECT_EQ(colours, (std::set<QRgb>{c.leftColour & 0xFFFFFFu, c.rightColour & 0xFFFFFFu})) << ratio;
        EXPECT_EQ(at(c.zoom ? QPoint(60, 60) : QPoint(58, 60)), c.zoom ? c.leftColour & 0xFFFFFFu : 0x0A141Eu);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PropertyPaint,
    testing::Values(
        PaintCase{"NormalOwnSize", kNormalView, false, {59, 60}, {61, 60}, qRgb(255, 0, 0), qRgb(10, 20, 30)},
        PaintCase{"NormalZoomed", kNormalView, true, {1, 50}, {61, 50}, qRgb(255, 0, 0), qRgb(10, 20, 30)},
        PaintCase{"MaskOnly", kMaskOnlyView, true, {30, 30}, {90, 90}, qRgb(0, 0, 0), qRgb(255, 255, 255)},
        PaintCase{"ImageOnly", kImageOnlyView, false, {60, 62}, {62, 62}, qRgb(255, 0, 0), qRgb(0, 0, 0)}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace sigil
