#include "shell/ToolbarDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/StringTable.h"
#include "settings/GeneralSettings.h"
#include "ui/CommandIconTable.h"
#include "ui/CommandIds.h"
#include "ui/CommandTable.h"
#include "ui/DialogButtons.h"
#include "ui/DialogIds.h"
#include "ui/IconResources.h"

namespace sigil {

namespace {

constexpr int kEntryIconSize = 16;
constexpr int kEntryIconLeft = 2;
constexpr int kEntryTextLeft = 22;
constexpr int kEdgeHeight = 2;  // a sunken 3-D edge

// Draws an entry of either list: the marker and the separator by name, a
// command with its icon (the hot one while selected) and its text.
class ToolbarEntryDelegate : public QStyledItemDelegate {
public:
    ToolbarEntryDelegate(const IconResources& icons, QObject* parent) : QStyledItemDelegate(parent), icons_(icons) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int value = index.data(Qt::UserRole).toInt();
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& pal = option.palette;
        const QRect r = option.rect;
        p->save();
        p->fillRect(r, selected ? pal.highlight() : pal.base());
        p->setPen(selected ? pal.highlightedText().color() : pal.text().color());
        QString text;
        if (value == ToolbarItemsEditor::kEndMarker) {
            text = loadString(str::ToolbarEndMarker);
        } else if (value == cmd::Separator) {
            text = loadString(str::ToolbarSeparatorEntry);
        } else if (const CommandIcon* row = CommandIconTable::find(value)) {
            const QPixmap icon = icons_.pixmap(selected ? row->hotIcon : row->icon, kEntryIconSize);
            p->drawPixmap(r.left() + kEntryIconLeft, r.top() + (r.height() - kEntryIconSize) / 2, icon);
            text = commandText(value);
        }
        const QRect textRect = r.adjusted(kEntryTextLeft, 0, 0, 0);
        p->setFont(option.font);
        p->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                    option.fontMetrics.elidedText(text, Qt::ElideRight, textRect.width()));
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.rect = r;
            focus.palette = pal;
            focus.state = option.state;
            focus.backgroundColor = selected ? pal.highlight().color() : pal.base().color();
            option.widget->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, p, option.widget);
        }
        p->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        const int height = std::max(kEntryIconSize, option.fontMetrics.height() + 2 * kEdgeHeight - 2) + 1;
        return {kEntryTextLeft, height};
    }

private:
    const IconResources& icons_;
};

void fill(QListWidget* list, const std::vector<int32_t>& values, int selected)
{
    const QSignalBlocker quiet(list);
    list->clear();
    for (int32_t value : values) {
        auto* item = new QListWidgetItem(list);
        item->setData(Qt::UserRole, value);
    }
    list->setCurrentRow(selected);
    if (selected < 0)
        list->clearSelection();
}

}  // namespace

ToolbarDialog::ToolbarDialog(GeneralSettings& general, const IconResources& icons, QWidget* parent)
    : QDialog(parent),
      general_(general),
      icons_(icons),
      editor_(general.toolbarItems)
{
    setObjectName(controlName(kToolbarDialog));
    setWindowTitle(loadString(str::ToolbarDialogTitle));

    entries_ = makeList(kToolbarItemsList);
    available_ = makeList(kToolbarCommandsList);
    add_ = named(new QPushButton(loadString(str::ToolbarAddButton), this), kToolbarAddButton);
    remove_ = named(new QPushButton(loadString(str::ToolbarRemoveButton), this), kToolbarRemoveButton);
    up_ = named(new QPushButton(loadString(str::ToolbarUpButton), this), kToolbarUpButton);
    down_ = named(new QPushButton(loadString(str::ToolbarDownButton), this), kToolbarDownButton);
    auto* initialise = named(new QPushButton(loadString(str::ToolbarResetButton), this), kToolbarInitialiseButton);
    size_ = named(new QComboBox(this), kToolbarSizeList);
    size_->addItems({loadString(str::ToolbarSmall), loadString(str::ToolbarNormal), loadString(str::ToolbarLarge)});
    // A size outside the list draws as 16x16, so it shows as that.
    size_->setCurrentIndex(general.toolbarSize >= 0 && general.toolbarSize < size_->count() ? general.toolbarSize : 0);

    QDialogButtonBox* buttons = okCancelButtons(this);

    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(add_);
    middle->addWidget(remove_);
    middle->addSpacing(12);
    middle->addWidget(up_);
    middle->addWidget(down_);
    middle->addSpacing(12);
    middle->addWidget(initialise);
    middle->addStretch();

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(loadString(str::ToolbarItemsLabel), this), 0, 0);
    grid->addWidget(new QLabel(loadString(str::ToolbarCommandsLabel), this), 0, 2);
    grid->addWidget(entries_, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(available_, 1, 2);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(loadString(str::ToolbarSizeLabel), this));
    bottom->addWidget(size_);
    bottom->addStretch();
    bottom->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(bottom);

    connect(add_, &QPushButton::clicked, this, &ToolbarDialog::onAdd);
    connect(remove_, &QPushButton::clicked, this, &ToolbarDialog::onRemove);
    connect(up_, &QPushButton::clicked, this, &ToolbarDialog::onUp);
    connect(down_, &QPushButton::clicked, this, &ToolbarDialog::onDown);
    connect(initialise, &QPushButton::clicked, this, &ToolbarDialog::onInitialise);
    connect(available_, &QListWidget::itemDoubleClicked, this, &ToolbarDialog::onAdd);
    connect(entries_, &QListWidget::itemDoubleClicked, this, &ToolbarDialog::onRemove);
    connect(entries_, &QListWidget::currentRowChanged, this, [this](int row) {
        editor_.select(row);
        showStates();
    });
    connect(available_, &QListWidget::currentRowChanged, this, [this](int row) {
        editor_.selectAvailable(row);
        showStates();
    });
    entries_->installEventFilter(this);
    showLists();
    resize(520, 400);
}

QListWidget* ToolbarDialog::makeList(int id)
{
    auto* list = named(new QListWidget(this), id);
    list->setItemDelegate(new ToolbarEntryDelegate(icons_, list));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    list->setMinimumWidth(200);
    return list;
}

void ToolbarDialog::showLists()
{
    fill(entries_, editor_.entries(), editor_.selected());
    fill(available_, editor_.available(), editor_.availableSelected());
    entries_->scrollToItem(entries_->currentItem());
    available_->scrollToItem(available_->currentItem());
    showStates();
}

void ToolbarDialog::showStates()
{
    add_->setEnabled(editor_.canAdd());
    remove_->setEnabled(editor_.canRemove());
    up_->setEnabled(editor_.canMoveUp());
    down_->setEnabled(editor_.canMoveDown());
}

void ToolbarDialog::onAdd()
{
    editor_.add();
    showLists();
}

void ToolbarDialog::onRemove()
{
    editor_.remove();
    showLists();
}

void ToolbarDialog::onUp()
{
    editor_.moveUp();
    showLists();
}

void ToolbarDialog::onDown()
{
    editor_.moveDown();
    showLists();
}

void ToolbarDialog::onInitialise()
{
    editor_.initialise();
    showLists();
}

bool ToolbarDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == entries_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrl = (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
        if (ctrl && key->key() == Qt::Key_Up) {
            onUp();
            return true;
        }
        if (ctrl && key->key() == Qt::Key_Down) {
            onDown();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ToolbarDialog::accept()
{
    general_.toolbarItems = editor_.items();
    general_.toolbarSize = size_->currentIndex();
    QDialog::accept();
}

}  // namespace sigil
