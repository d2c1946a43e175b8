#pragma once
// The about box: the logo, the version, a close button. It fades in, and
// ignores the window system's close request.

#include <QBasicTimer>
#include <QDialog>
#include <QPixmap>

namespace sigil {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    // Fades in as it opens.
    AboutBox(const QPixmap& logo, const QString& version, QWidget* parent = nullptr);
    // The alpha of the fade (1 to 255); 255 once it has ended.
    int alpha() const { return alpha_; }
    // One step of the fade, as the 300 ms timer runs it.
    void fadeStep();

protected:
    void closeEvent(QCloseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    QBasicTimer fadeTimer_;
    int alpha_ = 255;
};

}  // namespace sigil
