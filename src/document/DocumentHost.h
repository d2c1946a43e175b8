#pragma once
// What the document asks of whoever shows it: questions, warnings and file
// choices. The view answers with real dialogs; tests answer with scripts.
// Texts are the string table's.

#include <QString>
#include <array>
#include <string>
#include <vector>

namespace sigil {

// The add dialog's choice: size and bit count (1, 4, 8, 24, 32, or 0 when
// no colour class is chosen).
struct NewIconChoice {
    int width = 32;
    int height = 32;
    int bitCount = 0;
};

// The batch delete dialog's boxes, in order: bit counts 1, 4, 8, 24, 32;
// width unlike height; 16, 24, 32, 48, 64, 72 and 128 square.
using BatchDeleteBoxes = std::array<bool, 13>;

// The save options dialog: naming 0 names the files after the icons, 1
// numbers them with the prefix and the digit count.
struct SaveAllChoice {
    int naming = 0;
    std::string prefix;
    int digits = 0;
};

// The snap-all dialog: icons per line (0: as the view shows them) and the
// spacing in pixels.
struct SnapAllChoice {
    int columns = 0;
    int spacing = 3;
};

class DocumentHost {
public:
    enum class Answer { Yes, No, Cancel };
    virtual ~DocumentHost() = default;

    // A question with Yes and No, and Cancel when `withCancel`.
    virtual Answer ask(const QString& text, bool withCancel) = 0;
    virtual void warn(const QString& text) = 0;
    // A text that needs no answer, with an information icon.
    virtual void inform(const QString& text) = 0;
    // The dialogs of the editing commands; false when cancelled.
    virtual bool chooseNewIcon(NewIconChoice& choice) = 0;
    virtual bool chooseName(std::string& name) = 0;
    virtual bool chooseDevicesToDelete(BatchDeleteBoxes& boxes) = 0;
    // The sizes "make sizes" makes: ticked on entry, the choice on OK.
    virtual bool chooseSizesToMake(std::vector<int>& sizes) = 0;
    // Paths chosen in an open dialog (several allowed); none when cancelled.
    virtual std::vector<std::string> chooseOpenPaths(const std::string& filter, const std::string& initialPath,
                                                     const std::string& defaultExtension) = 0;
    // A path chosen in a save dialog; empty when cancelled.
    virtual std::string chooseSavePath(const std::string& filter, const std::string& proposedPath,
                                       const std::string& defaultExtension) = 0;
    // A folder; empty when cancelled. Without `mustExist` a missing folder
    // that the user typed is created.
    virtual std::string chooseFolder(const QString& title, const std::string& initialPath, bool mustExist) = 0;
    virtual bool chooseSaveAllOptions(SaveAllChoice& choice) = 0;
    virtual bool chooseSnapAllOptions(SnapAllChoice& choice) = 0;
    // The wait cursor around long work.
    virtual void beginWait() {}
    virtual void endWait() {}
    // The program's windows are hidden while an external editor runs.
    virtual void setWindowsHidden(bool) {}
};

// Keeps the host's wait cursor up while the guard lives; no host, no cursor.
class WaitGuard {
public:
    explicit WaitGuard(DocumentHost* host) : host_(host)
    {
        if (host_)
            host_->beginWait();
    }
    ~WaitGuard()
    {
        if (host_)
            host_->endWait();
    }
    WaitGuard(const WaitGuard&) = delete;
    WaitGuard& operator=(const WaitGuard&) = delete;

private:
    DocumentHost* host_;
};

}  // namespace sigil
