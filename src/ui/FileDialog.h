#pragma once
// Every file choice of the program goes through this wrapper: an open or
// save dialog with a filter list, an initial folder and name, a default
// extension, an overwrite question and, when asked, multi-selection.

#include <QStringList>
#include <string>
#include <vector>

class QWidget;

namespace sigil {

// "text|*.a;*.b|text2|*.c||" (the resource form of filters) as Qt name
// filters: "text (*.a *.b)", "text2 (*.c)".
QStringList nameFiltersOf(const std::string& filter);

struct InitialPlace {
    std::string folder;
    std::string fileName;
    std::string defaultExtension;  // without the dot
};

// An initial path that is not an existing folder is split into folder and
// file name, and its extension replaces the default extension.
InitialPlace initialPlaceOf(const std::string& initialPath, const std::string& defaultExtension);

class FileDialog {
public:
    explicit FileDialog(QWidget* owner = nullptr) : owner_(owner) {}
    virtual ~FileDialog() = default;

    // True when a valid choice was made. In open mode a choice that holds a
    // path that does not exist is refused with a message.
    bool run(bool isOpen, bool multiSelect, const std::string& filter, const std::string& initialPath,
             const std::string& defaultExtension);
    // The chosen path; with multi-selection the next chosen path on each
    // call, and "" after the last.
    std::string path();

protected:
    struct Request {
        bool isOpen = true;
        bool multiSelect = false;
        QStringList nameFilters;
        InitialPlace place;
    };
    // Shows the dialog; the chosen paths in the dialog's order, none when
    // it was cancelled. Tests answer here instead of a user.
    virtual std::vector<std::string> choose(const Request& request);
    virtual void showMessage(const QString& text);

private:
    QWidget* owner_;
    bool multiSelect_ = false;
    std::vector<std::string> chosen_;
    size_t next_ = 0;
};

}  // namespace sigil
