#pragma once
// Gives a dialog or popup window a memory of where it was: restore() places
// it from the settings file (centred the first time, cascaded for a second
// copy), and the real position is written back when the window is hidden or
// the keeper is destroyed. Registered child controls follow the window's
// edges when it is resized.

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <string>
#include <vector>

#include "settings/WindowPlacement.h"

class QWidget;

namespace sigil {

class SettingsFile;

class WindowKeeper : public QObject {
public:
    explicit WindowKeeper(QWidget* window);
    ~WindowKeeper() override;

    void setIcon(const QIcon& icon);
    // 1..255: the window is drawn with that constant opacity; 0 or less: opaque.
    void setAlpha(int alpha);
    // The control keeps its distances to the right/bottom edges (moveX/Y) or
    // stretches with the window (sizeX/Y). Controls are the window's own
    // children, placed before the first call.
    void addAnchor(QWidget* control, bool moveX, bool moveY, bool sizeX, bool sizeY);
    // positionMode: only the top-left point is stored ("x,y"); otherwise the
    // rectangle ("left,top,width,height").
    void restore(bool positionMode, SettingsFile& file, const std::string& section, const std::string& key);
    // Writes the window's present place; nothing before restore().
    void save();

    // The title bar height that offsets a cascaded window.
    static int captionHeight();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Anchor {
        QPointer<QWidget> control;
        SettingsRect registered;
        AnchorFlags flags;
    };
    void applyAnchors();
    SettingsRect workArea() const;

    QPointer<QWidget> window_;
    SettingsFile* file_ = nullptr;
    std::string section_;
    std::string key_;
    bool positionMode_ = false;
    int initialWidth_ = 0;
    int initialHeight_ = 0;
    std::vector<Anchor> anchors_;
};

}  // namespace sigil
