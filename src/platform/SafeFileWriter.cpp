#include "platform/SafeFileWriter.h"

#include <QSaveFile>

#include "platform/FileBytes.h"

namespace sigil {

SafeFileWriter::SafeFileWriter(const std::string& path) : file_(std::make_unique<QSaveFile>(toQtPath(path)))
{}

SafeFileWriter::~SafeFileWriter()
{
    if (file_->isOpen())
        file_->cancelWriting();
}

bool SafeFileWriter::open()
{
    // QSaveFile falls back to writing the target in place only when the
    // temporary file is refused for lack of permission (EACCES) and the
    // target exists and is writable; any other failure (a name too long for
    // the temporary file, a full disk) still fails here and keeps the old
    // file whole.
    file_->setDirectWriteFallback(true);
    ok_ = file_->open(QIODevice::WriteOnly | QIODevice::Truncate);
    return ok_;
}

bool SafeFileWriter::write(const void* data, size_t size)
{
    if (!ok_)
        return false;
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
        const qint64 chunk = static_cast<qint64>(std::min<size_t>(size, size_t{1} << 30));
        const qint64 n = file_->write(p, chunk);
        if (n != chunk) {
            ok_ = false;
            return false;
        }
        p += n;
        size -= static_cast<size_t>(n);
        written_ += static_cast<uint64_t>(n);
    }
    return true;
}

bool SafeFileWriter::writeZeros(size_t size)
{
    static const char zeros[256] = {};
    while (size > 0) {
        const size_t n = std::min(size, sizeof zeros);
        if (!write(zeros, n))
            return false;
        size -= n;
    }
    return ok_;
}

bool SafeFileWriter::commit()
{
    if (!ok_) {
        if (file_->isOpen())
            file_->cancelWriting();
        return false;
    }
    // QSaveFile::commit() flushes its buffer while closing but renames the
    // file into place even when that last flush failed (a full disk met by
    // the final bytes), leaving a cut-short file where the old one stood:
    // flush first and give up on any error.
    if (!file_->flush() || file_->error() != QFileDevice::NoError) {
        file_->cancelWriting();
        ok_ = false;
        return false;
    }
    ok_ = file_->commit();
    return ok_;
}

std::string SafeFileWriter::errorText() const
{
    return file_->errorString().toStdString();
}

}  // namespace sigil
