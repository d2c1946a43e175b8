#pragma once
// The toolbar's item list (command IDs, 1 for a separator) turned into
// buttons, and the editing of that list that the toolbar dialog offers.

#include <cstdint>
#include <vector>

namespace sigil {

// Image edge in pixels for the settings' toolbar size: 1 = 24, 2 = 32,
// anything else 16. Buttons are 7 pixels larger.
int toolbarImageSize(int toolbarSize);
constexpr int kToolbarButtonMargin = 7;
// A separator's width in the (always horizontal) toolbar.
constexpr int kToolbarSeparatorWidth = 10;

struct ToolbarButton {
    bool separator = false;
    int command = 0;
    int icon = 0;
    int hotIcon = 0;
    bool operator==(const ToolbarButton&) const = default;
};

// One button per item that is a separator or a command with an icon row;
// other values give nothing.
std::vector<ToolbarButton> toolbarButtons(const std::vector<int32_t>& items);

// The two lists of the toolbar dialog: the toolbar's entries, closed by an
// end marker (0) that always stays last, and the commands that may still be
// added (a separator first, always available). Indexes are -1 for none.
class ToolbarItemsEditor {
public:
    static constexpr int32_t kEndMarker = 0;

    // The marker starts selected.
    explicit ToolbarItemsEditor(const std::vector<int32_t>& items);

    const std::vector<int32_t>& entries() const { return entries_; }
    const std::vector<int32_t>& available() const { return available_; }
    // The toolbar's items: the entries without the marker.
    std::vector<int32_t> items() const;

    int selected() const { return selected_; }
    int availableSelected() const { return availableSelected_; }
    // An index outside the list selects nothing.
    void select(int index);
    void selectAvailable(int index);

    bool canAdd() const { return availableSelected_ >= 0; }
    bool canRemove() const;
    bool canMoveUp() const;
    bool canMoveDown() const;

    // Inserts the chosen command before the selected entry (before the
    // marker when nothing is selected); the selected entry stays selected.
    // A command leaves the available list; a separator stays.
    void add();
    // Removes the selected entry (never the marker); the entry after it
    // becomes selected and the command is available again.
    void remove();
    // Move the selected entry one place, never past the marker.
    void moveUp();
    void moveDown();
    // The default toolbar, with the marker selected.
    void initialise();

private:
    void reset(const std::vector<int32_t>& items);
    void rebuildAvailable();
    int entryCount() const { return static_cast<int>(entries_.size()); }

    std::vector<int32_t> entries_;
    std::vector<int32_t> available_;
    int selected_ = -1;
    int availableSelected_ = -1;
};

}  // namespace sigil
