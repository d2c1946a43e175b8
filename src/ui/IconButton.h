#pragma once
// A flat push button that shows only an icon: no frame until the mouse is
// over it (raised, with the hot icon) or it is pressed or checked (sunken).

#include <QAbstractButton>
#include <QIcon>

namespace sigil {

class IconButton : public QAbstractButton {
public:
    explicit IconButton(QWidget* parent = nullptr);

    // `tooltip` is a command string "status text\ntooltip": the part after
    // the first line break becomes the tooltip (all of it without one).
    void setup(const QIcon& normal, const QString& tooltip, int width, int height);
    void setHotIcon(const QIcon& hot);
    bool isHot() const { return hot_; }

    static QString tooltipOf(const QString& text);
    // Top-left of the icon in a button of `size`: centred, then 2 pixels
    // right and down when pressed or checked, 1 otherwise.
    static QPoint iconOrigin(QSize button, QSize icon, bool sunken);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void nextCheckState() override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QIcon hotIcon_;
    QSize fixed_;
    bool hot_ = false;
};

}  // namespace sigil
