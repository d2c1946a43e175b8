#pragma once
// What the document asks of whoever shows it: questions, warnings and file
// choices. The view answers with real dialogs; tests answer with scripts.
// Texts are the string table's.

#include <QString>
#include <string>
#include <vector>

namespace sigil {

class DocumentHost {
public:
    enum class Answer { Yes, No, Cancel };
    virtual ~DocumentHost() = default;

    // A question with Yes and No, and Cancel when `withCancel`.
    virtual Answer ask(const QString& text, bool withCancel) = 0;
    virtual void warn(const QString& text) = 0;
    // Paths chosen in an open dialog (several allowed); none when cancelled.
    virtual std::vector<std::string> chooseOpenPaths(const std::string& filter, const std::string& initialPath,
                                                     const std::string& defaultExtension) = 0;
    // A path chosen in a save dialog; empty when cancelled.
    virtual std::string chooseSavePath(const std::string& filter, const std::string& proposedPath,
                                       const std::string& defaultExtension) = 0;
    // An existing folder; empty when cancelled.
    virtual std::string chooseFolder(const QString& title, const std::string& initialPath) = 0;
    // The wait cursor around long work.
    virtual void beginWait() {}
    virtual void endWait() {}
};

}  // namespace sigil
