#include "formats/PeResources.h"

#include <algorithm>
#include <array>

namespace sigil {

namespace {

constexpr uint32_t kHighBit = 0x80000000u;
constexpr size_t kDosHeaderBytes = 0x40;
constexpr size_t kNewHeaderOffsetField = 0x3C;
constexpr size_t kSignatureBytes = 4;  // "PE\0\0"
constexpr size_t kCoffHeaderBytes = 20;
// Fields of the file (COFF) header, after the signature.
constexpr size_t kCoffSectionCount = 2, kCoffOptionalHeaderSize = 16;
constexpr size_t kSectionHeaderBytes = 40;
// Fields of a section header.
constexpr size_t kSectionVirtualAddress = 12, kSectionRawSize = 16, kSectionRawOffset = 20;
constexpr size_t kDirectoryTableBytes = 16;
// Fields of a resource directory table: its named and its numbered entries.
constexpr size_t kDirectoryNamedCount = 12, kDirectoryIdCount = 14;
constexpr size_t kDirectoryEntryBytes = 8;
constexpr size_t kDataEntryBytes = 16;
constexpr uint32_t kResourceDataDirectory = 2;

// Where the optional header keeps NumberOfRvaAndSizes and the data
// directories, by magic.
struct OptionalLayout {
    uint16_t magic;
    size_t rvaCountField;
    size_t dataDirectories;
};
constexpr OptionalLayout kPe32{0x10B, 92, 96};
constexpr OptionalLayout kPe32Plus{0x20B, 108, 112};

// Bytes [offset, offset + size) of `data`, or nothing when they are not all there.
std::optional<ByteView> slice(ByteView data, uint64_t offset, uint64_t size)
{
    if (offset > data.size() || size > data.size() - offset)
        return std::nullopt;
    return data.subspan(static_cast<size_t>(offset), static_cast<size_t>(size));
}

void appendUtf8(std::string& out, uint32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// A string stored as a 16-bit length and that many UTF-16 units at `offset`.
std::optional<std::u16string> lengthPrefixed(ByteView data, uint64_t offset)
{
    const auto length = slice(data, offset, 2);
    if (!length)
        return std::nullopt;
    const auto chars = slice(data, offset + 2, uint64_t{getU16(length->data())} * 2);
    if (!chars)
        return std::nullopt;
    std::u16string text(chars->size() / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = char16_t(getU16(chars->data() + 2 * i));
    return text;
}

bool isHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

std::string utf8FromUtf16(std::u16string_view text, bool* valid)
{
    std::string out;
    out.reserve(text.size());
    bool ok = true;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            appendUtf8(out, 0x10000 + ((uint32_t(c) - 0xD800) << 10) + (uint32_t(text[i + 1]) - 0xDC00));
            ++i;
        } else if (isHighSurrogate(c) || isLowSurrogate(c)) {
            appendUtf8(out, 0xFFFD);
            ok = false;
        } else {
            appendUtf8(out, c);
        }
    }
    if (valid)
        *valid = ok;
    return out;
}

uint16_t windowsLanguageId(const QLocale& locale)
{
    struct Row {
        QLocale::Language language;
        QLocale::Territory territory;  // AnyTerritory: the language's default
        uint16_t langId;
    };
    // Territories first, then the default row of each language.
    static constexpr Row kTable[] = {
        {QLocale::English, QLocale::UnitedKingdom, 0x0809},   {QLocale::English, QLocale::Australia, 0x0C09},
        {QLocale::English, QLocale::Canada, 0x1009},          {QLocale::English, QLocale::NewZealand, 0x1409},
        {QLocale::English, QLocale::Ireland, 0x1809},         {QLocale::English, QLocale::AnyTerritory, 0x0409},
        {QLocale::German, QLocale::Switzerland, 0x0807},      {QLocale::German, QLocale::Austria, 0x0C07},
        {QLocale::German, QLocale::AnyTerritory, 0x0407},     {QLocale::French, QLocale::Belgium, 0x080C},
        {QLocale::French, QLocale::Canada, 0x0C0C},           {QLocale::French, QLocale::Switzerland, 0x100C},
        {QLocale::French, QLocale::AnyTerritory, 0x040C},     {QLocale::Chinese, QLocale::Taiwan, 0x0404},
        {QLocale::Chinese, QLocale::HongKong, 0x0C04},        {QLocale::Chinese, QLocale::Singapore, 0x1004},
        {QLocale::Chinese, QLocale::Macao, 0x1404},           {QLocale::Chinese, QLocale::AnyTerritory, 0x0804},
        {QLocale::Spanish, QLocale::Mexico, 0x080A},          {QLocale::Spanish, QLocale::AnyTerritory, 0x0C0A},
        {QLocale::Portuguese, QLocale::Portugal, 0x0816},     {QLocale::Portuguese, QLocale::AnyTerritory, 0x0416},
        {QLocale::Italian, QLocale::AnyTerritory, 0x0410},    {QLocale::Japanese, QLocale::AnyTerritory, 0x0411},
        {QLocale::Korean, QLocale::AnyTerritory, 0x0412},     {QLocale::Dutch, QLocale::Belgium, 0x0813},
        {QLocale::Dutch, QLocale::AnyTerritory, 0x0413},      {QLocale::Russian, QLocale::AnyTerritory, 0x0419},
        {QLocale::Polish, QLocale::AnyTerritory, 0x0415},     {QLocale::Swedish, QLocale::AnyTerritory, 0x041D},
        {QLocale::Danish, QLocale::AnyTerritory, 0x0406},     {QLocale::NorwegianBokmal, QLocale::AnyTerritory, 0x0414},
        {QLocale::Finnish, QLocale::AnyTerritory, 0x040B},    {QLocale::Czech, QLocale::AnyTerritory, 0x0405},
        {QLocale::Hungarian, QLocale::AnyTerritory, 0x040E},  {QLocale::Greek, QLocale::AnyTerritory, 0x0408},
        {QLocale::Turkish, QLocale::AnyTerritory, 0x041F},    {QLocale::Ukrainian, QLocale::AnyTerritory, 0x0422},
        {QLocale::Hebrew, QLocale::AnyTerritory, 0x040D},     {QLocale::Arabic, QLocale::AnyTerritory, 0x0401},
        {QLocale::Thai, QLocale::AnyTerritory, 0x041E},       {QLocale::Vietnamese, QLocale::AnyTerritory, 0x042A},
        {QLocale::Indonesian, QLocale::AnyTerritory, 0x0421},
    };
    const QLocale::Language language = locale.language();
    QLocale::Territory territory = locale.territory();
    // Traditional Chinese without a territory of its own reads as Taiwan's.
    if (language == QLocale::Chinese && locale.script() == QLocale::TraditionalHanScript &&
        territory != QLocale::HongKong && territory != QLocale::Macao)
        territory = QLocale::Taiwan;
    for (const Row& row : kTable)
        if (row.language == language && (row.territory == territory || row.territory == QLocale::AnyTerritory))
            return row.langId;
    return 0;
}

PeResources::PeResources() : preferredLanguage_(windowsLanguageId(QLocale::system()))
{}

bool PeResources::load(ByteView file)
{
    const FileRange whole{0, file.size()};
    return load(file, {&whole, 1});
}

bool PeResources::load(ByteView file, std::span<const FileRange> read)
{
    types_.clear();
    file_ = file;
    read_.assign(read.begin(), read.end());
    reachedUnread_ = false;
    resourceSection_.reset();
    directory_ = {};
    sections_.clear();

    const auto dos = fileBytes(0, kDosHeaderBytes);
    if (!dos || (*dos)[0] != 'M' || (*dos)[1] != 'Z')
        return false;
    const uint64_t peOffset = getU32(dos->data() + kNewHeaderOffsetField);
    const auto coff = fileBytes(peOffset, kSignatureBytes + kCoffHeaderBytes);
    if (!coff || getU32(coff->data()) != 0x00004550)  // "PE\0\0"
        return false;
    const uint16_t sectionCount = getU16(coff->data() + kSignatureBytes + kCoffSectionCount);
    const uint16_t optionalBytes = getU16(coff->data() + kSignatureBytes + kCoffOptionalHeaderSize);
    const uint64_t optionalOffset = peOffset + kSignatureBytes + kCoffHeaderBytes;
    const auto optional = fileBytes(optionalOffset, optionalBytes);
    if (!optional || optional->size() < 2)
        return false;
    const uint16_t magic = getU16(optional->data());
    const OptionalLayout* layout = magic == kPe32.magic ? &kPe32 : magic == kPe32Plus.magic ? &kPe32Plus : nullptr;
    if (!layout)
        return false;
    const auto table = fileBytes(optionalOffset + optionalBytes, uint64_t{sectionCount} * kSectionHeaderBytes);
    if (!table)
        return false;
    for (size_t i = 0; i < sectionCount; ++i) {
        const uint8_t* s = table->data() + i * kSectionHeaderBytes;
        sections_.push_back(
            {getU32(s + kSectionVirtualAddress), getU32(s + kSectionRawSize), getU32(s + kSectionRawOffset)});
    }

    // From here on the module is loadable; a missing or unreadable resource
    // directory only means that it has no resources.
    if (layout->rvaCountField + 4 > optional->size())
        return true;
    const uint32_t directoryCount = getU32(optional->data() + layout->rvaCountField);
    const uint64_t resourceField = layout->dataDirectories + uint64_t{kResourceDataDirectory} * 8;
    if (directoryCount <= kResourceDataDirectory || resourceField + 8 > optional->size())
        return true;
    const uint32_t rva = getU32(optional->data() + resourceField);
    const uint32_t size = getU32(optional->data() + resourceField + 4);
    if (rva == 0 || size == 0)
        return true;
    for (const Section& s : sections_)
        if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize) {
            resourceSection_ = FileRange{s.rawOffset, s.rawSize};
            break;
        }
    if (const auto directory = mapRva(rva, size))
        directory_ = *directory;
    return true;
}

std::optional<ByteView> PeResources::fileBytes(uint64_t offset, uint64_t size) const
{
    const auto bytes = slice(file_, offset, size);
    if (!bytes)
        return bytes;
    for (const FileRange& r : read_)
        if (offset >= r.offset && offset - r.offset <= r.size && size <= r.size - (offset - r.offset))
            return bytes;
    reachedUnread_ = true;
    return std::nullopt;
}

std::optional<ByteView> PeResources::mapRva(uint64_t rva, uint64_t size) const
{
    for (const Section& s : sections_) {
        if (rva < s.virtualAddress)
            continue;
        const uint64_t into = rva - s.virtualAddress;
        if (into > s.rawSize || size > s.rawSize - into)
            continue;
        return fileBytes(uint64_t{s.rawOffset} + into, size);
    }
    return std::nullopt;
}

bool PeResources::indexTypes(std::initializer_list<uint16_t> types) const
{
    for (const uint16_t type : types)
        typeIndex(type);
    return !reachedUnread_;
}

std::optional<PeResources::Directory> PeResources::readDirectory(uint32_t offset) const
{
    const auto head = slice(directory_, offset, kDirectoryTableBytes);
    if (!head)
        return std::nullopt;
    const uint64_t count =
        uint64_t{getU16(head->data() + kDirectoryNamedCount)} + getU16(head->data() + kDirectoryIdCount);
    const auto table = slice(directory_, uint64_t{offset} + kDirectoryTableBytes, count * kDirectoryEntryBytes);
    if (!table)
        return std::nullopt;
    Directory dir;
    dir.offset = offset;
    dir.entries.reserve(static_cast<size_t>(count));
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = table->data() + i * kDirectoryEntryBytes;
        dir.entries.push_back({getU32(e), getU32(e + 4)});
    }
    return dir;
}

std::optional<PeResources::Directory> PeResources::subdirectory(const Entry& entry,
                                                                std::initializer_list<uint32_t> ancestors) const
{
    if (!(entry.target & kHighBit))
        return std::nullopt;
    const uint32_t offset = entry.target & ~kHighBit;
    if (std::find(ancestors.begin(), ancestors.end(), offset) != ancestors.end())
        return std::nullopt;
    return readDirectory(offset);
}

std::optional<std::u16string> PeResources::readName(uint32_t field) const
{
    if (!(field & kHighBit))
        return std::nullopt;
    return lengthPrefixed(directory_, field & ~kHighBit);
}

std::optional<PeResources::Directory> PeResources::namesDirectory(uint16_t type) const
{
    const auto root = readDirectory(0);
    if (!root)
        return std::nullopt;
    for (const Entry& e : root->entries)
        if (e.nameField == type)  // a text-named type never equals a number
            return subdirectory(e, {root->offset});
    return std::nullopt;
}

std::optional<std::string> PeResources::textName(const Entry& entry) const
{
    // A name that runs off the directory or is not valid UTF-16 cannot be
    // told apart from others reliably: it is treated as unreadable.
    const auto text = readName(entry.nameField);
    if (!text)
        return std::nullopt;
    bool valid = false;
    std::string utf8 = utf8FromUtf16(*text, &valid);
    if (!valid)
        return std::nullopt;
    return utf8;
}

const PeResources::TypeIndex& PeResources::typeIndex(uint16_t type) const
{
    const auto known = types_.find(type);
    if (known != types_.end())
        return known->second;
    TypeIndex index;
    if (const auto dir = namesDirectory(type)) {
        // Many names may share one language directory; each is read once.
        std::unordered_map<uint32_t, std::optional<ByteView>> chosen;
        auto dataOfName = [&](const Entry& e) -> std::optional<ByteView> {
            const auto seen = chosen.find(e.target);
            if (seen != chosen.end())
                return seen->second;
            const auto languages = subdirectory(e, {0, dir->offset});
            const auto data = languages ? chosenData(*languages) : std::nullopt;
            chosen.emplace(e.target, data);
            return data;
        };
        for (const Entry& e : dir->entries) {
            if (!(e.nameField & kHighBit)) {
                const uint16_t id = static_cast<uint16_t>(e.nameField);
                index.names.push_back(ResourceName::fromId(id));
                if (e.nameField == id && !index.byId.count(id))
                    index.byId.emplace(id, dataOfName(e));
            } else if (auto text = textName(e)) {
                index.names.push_back(ResourceName::fromText(*text));
                if (!index.byText.count(*text))
                    index.byText.emplace(*text, dataOfName(e));
            }
        }
    }
    return types_.emplace(type, std::move(index)).first->second;
}

std::vector<ResourceName> PeResources::names(uint16_t type) const
{
    return typeIndex(type).names;
}

int PeResources::chooseLanguage(const std::vector<uint16_t>& stored, uint16_t preferred)
{
    if (stored.empty())
        return -1;
    std::vector<uint16_t> wanted{0x0000};
    if (preferred != 0) {
        wanted.push_back(preferred);
        wanted.push_back(preferred & 0x03FF);  // primary language, neutral sublanguage
    }
    wanted.push_back(0x0409);
    wanted.push_back(0x0009);
    for (const uint16_t lang : wanted) {
        const auto it = std::find(stored.begin(), stored.end(), lang);
        if (it != stored.end())
            return static_cast<int>(it - stored.begin());
    }
    return 0;
}

std::optional<ByteView> PeResources::dataOf(const Entry& entry) const
{
    if (entry.target & kHighBit)
        return std::nullopt;
    const auto data = slice(directory_, entry.target, kDataEntryBytes);
    if (!data)
        return std::nullopt;
    return mapRva(getU32(data->data()), getU32(data->data() + 4));
}

std::optional<ByteView> PeResources::chosenData(const Directory& languages) const
{
    // Only data entries count as languages; anything deeper is not followed.
    std::vector<uint16_t> stored;
    std::vector<const Entry*> data;
    for (const Entry& e : languages.entries) {
        if ((e.nameField & kHighBit) || (e.target & kHighBit))
            continue;
        stored.push_back(static_cast<uint16_t>(e.nameField));
        data.push_back(&e);
    }
    const int chosen = chooseLanguage(stored, preferredLanguage_);
    if (chosen < 0)
        return std::nullopt;
    return dataOf(*data[static_cast<size_t>(chosen)]);
}

std::optional<ByteView> PeResources::find(uint16_t type, const ResourceName& name) const
{
    const TypeIndex& index = typeIndex(type);
    if (name.isId) {
        const auto it = index.byId.find(name.id);
        return it == index.byId.end() ? std::nullopt : it->second;
    }
    const auto it = index.byText.find(name.text);
    return it == index.byText.end() ? std::nullopt : it->second;
}

std::optional<ByteView> PeResources::find(uint16_t type, uint16_t id) const
{
    return find(type, ResourceName::fromId(id));
}

std::optional<std::u16string> PeResources::loadString(uint32_t id) const
{
    const uint32_t block = (id >> 4) + 1;
    if (block > 0xFFFF)
        return std::nullopt;
    const auto data = find(kResourceString, static_cast<uint16_t>(block));
    if (!data)
        return std::nullopt;
    // A block holds 16 strings, each a length and that many UTF-16 units.
    uint64_t pos = 0;
    for (uint32_t i = 0; i < (id & 15); ++i) {
        if (pos + 2 > data->size())
            return std::nullopt;
        pos += 2 + uint64_t{getU16(data->data() + pos)} * 2;
    }
    return lengthPrefixed(*data, pos);
}

}  // namespace sigil
