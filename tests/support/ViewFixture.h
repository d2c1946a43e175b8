#pragma once
// Message boxes answered from a script, for tests of windows; with the
// document fixture's settings and event pump.

#include <gtest/gtest.h>

#include <QMessageBox>
#include <deque>

#include "support/DocumentFixture.h"
#include "ui/DialogIds.h"
#include "ui/MessageBoxes.h"

namespace sigil::test {

// Records the message boxes shown and answers them in order (Ok, or the
// answer queued with answerNext).
// The control numbered `id` of a dialog; a failure when there is none.
template <typename W> W* control(QWidget& dialog, int id)
{
    W* widget = dialog.findChild<W*>(controlName(id));
    if (!widget)
        ADD_FAILURE() << "no control " << id;
    return widget;
}

class ScriptedMessages {
public:
    ScriptedMessages()
    {
        previous_ =
            setMessageHandler([this](QWidget*, const QString& text, QMessageBox::Icon, QMessageBox::StandardButtons) {
                shown.push_back(text);
                if (answers_.empty())
                    return QMessageBox::Ok;
                const auto answer = answers_.front();
                answers_.pop_front();
                return answer;
            });
    }
    ~ScriptedMessages() { setMessageHandler(previous_); }
    void answerNext(QMessageBox::StandardButton answer) { answers_.push_back(answer); }
    std::vector<QString> shown;

private:
    MessageHandler previous_;
    std::deque<QMessageBox::StandardButton> answers_;
};

}  // namespace sigil::test
