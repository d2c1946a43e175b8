#pragma once
// The shortcut card: a small popup without caption showing every keyboard
// and mouse shortcut in eight boxes. The picture is drawn from the command
// key table and the command texts, so it lists the keys the view really
// takes. The card is moved by dragging anywhere on it and hidden by a
// double click, Enter, Escape or its close; it remembers where it was.

#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "ui/WindowKeeper.h"

namespace sigil {

class IconResources;
class SettingsFile;

struct ShortcutLine {
    QString keys;
    QString action;
};

struct ShortcutBox {
    QString heading;
    std::vector<ShortcutLine> lines;
};

// The card's eight boxes, in reading order.
std::vector<ShortcutBox> shortcutBoxes();

// The card's picture, kPictureWidth x kPictureHeight.
QImage shortcutPicture();

class ShortcutCard : public QWidget {
public:
    static constexpr int kPictureWidth = 382;
    static constexpr int kPictureHeight = 355;

    // Hidden at first; placed where PtShortcut says (centred when unset),
    // translucent.
    ShortcutCard(QWidget* frame, SettingsFile& settingsFile, const IconResources& icons);

    // Shows a hidden card, hides a visible one.
    void toggle();
    // Called after the card was shown or hidden, whoever did it.
    std::function<void()> visibilityChanged;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QImage picture_;
    WindowKeeper keeper_;
    QPoint dragOffset_;
    bool dragging_ = false;
};

}  // namespace sigil
