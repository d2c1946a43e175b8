#pragma once
// Menu items drawn by the program itself, each with a 16 x 16 icon in a cell
// beside its text: a dotted, sunken cell for a checked item, a raised cell
// for the selected one, the shortcut right-aligned after the tab, a greyed
// icon and embossed text for a disabled item.
//
// The registry keeps the icons by command (or by submenu, for a popup item)
// and draws the items of every menu attached to it, submenus included,
// through a proxy of the application style. Icons live here and not on the
// actions, whose icons the toolbar shows at its own sizes.

#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QMenu;
class QStyle;

namespace sigil {

class IconResources;

class MenuIconRegistry : public QObject {
    Q_OBJECT
public:
    static constexpr int kBoxMargin = 4;  // cell = icon + 4 in each direction
    static constexpr int kGapAfterBox = 1;
    static constexpr int kTextLeftMargin = 5;
    static constexpr int kTextRightMargin = 5;

    // The icons of one menu item; a null pixmap is an empty slot.
    struct ItemIcons {
        QPixmap normal;
        QPixmap highlighted;  // while the item is selected or checked
        QPixmap disabled;
    };

    explicit MenuIconRegistry(QObject* parent = nullptr);
    ~MenuIconRegistry() override;

    void init(int iconWidth, int iconHeight, const IconResources* iconModule);
    int iconWidth() const { return iconWidth_; }
    int iconHeight() const { return iconHeight_; }
    int boxWidth() const { return iconWidth_ + kBoxMargin; }
    int boxHeight() const { return iconHeight_ + kBoxMargin; }

    // Loads each nonzero ID at the icon size. When the normal icon cannot be
    // had nothing is registered; otherwise each slot given replaces the old.
    void registerIcons(int command, int normalId, int highlightedId, int disabledId);
    void registerIconHandles(int command, const QPixmap& normal, const QPixmap& highlighted = {},
                             const QPixmap& disabled = {});
    void registerIconHandles(const QMenu* submenu, const QPixmap& normal, const QPixmap& highlighted = {},
                             const QPixmap& disabled = {});

    // Registers the icons that `menu` and its items carry themselves (their
    // normal and Active modes), replacing what their keys had.
    void registerItemIcons(const QMenu* menu);

    // The icons of `action`: by its submenu for a popup item, else by the
    // command in its data. Null when none are registered.
    const ItemIcons* iconsFor(const QAction* action) const;

    // Draws the items of `menu`, and of each submenu it opens, by these rules.
    void attach(QMenu* menu);
    QStyle* style() const;

private:
    QPixmap load(int id) const;
    static void store(ItemIcons& slot, const QPixmap& normal, const QPixmap& highlighted, const QPixmap& disabled);

    int iconWidth_ = 16;
    int iconHeight_ = 16;
    const IconResources* iconModule_ = nullptr;
    std::map<int, ItemIcons> byCommand_;
    std::map<const QMenu*, ItemIcons> bySubmenu_;
    std::unique_ptr<QStyle> style_;
    std::vector<QPointer<QMenu>> attached_;
};

}  // namespace sigil
