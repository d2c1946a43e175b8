#pragma once
// One icon handed to an external icon editor and taken back: the icon is
// written as a .ico file into a private folder made for this cycle, the
// editor is started on it and waited for, and the file is read back when its
// contents changed. Widget-free: the caller hides its windows around edit().

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <memory>
#include <string>

#include "model/IconEntry.h"

class QFileSystemWatcher;
class QTemporaryDir;
class QTimer;

namespace sigil {

class ExternalEditor : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        Changed,     // the editor saved the file and it reads back as an icon
        Unchanged,   // left alone, or no longer an icon: the icon stays as it was
        NotWritten,  // the temporary file could not be made; no editor started
        NotStarted,  // the editor could not be started
    };
    struct Result {
        Outcome outcome = Outcome::Unchanged;
        // Only for Changed: the file read back, with the icon's name and
        // source (display images not made yet).
        std::unique_ptr<IconEntry> edited;
    };

    // Folders for the cycles are made inside `temporaryBase` (the system's
    // temporary folder when empty).
    explicit ExternalEditor(const QString& temporaryBase = QString(), QObject* parent = nullptr);
    ~ExternalEditor() override;

    // One editing cycle for `icon`. Ends the previous cycle's watch first,
    // which may emit editedLater for it before anything of this cycle
    // happens. Blocks until the editor process ends.
    //
    // An editor that passes the file to an instance already running returns
    // at once with the file untouched; for that, a cycle whose file is
    // unchanged keeps its folder and watches the file until the next
    // edit(), endWatch() or destruction, announcing saves by editedLater.
    Result edit(const IconEntry& icon, const std::string& editorPath,
                const QDateTime& now = QDateTime::currentDateTime());

    // Ends the watch left by an unchanged cycle, if any: looks at the file a
    // last time (emitting editedLater for a save not yet announced) and
    // removes the folder with everything in it.
    void endWatch();
    bool watching() const { return folder_ != nullptr; }

    // The folder of the latest cycle (empty before the first): gone once
    // that cycle or its watch has ended.
    const QString& lastFolder() const { return lastFolder_; }

    // The temporary file's name for an icon named `name` at `when`:
    // name_YMDhms.ico with every number in plain decimal (folder at
    // 2002-11-05 09:03:07 gives folder_2002115937.ico). Characters that
    // cannot stand in a file name become '_', and a long name is cut so the
    // whole fits the usual 255-byte limit.
    static QString temporaryFileName(const std::string& name, const QDateTime& when);

signals:
    // A watched file was saved with new contents that read as an icon.
    // `token` is the IconEntry given to that cycle's edit(), only to tell
    // which icon it was: it may have been deleted since, so find it in the
    // library before use. `edited` is as Result::edited.
    void editedLater(const IconEntry* token, std::shared_ptr<IconEntry> edited);

private:
    // The file's contents differ from the last ones seen: reads it back and
    // announces it (a file that is no icon is ignored).
    void checkWatchedFile();
    void stopWatch(bool lookOnce);
    void onWatchEvent();

    QString temporaryBase_;
    QString lastFolder_;

    // The watch of an unchanged cycle; none while folder_ is null.
    std::unique_ptr<QTemporaryDir> folder_;
    quint64 watchNumber_ = 0;
    QString watchedFile_;
    QByteArray lastSeenHash_;
    const IconEntry* token_ = nullptr;
    std::string iconName_;
    std::string iconSource_;
    QFileSystemWatcher* watcher_ = nullptr;
    // Saves arrive as several events (truncate, writes, rename): the file is
    // looked at once they have settled.
    QTimer* settle_ = nullptr;
};

}  // namespace sigil
