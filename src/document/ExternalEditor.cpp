// The external editor cycle: write, start and wait, compare, read back; and
// the watch that catches editors which return before they save.

#include "document/ExternalEditor.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include "formats/IconFile.h"
#include "platform/FileBytes.h"

namespace sigil {

namespace {

// Longest file name most file systems take, in bytes of the local encoding.
constexpr qsizetype kMaxFileNameBytes = 255;
// Quiet time after the last file event before a watched file is read.
constexpr int kSettleMs = 150;

// Characters refused in file names here or on the systems the file may be
// shared with, and control characters (a name read from a module may hold
// any of them).
bool badFileNameChar(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F || QStringLiteral("/\\:*?\"<>|").contains(c);
}

// SHA-256 of the file's contents; null when it cannot be read.
QByteArray contentsHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return {};
    return hash.result();
}

std::unique_ptr<IconEntry> readBack(const QString& path, const std::string& name, const std::string& source)
{
    auto entry = std::make_unique<IconEntry>();
    if (!readIconFile(*entry, fromQtPath(path), name))
        return nullptr;
    // The temporary path is gone soon; the icon keeps where it came from.
    entry->source = source;
    return entry;
}

// Program and arguments that start `editorPath` on `file`: an existing file
// is the program itself (blanks and all); anything else is split as a shell
// would split it. The file is always the last argument. Empty when there is
// no program.
QStringList editorCommand(const std::string& editorPath, const QString& file)
{
    const QString path = toQtPath(editorPath);
    QStringList command;
    if (QFileInfo(path).isFile())
        command << path;
    else
        command = QProcess::splitCommand(path);
    if (command.isEmpty() || command.front().isEmpty())
        return {};
    command << file;
    return command;
}

}  // namespace

ExternalEditor::ExternalEditor(const QString& temporaryBase, QObject* parent)
    : QObject(parent),
      temporaryBase_(temporaryBase.isEmpty() ? QDir::tempPath() : temporaryBase)
{}

ExternalEditor::~ExternalEditor()
{
    // No last look: nobody may be left to hear about it.
    stopWatch(false);
}

QString ExternalEditor::temporaryFileName(const std::string& name, const QDateTime& when)
{
    QString base = QString::fromUtf8(name);
    for (QChar& c : base) {
        if (badFileNameChar(c))
            c = u'_';
    }
    const QDate d = when.date();
    const QTime t = when.time();
    const QString tail = QStringLiteral("_%1%2%3%4%5%6.ico")
                             .arg(d.year())
                             .arg(d.month())
                             .arg(d.day())
                             .arg(t.hour())
                             .arg(t.minute())
                             .arg(t.second());
    // Cut whole characters (never half a surrogate pair) until it fits.
    while (!base.isEmpty() && QFile::encodeName(base + tail).size() > kMaxFileNameBytes) {
        base.chop(1);
        if (!base.isEmpty() && base.back().isHighSurrogate())
            base.chop(1);
    }
    return base + tail;
}

ExternalEditor::Result ExternalEditor::edit(const IconEntry& icon, const std::string& editorPath, const QDateTime& now)
{
    endWatch();

    Result result;
    auto folder = std::make_unique<QTemporaryDir>(temporaryBase_ + QStringLiteral("/sigilscope-edit-XXXXXX"));
    if (!folder->isValid()) {
        result.outcome = Outcome::NotWritten;
        return result;
    }
    // mkdtemp makes it 0700 already; say so rather than rely on it.
    QFile::setPermissions(folder->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    lastFolder_ = folder->path();
    const QString file = folder->filePath(temporaryFileName(icon.name, now));

    const QByteArray written = writeIconFile(icon, fromQtPath(file)).ok() ? contentsHash(file) : QByteArray();
    if (written.isNull()) {
        result.outcome = Outcome::NotWritten;
        return result;  // the folder goes with `folder`
    }

    const QStringList command = editorCommand(editorPath, file);
    if (command.isEmpty()) {
        result.outcome = Outcome::NotStarted;
        return result;
    }
    QProcess editor;
    editor.setProgram(command.front());
    editor.setArguments(command.mid(1));
    // The editor talks to our terminal, if any, and never waits on a pipe
    // nobody reads or on input nobody gives.
    editor.setProcessChannelMode(QProcess::ForwardedChannels);
    editor.setStandardInputFile(QProcess::nullDevice());
    editor.start();
    if (!editor.waitForStarted(-1)) {
        result.outcome = Outcome::NotStarted;
        return result;
    }
    editor.waitForFinished(-1);

    // Contents, not the modification time: a save within the time stamp's
    // resolution, or one that keeps the old stamp, is still a save.
    const QByteArray after = contentsHash(file);
    if (after == written) {
        // Perhaps left alone, perhaps handed to an editor already running
        // that will save later: keep the file and watch it.
        folder_ = std::move(folder);
        ++watchNumber_;
        watchedFile_ = file;
        lastSeenHash_ = written;
        token_ = &icon;
        iconName_ = icon.name;
        iconSource_ = icon.source;
        watcher_ = new QFileSystemWatcher(this);
        watcher_->addPath(folder_->path());  // saves by rename replace the file
        watcher_->addPath(file);
        connect(watcher_, &QFileSystemWatcher::fileChanged, this, &ExternalEditor::onWatchEvent);
        connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &ExternalEditor::onWatchEvent);
        settle_ = new QTimer(this);
        settle_->setSingleShot(true);
        settle_->setInterval(kSettleMs);
        connect(settle_, &QTimer::timeout, this, &ExternalEditor::checkWatchedFile);
        result.outcome = Outcome::Unchanged;
        return result;
    }

    result.edited = after.isNull() ? nullptr : readBack(file, icon.name, icon.source);
    result.outcome = result.edited ? Outcome::Changed : Outcome::Unchanged;
    return result;
}

void ExternalEditor::onWatchEvent()
{
    // A file replaced by rename is a new file: watch it again.
    if (!watcher_->files().contains(watchedFile_) && QFileInfo::exists(watchedFile_))
        watcher_->addPath(watchedFile_);
    settle_->start();
}

void ExternalEditor::checkWatchedFile()
{
    if (!folder_)
        return;
    const QByteArray now = contentsHash(watchedFile_);
    if (now.isNull() || now == lastSeenHash_)
        return;
    lastSeenHash_ = now;
    std::shared_ptr<IconEntry> edited = readBack(watchedFile_, iconName_, iconSource_);
    if (edited)
        emit editedLater(token_, std::move(edited));
}

void ExternalEditor::endWatch()
{
    stopWatch(true);
}

void ExternalEditor::stopWatch(bool lookOnce)
{
    if (!folder_)
        return;
    if (lookOnce) {
        const quint64 watch = watchNumber_;
        checkWatchedFile();
        // A slot of editedLater may have ended this watch, or begun another.
        if (!folder_ || watchNumber_ != watch)
            return;
    }
    // Later, not now: this may run inside the timer's own signal.
    watcher_->disconnect(this);
    settle_->disconnect(this);
    settle_->stop();
    watcher_->deleteLater();
    settle_->deleteLater();
    watcher_ = nullptr;
    settle_ = nullptr;
    folder_.reset();  // removes the folder and whatever the editor left in it
    watchedFile_.clear();
    lastSeenHash_.clear();
    token_ = nullptr;
    iconName_.clear();
    iconSource_.clear();
}

}  // namespace sigil
