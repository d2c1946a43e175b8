#include "shell/ToolbarItems.h"

#include <algorithm>

#include "settings/GeneralSettings.h"
#include "ui/CommandIconTable.h"
#include "ui/CommandIds.h"

namespace sigil {

int toolbarImageSize(int toolbarSize)
{
    return toolbarSize == 1 ? 24 : toolbarSize == 2 ? 32 : 16;
}

std::vector<ToolbarButton> toolbarButtons(const std::vector<int32_t>& items)
{
    std::vector<ToolbarButton> buttons;
    for (int32_t item : items) {
        // 0 never reaches the list from the settings file; it reads as a
        // separator, like 1.
        if (item == 0 || item == cmd::Separator) {
            buttons.push_back({true, 0, 0, 0});
        } else if (const CommandIcon* row = CommandIconTable::find(item)) {
            buttons.push_back({false, row->command, row->icon, row->hotIcon});
        }
    }
    return buttons;
}

ToolbarItemsEditor::ToolbarItemsEditor(const std::vector<int32_t>& items)
{
    reset(items);
}

void ToolbarItemsEditor::reset(const std::vector<int32_t>& items)
{
    entries_ = items;
    entries_.push_back(kEndMarker);
    selected_ = entryCount() - 1;
    rebuildAvailable();
}

std::vector<int32_t> ToolbarItemsEditor::items() const
{
    return {entries_.begin(), entries_.end() - 1};
}

void ToolbarItemsEditor::select(int index)
{
    selected_ = index >= 0 && index < entryCount() ? index : -1;
}

void ToolbarItemsEditor::selectAvailable(int index)
{
    availableSelected_ = index >= 0 && index < static_cast<int>(available_.size()) ? index : -1;
}

bool ToolbarItemsEditor::canRemove() const
{
    return selected_ >= 0 && selected_ < entryCount() - 1;
}

bool ToolbarItemsEditor::canMoveUp() const
{
    return selected_ > 0 && selected_ < entryCount() - 1;
}

bool ToolbarItemsEditor::canMoveDown() const
{
    return selected_ >= 0 && selected_ < entryCount() - 2;
}

void ToolbarItemsEditor::add()
{
    if (!canAdd())
        return;
    const int32_t value = available_[availableSelected_];
    const int at = selected_ >= 0 ? selected_ : entryCount() - 1;
    entries_.insert(entries_.begin() + at, value);
    if (selected_ >= 0)
        ++selected_;
    if (value == cmd::Separator)
        return;
    available_.erase(available_.begin() + availableSelected_);
    selectAvailable(std::min(availableSelected_, static_cast<int>(available_.size()) - 1));
}

void ToolbarItemsEditor::remove()
{
    if (!canRemove())
        return;
    entries_.erase(entries_.begin() + selected_);
    rebuildAvailable();
}

void ToolbarItemsEditor::moveUp()
{
    if (!canMoveUp())
        return;
    std::swap(entries_[selected_], entries_[selected_ - 1]);
    --selected_;
}

void ToolbarItemsEditor::moveDown()
{
    if (!canMoveDown())
        return;
    std::swap(entries_[selected_], entries_[selected_ + 1]);
    ++selected_;
}

void ToolbarItemsEditor::initialise()
{
    reset(defaultToolbarItems());
}

void ToolbarItemsEditor::rebuildAvailable()
{
    available_ = {cmd::Separator};
    for (const CommandIcon& row : CommandIconTable::rows()) {
        if (std::find(entries_.begin(), entries_.end(), row.command) == entries_.end())
            available_.push_back(row.command);
    }
    availableSelected_ = static_cast<int>(available_.size()) - 1;
}

}  // namespace sigil
