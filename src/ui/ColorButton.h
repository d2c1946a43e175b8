#pragma once
// A push button that shows a colour swatch and lets the user choose the
// colour from the colour dialog.

#include <QAbstractButton>
#include <QIcon>
#include <functional>
#include <optional>

#include "model/DisplaySettings.h"

namespace sigil {

// Asks the user for a colour, `current` preselected; nothing when the user
// cancelled.
using ColorChooser = std::function<std::optional<Color>(QWidget* parent, Color current)>;

// Replaces how every colour button asks (tests answer here; an empty one
// restores Qt's colour dialog); answers the chooser installed before.
ColorChooser setColorChooser(ColorChooser chooser);

class ColorButton : public QAbstractButton {
public:
    explicit ColorButton(QWidget* parent = nullptr);

    Color color() const { return color_; }
    void setColor(Color color);
    // An icon drawn left of the swatch (none by default).
    void setSwatchIcon(const QIcon& icon) { swatchIcon_ = icon; }

    // Opens the colour dialog on the current colour; true when the user
    // chose one, which the button then shows.
    bool choose();

    // The swatch of a button of `size`: inset 4 at the left and top and 5
    // at the right and bottom, 1 more right and down while pressed, and
    // moved past an icon of `iconWidth` (0 for none).
    static QRect swatchRect(QSize size, bool pressed, int iconWidth);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Color color_ = rgbColor(255, 255, 255);
    QIcon swatchIcon_;
};

}  // namespace sigil
