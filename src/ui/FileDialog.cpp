#include "ui/FileDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

#include "platform/FileBytes.h"
#include "platform/StringTable.h"
#include "ui/MessageBoxes.h"

namespace sigil {

namespace {

std::vector<std::string> splitBars(const std::string& filter)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= filter.size()) {
        const size_t bar = filter.find('|', start);
        parts.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    return parts;
}

// The description without a trailing "(patterns)" group: the patterns are
// appended again in Qt's form, and Qt reads them from the last group.
QString descriptionOf(const std::string& text)
{
    QString d = QString::fromStdString(text).trimmed();
    const qsizetype open = d.lastIndexOf(QLatin1Char('('));
    if (d.endsWith(QLatin1Char(')')) && open > 0)
        d = d.left(open).trimmed();
    return d;
}

}  // namespace

QStringList nameFiltersOf(const std::string& filter)
{
    const std::vector<std::string> parts = splitBars(filter);
    QStringList out;
    // Pairs of description and patterns; an empty description ends the list
    // (the "||" at the end of the resource string).
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty())
            break;
        const QString patterns =
            QString::fromStdString(parts[i + 1]).split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
        out << descriptionOf(parts[i]) + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return out;
}

InitialPlace initialPlaceOf(const std::string& initialPath, const std::string& defaultExtension)
{
    InitialPlace place{{}, {}, defaultExtension};
    if (initialPath.empty())
        return place;
    if (QFileInfo(toQtPath(initialPath)).isDir()) {
        place.folder = initialPath;
        return place;
    }
    const size_t slash = initialPath.rfind('/');
    place.folder = slash == std::string::npos ? std::string() : initialPath.substr(0, slash + 1);
    place.fileName = slash == std::string::npos ? initialPath : initialPath.substr(slash + 1);
    const size_t dot = place.fileName.rfind('.');
    place.defaultExtension = dot == std::string::npos ? std::string() : place.fileName.substr(dot + 1);
    return place;
}

bool FileDialog::run(bool isOpen, bool multiSelect, const std::string& filter, const std::string& initialPath,
                     const std::string& defaultExtension)
{
    chosen_.clear();
    next_ = 0;
    multiSelect_ = multiSelect;
    const Request request{isOpen, multiSelect, nameFiltersOf(filter), initialPlaceOf(initialPath, defaultExtension)};
    const QString current = QDir::currentPath();
    chosen_ = choose(request);
    QDir::setCurrent(current);
    if (chosen_.empty())
        return false;
    const bool missing = std::any_of(chosen_.begin(), chosen_.end(),
                                     [](const std::string& path) { return !QFileInfo::exists(toQtPath(path)); });
    if (isOpen && missing) {
        showMessage(loadString(str::BadFileName));
        chosen_.clear();
        return false;
    }
    return true;
}

std::string FileDialog::path()
{
    if (!multiSelect_)
        return chosen_.empty() ? std::string() : chosen_.front();
    if (next_ >= chosen_.size())
        return {};
    return chosen_[next_++];
}

namespace {

// Qt's dialog refuses a missing file in open mode with its own message and
// stays open; this one lets the name through, so that the program's own
// message is the one the user sees.
class OpenAnyNameDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        const QStringList files = selectedFiles();
        const bool missing =
            std::any_of(files.begin(), files.end(), [](const QString& f) { return !QFileInfo::exists(f); });
        if (acceptMode() == AcceptOpen && !files.isEmpty() && missing)
            QDialog::accept();
        else
            QFileDialog::accept();  // folders are entered, existing files taken, overwrites asked
    }
};

}  // namespace

std::vector<std::string> FileDialog::choose(const Request& request)
{
    OpenAnyNameDialog dialog(owner_);
    // Qt's own widgets: a native dialog would check the names itself.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(request.isOpen ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    // A single open takes any name, as a save does, so that its Open button
    // stays enabled for a name that does not exist; run() refuses it.
    dialog.setFileMode(request.isOpen && request.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::AnyFile);
    dialog.setNameFilters(request.nameFilters);
    if (!request.place.folder.empty())
        dialog.setDirectory(toQtPath(request.place.folder));
    if (!request.place.fileName.empty())
        dialog.selectFile(toQtPath(request.place.fileName));
    dialog.setDefaultSuffix(QString::fromStdString(request.place.defaultExtension));
    // A name typed without an extension takes the one of the type chosen
    // ("Mac Icon (*.icns)" saves name.icns); a type of several extensions,
    // or of every file, leaves it as it was.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        static const QRegularExpression single(QStringLiteral(R"(\(\*\.(\w+)\)$)"));
        const QRegularExpressionMatch match = single.match(filter);
        if (match.hasMatch())
            dialog.setDefaultSuffix(match.captured(1));
    });
    std::vector<std::string> paths;
    if (dialog.exec() != QDialog::Accepted)
        return paths;
    for (const QString& file : dialog.selectedFiles())
        paths.push_back(fromQtPath(file));
    return paths;
}

void FileDialog::showMessage(const QString& text)
{
    sigil::showMessage(owner_, text, QMessageBox::Warning);
}

}  // namespace sigil
