#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QMenu>

#include "ui/MenuIconRegistry.h"

using namespace sigil;

namespace {

const QColor kMenu(255, 255, 255);
const QColor kLight(0, 255, 0);
const QColor kDark(0, 0, 255);
const QColor kIconRed(255, 0, 0);
const QColor kIconHot(255, 0, 255);

QPixmap solid(const QColor& colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return pixmap;
}

// A menu with a palette whose colours tell the parts of an item apart.
struct MenuUnderTest {
    MenuIconRegistry registry;
    QMenu menu;

    MenuUnderTest()
    {
        QPalette palette = menu.palette();
        palette.setColor(QPalette::Window, kMenu);
        palette.setColor(QPalette::Light, kLight);
        palette.setColor(QPalette::Dark, kDark);
        palette.setColor(QPalette::WindowText, Qt::black);
        palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
        menu.setPalette(palette);
        registry.attach(&menu);
    }

    QAction* add(int command, const QString& text, bool withIcon = true)
    {
        QAction* action = menu.addAction(text);
        action->setData(command);
        if (withIcon)
            registry.registerIconHandles(command, solid(kIconRed), solid(kIconHot));
        return action;
    }

    QImage grab()
    {
        menu.resize(menu.sizeHint());
        return menu.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    QRect cellOf(QAction* action) const
    {
        const QRect item = menu.actionGeometry(action);
        return {item.left(), item.top() + (item.height() - 20) / 2, 20, 20};
    }
};

template <typename Tinted> int countTinted(const QImage& image, const QRect& area, Tinted tinted)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += tinted(image.pixelColor(x, y));
    }
    return count;
}

bool inkIn(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 100)
                return true;
        }
    }
    return false;
}

TEST(MenuIcons, ItemsMeasureTheCellHeightAndSeparatorsHalfOfIt)
{
    MenuUnderTest t;
    QAction* item = t.add(1, QStringLiteral("項目"));
    QAction* separator = t.menu.addSeparator();
    t.add(2, QStringLiteral("次"));  // a trailing separator would be hidden
    t.grab();
    EXPECT_EQ(t.menu.actionGeometry(item).height(), 20);
    EXPECT_EQ(t.menu.actionGeometry(separator).height(), 10);
}

TEST(MenuIcons, TheShortcutAfterTheTabIsRightAligned)
{
    MenuUnderTest t;
    QAction* withTab = t.add(1, QStringLiteral("A\tCtrl+W"));
    QAction* plain = t.add(2, QStringLiteral("A"));
    t.add(3, QStringLiteral("A much longer item text to widen the menu"));
    const QImage image = t.grab();
    auto rightQuarter = [&](QAction* action) {
        const QRect item = t.menu.actionGeometry(action);
        return QRect(item.right() - item.width() / 4, item.top(), item.width() / 4 - 5, item.height());
    };
    EXPECT_TRUE(inkIn(image, rightQuarter(withTab)));
    EXPECT_FALSE(inkIn(image, rightQuarter(plain)));
}

TEST(MenuIcons, IconChoiceAndCellByItemState)
{
    struct Case {
        const char* name;
        bool checked, selected, disabled;
        QColor iconCentre;    // null: neither red nor hot, grey
        QColor frameTopLeft;  // the cell's top-left pixel
        bool dotted;          // the cell's dotted pattern between frame and icon
        bool embossedText;
    };
    const Case cases[] = {
        {"plain", false, false, false, kIconRed, kMenu, false, false},
        {"selected", false, true, false, kIconHot, kLight, false, false},
        {"checked", true, false, false, kIconHot, kDark, true, false},
        {"disabled", false, false, true, QColor(), kMenu, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MenuUnderTest t;
        QAction* action = t.add(7, QStringLiteral("項目"));
        action->setCheckable(c.checked);
        action->setChecked(c.checked);
        action->setEnabled(!c.disabled);
        t.add(8, QStringLiteral("other"));
        if (c.selected)
            t.menu.setActiveAction(action);
        const QImage image = t.grab();
        const QRect cell = t.cellOf(action);

        const QColor centre = image.pixelColor(cell.center());
        if (c.iconCentre.isValid()) {
            EXPECT_EQ(centre, c.iconCentre);
        } else {
            EXPECT_NE(centre, kIconRed);
            EXPECT_EQ(centre.red(), centre.green());
            EXPECT_EQ(centre.green(), centre.blue());
        }
        EXPECT_EQ(image.pixelColor(cell.topLeft()), c.frameTopLeft);
        // Row 1 lies between the frame and the icon: odd row + column light.
        EXPECT_EQ(image.pixelColor(cell.left() + 2, cell.top() + 1) == kLight, c.dotted);
        EXPECT_EQ(image.pixelColor(cell.left() + 3, cell.top() + 1), kMenu);

        const QRect item = t.menu.actionGeometry(action);
        const QRect text(cell.right() + 1, item.top(), item.right() - cell.right(), item.height());
        // The embossed copy tints the text's edges with the light colour;
        // how much, and whether any pixel is pure, depends on the font's
        // glyphs and their anti-aliasing, so any green tint counts.
        EXPECT_EQ(countTinted(image, text,
                              [](const QColor& p) { return p.green() > p.red() + 32 && p.green() > p.blue() + 32; }) >
                      0,
                  c.embossedText);
    }
}

TEST(MenuIcons, RegisteringAgainReplacesOnlyTheSlotsGiven)
{
    MenuIconRegistry registry;
    QAction action;
    action.setData(5);
    registry.registerIconHandles(5, QPixmap());
    EXPECT_EQ(registry.iconsFor(&action), nullptr);
    registry.registerIconHandles(5, solid(kIconRed), solid(kIconHot));
    registry.registerIconHandles(5, solid(kDark));
    const MenuIconRegistry::ItemIcons* icons = registry.iconsFor(&action);
    ASSERT_NE(icons, nullptr);
    EXPECT_EQ(icons->normal.toImage().pixelColor(0, 0), kDark);
    EXPECT_EQ(icons->highlighted.toImage().pixelColor(0, 0), kIconHot);
}

}  // namespace
