#pragma once
// Answers the document's questions and dialogs from a script and records
// what it was told. Questions answer No when the script has run out;
// dialogs answer with the values set here (or cancel).

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "document/DocumentHost.h"

namespace sigil::test {

class ScriptedHost : public DocumentHost {
public:
    std::deque<Answer> answers;
    std::vector<QString> asked;
    std::vector<QString> warnings;
    std::vector<QString> information;
    std::string savePath;                  // empty: the save dialog is cancelled
    std::optional<NewIconChoice> newIcon;  // none: the add dialog is cancelled
    std::optional<std::string> newName;    // none: the rename dialog is cancelled
    std::optional<BatchDeleteBoxes> deleteBoxes;
    std::optional<std::vector<int>> sizesToMake;
    std::string folder;                           // empty: the folder chooser is cancelled
    std::optional<SaveAllChoice> saveAllOptions;  // none: dialog 106 is cancelled
    std::optional<SnapAllChoice> snapAllOptions;  // none: dialog 109 is cancelled
    std::vector<SaveAllChoice> saveAllShown;      // what dialog 106 opened with
    std::vector<SnapAllChoice> snapAllShown;
    int hiddenCount = 0;  // times the windows were hidden
    int waits = 0;        // wait cursors still up
    int waitsBegun = 0;
    std::vector<int> waitsAtMessages;  // wait cursors up when each message came

    Answer ask(const QString& text, bool) override
    {
        asked.push_back(text);
        if (answers.empty())
            return Answer::No;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void warn(const QString& text) override
    {
        warnings.push_back(text);
        waitsAtMessages.push_back(waits);
    }
    void inform(const QString& text) override
    {
        information.push_back(text);
        waitsAtMessages.push_back(waits);
    }
    bool chooseNewIcon(NewIconChoice& choice) override { return take(newIcon, choice); }
    bool chooseName(std::string& name) override { return take(newName, name); }
    bool chooseDevicesToDelete(BatchDeleteBoxes& boxes) override { return take(deleteBoxes, boxes); }
    bool chooseSizesToMake(std::vector<int>& sizes) override { return take(sizesToMake, sizes); }
    std::vector<std::string> chooseOpenPaths(const std::string&, const std::string&, const std::string&) override
    {
        return {};
    }
    std::string chooseSavePath(const std::string&, const std::string&, const std::string&) override { return savePath; }
    std::string chooseFolder(const QString&, const std::string&, bool) override { return folder; }
    bool chooseSaveAllOptions(SaveAllChoice& choice) override
    {
        saveAllShown.push_back(choice);
        return take(saveAllOptions, choice);
    }
    bool chooseSnapAllOptions(SnapAllChoice& choice) override
    {
        snapAllShown.push_back(choice);
        return take(snapAllOptions, choice);
    }
    void beginWait() override
    {
        ++waits;
        ++waitsBegun;
    }
    void endWait() override { --waits; }
    void setWindowsHidden(bool hidden) override { hiddenCount += hidden ? 1 : 0; }

private:
    template <typename T> static bool take(const std::optional<T>& scripted, T& out)
    {
        if (!scripted)
            return false;
        out = *scripted;
        return true;
    }
};

}  // namespace sigil::test
