#include "platform/SettingsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <functional>
#include <limits>

#include "platform/FileBytes.h"
#include "platform/IniText.h"
#include "platform/SafeFileWriter.h"

namespace sigil {

namespace {

// Values are read whole up to this length. The classic private-profile
// calls read into 256 bytes and took a value that filled them as empty,
// which in UTF-8 cut Japanese paths of 85 characters; longer values than
// this are still read as empty, and never written.
constexpr size_t kMaxValueBytes = size_t{32} << 10;
// A settings file is a few kilobytes; anything far larger is not ours and
// is neither parsed nor overwritten.
constexpr size_t kMaxFileBytes = size_t{16} << 20;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string trimmedSpace(const std::string& s)
{
    size_t first = 0;
    size_t last = s.size();
    while (first < last && isSpace(s[first]))
        ++first;
    while (last > first && isSpace(s[last - 1]))
        --last;
    return s.substr(first, last - first);
}

enum class LoadResult { Loaded, Missing, Unusable };

LoadResult loadText(const std::string& path, IniText& text)
{
    const QFileInfo info(toQtPath(path));
    if (!info.exists())
        return LoadResult::Missing;
    FileBytes file;
    if (!file.open(path) || file.size() > kMaxFileBytes)
        return LoadResult::Unusable;
    const auto bytes = file.bytes();
    text = IniText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return LoadResult::Loaded;
}

IniText readableText(const std::string& path)
{
    IniText text;
    if (loadText(path, text) != LoadResult::Loaded)
        return IniText();
    return text;
}

std::string stringValue(const IniText& text, const std::string& section, const std::string& key, const std::string& def)
{
    std::string value = text.value(section, key).value_or(def);
    if (value.size() > kMaxValueBytes)
        return {};
    return value;
}

std::string formatLong(long value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%ld", value);
    return buffer;
}

std::string indexedKey(const std::string& prefix, size_t index)
{
    return prefix + std::to_string(index);
}

// Splits "n1,n2,...,nk" into k numbers. Every comma must follow at least one
// character of the text still left, or the whole value is refused.
bool parseNumbers(const std::string& text, int32_t* numbers, int count)
{
    std::string rest = trimmedSpace(text);
    if (rest.empty())
        return false;
    for (int i = 0; i < count - 1; ++i) {
        const size_t comma = rest.find(',');
        if (comma == std::string::npos || comma == 0)
            return false;
        numbers[i] = SettingsFile::parseInt(rest.substr(0, comma));
        rest = rest.substr(comma + 1);
    }
    numbers[count - 1] = SettingsFile::parseInt(rest);
    return true;
}

}  // namespace

std::string SettingsFile::executableDirectory()
{
    QString dir;
    if (QCoreApplication::instance())
        dir = QCoreApplication::applicationDirPath();
    else
        dir = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
    std::string out = fromQtPath(dir);
    if (out.empty() || out.back() != '/')
        out += '/';
    return out;
}

std::string SettingsFile::locate(const std::string& executableDir)
{
    const QString fromEnvironment = qEnvironmentVariable("SIGILSCOPE_INI");
    if (!fromEnvironment.isEmpty())
        return fromQtPath(fromEnvironment);
    const QString dir = toQtPath(executableDir);
    const QFileInfo beside(QDir(dir).filePath(QString::fromLatin1(kFileName)));
    const QFileInfo dirInfo(dir);
    // An installed program (share/sigilscope beside its bin folder, as
    // cmake --install and the Debian package lay it out) never writes among
    // its own files, even where it could (run by root, or installed into a
    // prefix of the user's): they belong to the package or the install.
    const bool installed = QFileInfo(QDir(dir).filePath(QStringLiteral("../share/sigilscope"))).isDir();
    // A writable file is written in place even when its folder takes no new
    // files; a missing one needs a folder to be created in.
    if (!installed && (beside.exists() ? beside.isWritable() : dirInfo.isDir() && dirInfo.isWritable()))
        return fromQtPath(beside.filePath());
    // Installed, or read-only (a system folder): per-user configuration instead.
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    const QString folder = config + QStringLiteral("/sigilscope");
    const QString userFile = folder + QStringLiteral("/") + QString::fromLatin1(kFileName);
    // A read-only file beside the program holds the settings it ships with
    // (or the user's from before the folder was locked): the user's own file
    // starts as a copy of it, which is written from then on.
    if (beside.isFile() && !QFileInfo::exists(userFile) && QDir().mkpath(folder)) {
        FileBytes original;
        if (original.open(fromQtPath(beside.filePath())) && original.size() <= kMaxFileBytes) {
            SafeFileWriter copy(fromQtPath(userFile));
            const auto bytes = original.bytes();
            if (!(copy.open() && copy.write(bytes.data(), bytes.size()) && copy.commit()))
                QFile::remove(userFile);
        }
    }
    return fromQtPath(userFile);
}

void SettingsFile::setFile(const std::string& name)
{
    directory_ = executableDirectory();
    path_ = directory_ + name;
}

void SettingsFile::setPath(const std::string& fullPath)
{
    path_ = fullPath;
    const size_t slash = fullPath.rfind('/');
    directory_ = slash == std::string::npos ? std::string() : fullPath.substr(0, slash + 1);
}

int32_t SettingsFile::parseInt(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Saturate instead of overflowing on absurdly long digit strings.
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(value * 10 + (text[i] - '0'), kLimit);
    if (negative)
        return static_cast<int32_t>(-value);
    return static_cast<int32_t>(std::min<int64_t>(value, std::numeric_limits<int32_t>::max()));
}

bool SettingsFile::parseColor(const std::string& text, SettingsColor& color)
{
    int32_t n[3];
    if (!parseNumbers(text, n, 3))
        return false;
    // Each component keeps its low byte only: a stored 300 reads as 44.
    color = (uint32_t(n[0]) & 0xFF) | ((uint32_t(n[1]) & 0xFF) << 8) | ((uint32_t(n[2]) & 0xFF) << 16);
    return true;
}

bool SettingsFile::parsePoint(const std::string& text, SettingsPoint& point)
{
    int32_t n[2];
    if (!parseNumbers(text, n, 2))
        return false;
    point = {n[0], n[1]};
    return true;
}

bool SettingsFile::parseRect(const std::string& text, SettingsRect& rect)
{
    int32_t n[4];
    if (!parseNumbers(text, n, 4))
        return false;
    // Stored as left, top, width, height; wrap-around like the 32-bit sums
    // of the original instead of undefined overflow.
    rect = {n[0], n[1], static_cast<int32_t>(int64_t{n[0]} + n[2]), static_cast<int32_t>(int64_t{n[1]} + n[3])};
    return true;
}

std::string SettingsFile::formatColor(SettingsColor color)
{
    return std::to_string(color & 0xFF) + "," + std::to_string((color >> 8) & 0xFF) + "," +
           std::to_string((color >> 16) & 0xFF);
}

std::string SettingsFile::formatPoint(SettingsPoint point)
{
    return std::to_string(point.x) + "," + std::to_string(point.y);
}

std::string SettingsFile::formatRect(const SettingsRect& rect)
{
    const auto width = static_cast<int32_t>(int64_t{rect.right} - rect.left);
    const auto height = static_cast<int32_t>(int64_t{rect.bottom} - rect.top);
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(width) + "," +
           std::to_string(height);
}

std::string SettingsFile::readString(const std::string& section, const std::string& key, const std::string& def) const
{
    return stringValue(readableText(path_), section, key, def);
}

int32_t SettingsFile::readInt(const std::string& section, const std::string& key, int32_t def) const
{
    // Through the string default: a key present but empty reads as 0.
    return parseInt(readString(section, key, formatLong(def)));
}

SettingsColor SettingsFile::readColor(const std::string& section, const std::string& key, SettingsColor def) const
{
    SettingsColor color = def;
    return parseColor(readString(section, key, formatColor(def)), color) ? color : def;
}

SettingsPoint SettingsFile::readPoint(const std::string& section, const std::string& key, SettingsPoint def) const
{
    SettingsPoint point = def;
    return parsePoint(readString(section, key, formatPoint(def)), point) ? point : def;
}

SettingsRect SettingsFile::readRect(const std::string& section, const std::string& key, const SettingsRect& def) const
{
    SettingsRect rect = def;
    return parseRect(readString(section, key, formatRect(def)), rect) ? rect : def;
}

std::vector<int32_t> SettingsFile::readIntList(const std::string& section, const std::string& prefix) const
{
    // Every item needs a line of its own, so the file's size bounds the loop.
    const IniText text = readableText(path_);
    std::vector<int32_t> items;
    for (size_t n = 0;; ++n) {
        const int32_t item = parseInt(stringValue(text, section, indexedKey(prefix, n), "0"));
        if (item == 0)
            return items;
        items.push_back(item);
    }
}

std::vector<std::string> SettingsFile::readStringList(const std::string& section, const std::string& prefix) const
{
    const IniText text = readableText(path_);
    std::vector<std::string> items;
    for (size_t n = 0;; ++n) {
        std::string item = stringValue(text, section, indexedKey(prefix, n), "");
        if (item.empty())
            return items;
        items.push_back(std::move(item));
    }
}

bool SettingsFile::update(const std::function<bool(IniText&)>& edit)
{
    if (path_.empty())
        return false;
    IniText text;
    const LoadResult loaded = loadText(path_, text);
    // A file we cannot read is left alone rather than replaced by our keys.
    if (loaded == LoadResult::Unusable)
        return false;
    const std::string before = text.text();
    const bool complete = edit(text);
    const std::string after = text.text();
    if (after == before)
        return complete;
    if (!directory_.empty() && !QDir().mkpath(toQtPath(directory_)))
        return false;
    SafeFileWriter writer(path_);
    return writer.open() && writer.write(after.data(), after.size()) && writer.commit() && complete;
}

bool SettingsFile::store(IniText& text, const std::string& section, const std::string& key, const std::string& value)
{
    return value.size() <= kMaxValueBytes && text.setValue(section, key, value);
}

bool SettingsFile::writeString(const std::string& section, const std::string& key, const std::string& text)
{
    // A value that would read back otherwise keeps the file's old value.
    return update([&](IniText& ini) { return store(ini, section, key, text); });
}

bool SettingsFile::writeInt(const std::string& section, const std::string& key, int32_t value)
{
    return writeString(section, key, formatLong(value));
}

bool SettingsFile::writeColor(const std::string& section, const std::string& key, SettingsColor color)
{
    return writeString(section, key, formatColor(color));
}

bool SettingsFile::writePoint(const std::string& section, const std::string& key, SettingsPoint point)
{
    return writeString(section, key, formatPoint(point));
}

bool SettingsFile::writeRect(const std::string& section, const std::string& key, const SettingsRect& rect)
{
    return writeString(section, key, formatRect(rect));
}

bool SettingsFile::writeIntList(const std::string& section, const std::string& prefix,
                                const std::vector<int32_t>& items)
{
    return update([&](IniText& ini) {
        bool complete = true;
        for (size_t n = 0; n < items.size(); ++n)
            complete = store(ini, section, indexedKey(prefix, n), formatLong(items[n])) && complete;
        return store(ini, section, indexedKey(prefix, items.size()), "0") && complete;
    });
}

bool SettingsFile::writeStringList(const std::string& section, const std::string& prefix,
                                   const std::vector<std::string>& items)
{
    return update([&](IniText& ini) {
        // An item that cannot be stored is left out and the rest close up,
        // so the list in the file stays a list (it ends at an empty value).
        bool complete = true;
        size_t stored = 0;
        for (const std::string& item : items) {
            if (!item.empty() && store(ini, section, indexedKey(prefix, stored), item))
                ++stored;
            else
                complete = false;
        }
        return store(ini, section, indexedKey(prefix, stored), "") && complete;
    });
}
}  // namespace sigil
