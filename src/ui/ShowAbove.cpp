#include "ui/ShowAbove.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace sigil {

namespace {

void showRaised(QWidget* tool)
{
    tool->show();
    tool->raise();
}

// Lives on the owner's window until its first exposure, then shows the tool
// window and goes.
class ExposeWaiter : public QObject {
public:
    ExposeWaiter(QWidget* tool, QWindow* ownerWindow, std::function<bool()> wanted)
        : QObject(ownerWindow),
          tool_(tool),
          wanted_(std::move(wanted))
    {
        ownerWindow->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = static_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window->isExposed()) {
            window->removeEventFilter(this);
            // After the owner has handled its exposure, so the tool window
            // is mapped last.
            QPointer<QWidget> tool = tool_;
            std::function<bool()> wanted = std::move(wanted_);
            deleteLater();
            QMetaObject::invokeMethod(
                window,
                [tool, wanted] {
                    if (tool && wanted())
                        showRaised(tool);
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    QPointer<QWidget> tool_;
    std::function<bool()> wanted_;
};

}  // namespace

void showAboveWhenExposed(QWidget* tool, QWidget* owner, std::function<bool()> wanted)
{
    QWindow* ownerWindow = owner->window()->windowHandle();
    if (ownerWindow && ownerWindow->isExposed()) {
        if (wanted())
            showRaised(tool);
        return;
    }
    if (!ownerWindow) {
        owner->window()->winId();  // creates the platform window to watch
        ownerWindow = owner->window()->windowHandle();
    }
    new ExposeWaiter(tool, ownerWindow, std::move(wanted));
}

}  // namespace sigil
