#include "ui/MenuIconRegistry.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>
#include <qdrawutil.h>

#include "ui/IconResources.h"

namespace sigil {

namespace {

// The application style with menu items drawn by the registry's rules.
class MenuItemStyle : public QProxyStyle {
public:
    explicit MenuItemStyle(const MenuIconRegistry& registry) : registry_(registry) {}

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                           const QWidget* widget) const override
    {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (type != CT_MenuItem || !item)
            return QProxyStyle::sizeFromContents(type, option, contents, widget);
        if (item->menuItemType == QStyleOptionMenuItem::Separator)
            return {registry_.boxWidth(), registry_.boxHeight() / 2};
        // The whole text, shortcut included; a tab measures as two spaces.
        QString text = item->text;
        text.replace(QLatin1Char('\t'), QStringLiteral("  "));
        const int textWidth = QFontMetrics(item->font).horizontalAdvance(text);
        return {MenuIconRegistry::kTextRightMargin + MenuIconRegistry::kTextLeftMargin + registry_.boxWidth() +
                    textWidth,
                registry_.boxHeight()};
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        if (element == PE_PanelMenu) {
            painter->fillRect(option->rect, option->palette.color(QPalette::Window));
            qDrawShadePanel(painter, option->rect, option->palette, false, 1);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        switch (metric) {
        case PM_MenuPanelWidth:
            return 1;
        case PM_MenuHMargin:
        case PM_MenuVMargin:
            return 1;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (element != CE_MenuItem || !item) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        painter->save();
        drawItem(*item, painter, itemAction(*item, widget));
        painter->restore();
    }

private:
    static const QAction* itemAction(const QStyleOptionMenuItem& item, const QWidget* widget)
    {
        const auto* menu = qobject_cast<const QMenu*>(widget);
        return menu ? menu->actionAt(item.rect.center()) : nullptr;
    }

    void drawItem(const QStyleOptionMenuItem& item, QPainter* painter, const QAction* action) const
    {
        const QRect rect = item.rect;
        const QPalette& palette = item.palette;
        const QColor menuColour = palette.color(QPalette::Window);
        if (item.menuItemType == QStyleOptionMenuItem::Separator) {
            const int inset = registry_.iconWidth() / 4;
            const int y = rect.top() + rect.height() / 2 - 1;
            painter->fillRect(rect, menuColour);
            painter->setPen(palette.color(QPalette::Dark));
            painter->drawLine(rect.left() + inset, y, rect.right() - inset, y);
            painter->setPen(palette.color(QPalette::Light));
            painter->drawLine(rect.left() + inset, y + 1, rect.right() - inset, y + 1);
            return;
        }
        const bool enabled = item.state & State_Enabled;
        const bool selected = item.state & State_Selected;
        const bool checked = item.checkType != QStyleOptionMenuItem::NotCheckable && item.checked;
        const QPixmap icon = chooseIcon(action, enabled, selected || checked, palette);
        const QRect cell(rect.left(), rect.top() + (rect.height() - registry_.boxHeight()) / 2, registry_.boxWidth(),
                         registry_.boxHeight());

        painter->fillRect(rect, menuColour);
        if (checked)
            drawDottedCell(painter, cell, menuColour, palette.color(QPalette::Light));
        QRect background = rect;
        if (!icon.isNull())
            background.setLeft(cell.right() + 1 + MenuIconRegistry::kGapAfterBox);
        if (selected)
            painter->fillRect(background, palette.color(QPalette::Highlight));

        if (!icon.isNull()) {
            const QSize size = icon.deviceIndependentSize().toSize();
            painter->drawPixmap(cell.left() + (cell.width() - size.width()) / 2,
                                cell.top() + (cell.height() - size.height()) / 2, icon);
            if (checked)
                qDrawShadePanel(painter, cell, palette, true, 1);
            else if (selected && enabled)
                qDrawShadePanel(painter, cell, palette, false, 1);
        } else if (checked) {
            // An item without an icon still shows that it is checked.
            QStyleOptionMenuItem mark = item;
            mark.rect = cell.adjusted(3, 3, -3, -3);
            mark.state = (item.state & State_Enabled) | State_On;
            proxy()->drawPrimitive(PE_IndicatorMenuCheckMark, &mark, painter, nullptr);
        }

        QRect textRect(rect.left() + MenuIconRegistry::kTextLeftMargin + registry_.boxWidth(), rect.top(), 0,
                       rect.height());
        textRect.setRight(rect.right() - MenuIconRegistry::kTextRightMargin);
        const QColor textColour = !enabled   ? palette.color(QPalette::Disabled, QPalette::WindowText)
                                  : selected ? palette.color(QPalette::HighlightedText)
                                             : palette.color(QPalette::Active, QPalette::WindowText);
        if (!enabled && !selected)
            drawText(painter, textRect.translated(1, 1), item.text, palette.color(QPalette::Light));
        drawText(painter, textRect, item.text, textColour);

        if (item.menuItemType == QStyleOptionMenuItem::SubMenu) {
            QStyleOption arrow = item;
            arrow.rect = QRect(rect.right() - MenuIconRegistry::kTextRightMargin - 8,
                               rect.top() + (rect.height() - 8) / 2, 8, 8);
            arrow.palette.setColor(QPalette::ButtonText, textColour);
            proxy()->drawPrimitive(PE_IndicatorArrowRight, &arrow, painter, nullptr);
        }
    }

    QPixmap chooseIcon(const QAction* action, bool enabled, bool highlighted, const QPalette& palette) const
    {
        const MenuIconRegistry::ItemIcons* icons = action ? registry_.iconsFor(action) : nullptr;
        if (!icons)
            return {};
        if (!enabled) {
            if (!icons->disabled.isNull())
                return icons->disabled;
            QStyleOption option;
            option.palette = palette;
            return proxy()->generatedIconPixmap(QIcon::Disabled, icons->normal, &option);
        }
        if (highlighted && !icons->highlighted.isNull())
            return icons->highlighted;
        return icons->normal;
    }

    static void drawDottedCell(QPainter* painter, const QRect& cell, const QColor& menuColour, const QColor& light)
    {
        painter->fillRect(cell, menuColour);
        painter->setPen(light);
        for (int row = 0; row < cell.height(); ++row) {
            for (int column = (row + 1) % 2; column < cell.width(); column += 2)
                painter->drawPoint(cell.left() + column, cell.top() + row);
        }
    }

    // The text up to the first tab left-aligned, the rest right-aligned.
    static void drawText(QPainter* painter, const QRect& rect, const QString& text, const QColor& colour)
    {
        painter->setPen(colour);
        const int tab = text.indexOf(QLatin1Char('\t'));
        const int flags = Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
        painter->drawText(rect, flags | Qt::AlignLeft, tab < 0 ? text : text.left(tab));
        if (tab >= 0)
            painter->drawText(rect, flags | Qt::AlignRight, text.mid(tab + 1));
    }

    const MenuIconRegistry& registry_;
};

}  // namespace

MenuIconRegistry::MenuIconRegistry(QObject* parent) : QObject(parent), style_(std::make_unique<MenuItemStyle>(*this))
{}

MenuIconRegistry::~MenuIconRegistry()
{
    // Menus outliving the registry go back to the application style.
    for (const QPointer<QMenu>& menu : attached_) {
        if (menu)
            menu->setStyle(nullptr);
    }
}

void MenuIconRegistry::init(int iconWidth, int iconHeight, const IconResources* iconModule)
{
    iconWidth_ = iconWidth;
    iconHeight_ = iconHeight;
    iconModule_ = iconModule;
}

QPixmap MenuIconRegistry::load(int id) const
{
    if (id == 0 || !iconModule_)
        return {};
    return iconModule_->icon(id).pixmap(QSize(iconWidth_, iconHeight_));
}

void MenuIconRegistry::store(ItemIcons& slot, const QPixmap& normal, const QPixmap& highlighted,
                             const QPixmap& disabled)
{
    slot.normal = normal;
    if (!highlighted.isNull())
        slot.highlighted = highlighted;
    if (!disabled.isNull())
        slot.disabled = disabled;
}

void MenuIconRegistry::registerIcons(int command, int normalId, int highlightedId, int disabledId)
{
    registerIconHandles(command, load(normalId), load(highlightedId), load(disabledId));
}

void MenuIconRegistry::registerIconHandles(int command, const QPixmap& normal, const QPixmap& highlighted,
                                           const QPixmap& disabled)
{
    if (!normal.isNull())
        store(byCommand_[command], normal, highlighted, disabled);
}

void MenuIconRegistry::registerIconHandles(const QMenu* submenu, const QPixmap& normal, const QPixmap& highlighted,
                                           const QPixmap& disabled)
{
    if (normal.isNull() || !submenu)
        return;
    if (!bySubmenu_.count(submenu))
        connect(submenu, &QObject::destroyed, this, [this, submenu] { bySubmenu_.erase(submenu); });
    store(bySubmenu_[submenu], normal, highlighted, disabled);
}

void MenuIconRegistry::registerItemIcons(const QMenu* menu)
{
    const QSize size(iconWidth_, iconHeight_);
    const auto pixmaps = [size](const QIcon& icon, QPixmap& normal, QPixmap& active) {
        normal = icon.pixmap(size, QIcon::Normal);
        active = icon.pixmap(size, QIcon::Active);
    };
    QPixmap normal, active;
    pixmaps(menu->icon(), normal, active);
    registerIconHandles(menu, normal, active);
    for (const QAction* action : menu->actions()) {
        bool isCommand = false;
        const int command = action->data().toInt(&isCommand);
        if (!isCommand || action->icon().isNull())
            continue;
        pixmaps(action->icon(), normal, active);
        registerIconHandles(command, normal, active);
    }
}

const MenuIconRegistry::ItemIcons* MenuIconRegistry::iconsFor(const QAction* action) const
{
    if (const QMenu* submenu = action->menu()) {
        const auto found = bySubmenu_.find(submenu);
        return found == bySubmenu_.end() ? nullptr : &found->second;
    }
    bool isCommand = false;
    const int command = action->data().toInt(&isCommand);
    if (!isCommand)
        return nullptr;
    const auto found = byCommand_.find(command);
    return found == byCommand_.end() ? nullptr : &found->second;
}

void MenuIconRegistry::attach(QMenu* menu)
{
    if (!menu || menu->style() == style_.get())
        return;
    menu->setStyle(style_.get());
    attached_.emplace_back(menu);
    // Submenus may be made or replaced while the program runs.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        for (QAction* action : menu->actions())
            attach(action->menu());
    });
}

QStyle* MenuIconRegistry::style() const
{
    return style_.get();
}

}  // namespace sigil
