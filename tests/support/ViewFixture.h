#pragma once
// A view on a library of its own, with settings in a scratch file and every
// message box answered from a script.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <deque>
#include <memory>

#include "model/IconLibrary.h"
#include "platform/SettingsFile.h"
#include "settings/DisplaySettingsFile.h"
#include "settings/GeneralSettings.h"
#include "support/TempDir.h"
#include "ui/MessageBoxes.h"

namespace sigil::test {

// Records the message boxes shown and answers them in order (Ok, or the
// answer queued with answerNext).
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

// Runs the event loop until `done` holds or a few seconds passed.
template <typename Done> bool pumpUntil(Done done, int milliseconds = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

struct SettingsFixture {
    TempDir dir;
    SettingsFile file;
    GeneralSettings general;
    DisplaySettings display;
    SettingsFixture()
    {
        file.setPath(dir.file("Tamberly.ini"));
        general.load(file);
        loadDisplaySettings(display, file, "Sigilscope");
    }
};

}  // namespace sigil::test
