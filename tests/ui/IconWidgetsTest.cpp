#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QPalette>
#include <QPushButton>
#include <QScreen>

#include "settings/DisplaySettingsFile.h"
#include "support/TempDir.h"
#include "ui/ColorButton.h"
#include "ui/DisplayImages.h"
#include "ui/IconButton.h"
#include "ui/IconPreview.h"
#include "ui/WindowKeeper.h"

using namespace sigil;

namespace {

// --- icon button --------------------------------------------------------------

TEST(IconButton, TooltipIsThePartAfterTheFirstLineBreak)
{
    EXPECT_EQ(IconButton::tooltipOf("Zoom the picture\n拡大/縮小 [Ctrl+Z]"), "拡大/縮小 [Ctrl+Z]");
    EXPECT_EQ(IconButton::tooltipOf("a\nb\nc"), "b\nc");
    EXPECT_EQ(IconButton::tooltipOf("only"), "only");
}

TEST(IconButton, IconIsCentredAndShiftedWhenSunken)
{
    EXPECT_EQ(IconButton::iconOrigin({24, 24}, {16, 16}, false), QPoint(4, 4));
    EXPECT_EQ(IconButton::iconOrigin({24, 24}, {16, 16}, true), QPoint(5, 5));
    EXPECT_EQ(IconButton::iconOrigin({25, 20}, {16, 16}, false), QPoint(4, 2));
}

TEST(IconButton, OwnerSetsCheckedAndTheMouseSetsHot)
{
    IconButton b;
    b.setup(QIcon(), "status\ntip", 24, 22);
    EXPECT_EQ(b.toolTip(), "tip");
    EXPECT_EQ(b.size(), QSize(24, 22));
    int clicks = 0;
    QObject::connect(&b, &QAbstractButton::clicked, [&] { ++clicks; });
    b.click();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(b.isChecked());
    b.setChecked(true);
    b.click();
    EXPECT_TRUE(b.isChecked());

    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(&b, &enter);
    EXPECT_TRUE(b.isHot());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&b, &leave);
    EXPECT_FALSE(b.isHot());
}

// --- colour button ------------------------------------------------------------

TEST(ColorButton, ChoosingKeepsTheColourUnlessTheDialogIsCancelled)
{
    std::optional<Color> answer = rgbColor(10, 20, 30);
    Color offered = 0;
    const ColorChooser previous = setColorChooser([&](QWidget*, Color current) {
        offered = current;
        return answer;
    });
    ColorButton b;
    EXPECT_EQ(b.color(), rgbColor(255, 255, 255));
    EXPECT_TRUE(b.choose());
    EXPECT_EQ(offered, rgbColor(255, 255, 255));
    EXPECT_EQ(b.color(), rgbColor(10, 20, 30));
    answer.reset();
    EXPECT_FALSE(b.choose());
    EXPECT_EQ(offered, rgbColor(10, 20, 30));
    EXPECT_EQ(b.color(), rgbColor(10, 20, 30));
    setColorChooser(previous);
}

TEST(ColorButton, SwatchIsInsetAndMovesWhenPressedOrBesideAnIcon)
{
    EXPECT_EQ(ColorButton::swatchRect({40, 22}, false, 0), QRect(QPoint(4, 4), QPoint(34, 16)));
    EXPECT_EQ(ColorButton::swatchRect({40, 22}, true, 0), QRect(QPoint(5, 5), QPoint(35, 17)));
    EXPECT_EQ(ColorButton::swatchRect({40, 22}, false, 16), QRect(QPoint(23, 4), QPoint(34, 16)));
}

// --- preview ------------------------------------------------------------------

struct PreviewCase {
    const char* label;
    int width, height, area;
    bool fit;
    QRect expected;
};

class PreviewRect : public testing::TestWithParam<PreviewCase> {};

TEST_P(PreviewRect, OwnSizeOrFittedAndCentred)
{
    const PreviewCase& c = GetParam();
    EXPECT_EQ(previewRect(c.width, c.height, c.area, c.area, c.fit), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, PreviewRect,
                         testing::Values(PreviewCase{"SmallInTheCentre", 16, 16, 122, false, {53, 53, 16, 16}},
                                         PreviewCase{"SmallFitted", 16, 16, 122, true, {1, 1, 120, 120}},
                                         PreviewCase{"WideTooLarge", 256, 128, 122, false, {1, 31, 120, 60}},
                                         PreviewCase{"TallTooLarge", 64, 256, 122, false, {46, 1, 30, 120}},
                                         PreviewCase{"ExactFit", 120, 120, 122, false, {1, 1, 120, 120}},
                                         PreviewCase{"TruncatedHeight", 49, 32, 22, true, {1, 4, 20, 13}},
                                         PreviewCase{"NoRoom", 16, 16, 2, false, {}}),
                         [](const auto& info) { return info.param.label; });

TEST(IconPreview, DrawsFrameBackgroundAndTheDeviceOnItsColour)
{
    DisplaySettings s;
    s.backColor = rgbColor(10, 20, 30);
    s.selectColor = rgbColor(200, 0, 0);
    IconDevice device;
    ASSERT_TRUE(device.makeBlank(16, 16, 4));  // wholly transparent
    IconPreview preview;
    preview.resize(40, 40);
    preview.setDisplaySettings(&s);
    QImage empty = preview.render();
    EXPECT_EQ(empty.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(empty.pixel(20, 20), qRgb(10, 20, 30));

    preview.setDevice(&device);
    preview.setSelected(true);
    const QImage shown = preview.render();
    EXPECT_EQ(shown.pixel(39, 39), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(12, 12), qRgb(200, 0, 0));  // the device's rectangle starts at 12
    EXPECT_EQ(shown.pixel(11, 11), qRgb(10, 20, 30));
    preview.setFit(true);
    EXPECT_EQ(preview.render().pixel(1, 1), qRgb(200, 0, 0));
}

// --- window keeper --------------------------------------------------------------

class WindowKeeperTest : public testing::Test {
protected:
    void SetUp() override { settings.setPath(dir.file("Tamberly.ini")); }
    static QRect work() { return QGuiApplication::primaryScreen()->availableGeometry(); }
    test::TempDir dir;
    SettingsFile settings;
};

TEST_F(WindowKeeperTest, FirstOpeningIsCentredAndWritesACascadedRectangle)
{
    QWidget window;
    window.resize(300, 200);
    {
        WindowKeeper keeper(&window);
        keeper.restore(false, settings, "Sigilscope", "PrpRect");
        const QRect w = work();
        const QPoint centred(w.x() + (w.width() - 300) / 2, w.y() + (w.height() - 200) / 2);
        EXPECT_EQ(window.geometry(), QRect(centred, QSize(300, 200)));
        const int caption = WindowKeeper::captionHeight();
        EXPECT_GT(caption, 0);
        EXPECT_EQ(settings.readRect("Sigilscope", "PrpRect", {}),
                  (SettingsRect{centred.x() + caption, centred.y() + caption, centred.x() + caption + 300,
                                centred.y() + caption + 200}));
        window.setGeometry(15, 25, 320, 240);
    }
    // The keeper's end writes where the window really is.
    EXPECT_EQ(settings.readRect("Sigilscope", "PrpRect", {}), (SettingsRect{15, 25, 335, 265}));
}

TEST_F(WindowKeeperTest, PositionModeKeepsAnOffScreenPoint)
{
    settings.writePoint("Sigilscope", "PtShortcut", {-400, 30});
    QWidget window;
    window.resize(100, 80);
    WindowKeeper keeper(&window);
    keeper.restore(true, settings, "Sigilscope", "PtShortcut");
    EXPECT_EQ(window.pos(), QPoint(-400, 30));
    const int caption = WindowKeeper::captionHeight();
    EXPECT_EQ(settings.readPoint("Sigilscope", "PtShortcut", {}), (SettingsPoint{-400 + caption, 30 + caption}));
    window.show();
    window.hide();
    EXPECT_EQ(settings.readPoint("Sigilscope", "PtShortcut", {}), (SettingsPoint{-400, 30}));
}

TEST_F(WindowKeeperTest, NothingIsSavedBeforeRestore)
{
    QWidget window;
    {
        WindowKeeper keeper(&window);
        window.show();
        window.hide();
    }
    EXPECT_EQ(settings.readString("Sigilscope", "PrpRect", "none"), "none");
}

TEST_F(WindowKeeperTest, AnchoredButtonKeepsItsDistanceToTheLowerRightCorner)
{
    QWidget window;
    window.resize(300, 200);
    auto* button = new QPushButton(&window);
    button->setGeometry(200, 150, 80, 24);
    auto* stretched = new QWidget(&window);
    stretched->setGeometry(10, 10, 100, 100);
    WindowKeeper keeper(&window);
    keeper.addAnchor(button, true, true, false, false);
    keeper.addAnchor(stretched, false, false, true, true);
    window.show();
    window.resize(400, 260);
    EXPECT_EQ(button->geometry(), QRect(300, 210, 80, 24));
    EXPECT_EQ(stretched->geometry(), QRect(10, 10, 200, 160));
    delete stretched;  // a control that is gone is skipped
    window.resize(350, 220);
    EXPECT_EQ(button->geometry(), QRect(250, 170, 80, 24));
}

TEST_F(WindowKeeperTest, AlphaAndIcon)
{
    QWidget window;
    WindowKeeper keeper(&window);
    keeper.setAlpha(128);
    EXPECT_NEAR(window.windowOpacity(), 128 / 255.0, 0.01);
    keeper.setAlpha(0);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    keeper.setIcon(QIcon(pixmap));
    EXPECT_FALSE(window.windowIcon().isNull());
}

// --- display settings with a GUI ------------------------------------------------

TEST(DisplaySettingsWithGui, SystemColoursComeFromThePalette)
{
    test::TempDir dir;
    SettingsFile file;
    file.setPath(dir.file("Tamberly.ini"));
    adoptPaletteColors();
    DisplaySettings d;
    loadDisplaySettings(d, file, "Sigilscope");
    const QColor base = QGuiApplication::palette().color(QPalette::Base);
    const QColor highlight = QGuiApplication::palette().color(QPalette::Highlight);
    EXPECT_EQ(d.backColor, rgbColor(base.red(), base.green(), base.blue()));
    EXPECT_EQ(d.selectColor, rgbColor(highlight.red(), highlight.green(), highlight.blue()));
}

}  // namespace
