#include "platform/FileBytes.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

namespace sigil {

QString toQtPath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string fromQtPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

FileBytes::FileBytes() = default;
FileBytes::~FileBytes() = default;

bool FileBytes::open(const std::string& path)
{
    file_ = std::make_unique<QFile>(toQtPath(path));
    copy_.reset();
    data_ = nullptr;
    size_ = 0;
    // Only regular files: opening a named pipe found in a folder would wait
    // for a writer forever, and devices never end.
    if (!QFileInfo(file_->fileName()).isFile())
        return false;
    if (!file_->open(QIODevice::ReadOnly) || file_->isSequential())
        return false;
    const qint64 size = file_->size();
    if (size <= 0)
        return size == 0;
    size_ = static_cast<size_t>(size);
    // Mapping pays off for large modules; small files (most icons) are
    // cheaper to read in one go. Some file systems cannot map at all.
    constexpr qint64 kMapFrom = qint64{1} << 20;
    if (size >= kMapFrom) {
        if (uchar* mapped = file_->map(0, size)) {
            data_ = mapped;
            return true;
        }
    }
    copy_.reset(new (std::nothrow) uint8_t[size_]);
    if (!copy_ || file_->read(reinterpret_cast<char*>(copy_.get()), size) != size) {
        copy_.reset();
        size_ = 0;
        return false;
    }
    data_ = copy_.get();
    return true;
}

}  // namespace sigil
