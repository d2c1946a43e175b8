#pragma once
// What the icon view asks of the window that shows the selected icon's
// devices. The view knows it only through this interface; the main frame
// makes the window and hands it to the view.

namespace sigil {

class IconEntry;

class PropertyPane {
public:
    virtual ~PropertyPane() = default;

    // The icon to show (none: nullptr). `force` rebuilds what is shown even
    // when it is the icon shown now.
    virtual void showIcon(IconEntry* icon, bool force) = 0;
    virtual bool paneVisible() const = 0;
    // Shows the pane with the keyboard focus, or hides it; the new state is
    // remembered for the next start.
    virtual void togglePane() = 0;
    // Gives the pane the keyboard focus (when it is visible).
    virtual void focusPane() = 0;
};

}  // namespace sigil
