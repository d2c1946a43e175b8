#pragma once
// Read-only access to the resources of a 32- or 64-bit Windows module (PE32
// or PE32+), parsed straight from the file's bytes. Nothing of the module is
// loaded or run: the headers are read only to find the resource directory and
// to map its addresses to file offsets.
//
// The directory is a tree of three levels: type, then name, then language.
// Every table, count, offset and size read from it is checked against the
// bytes really there. The first lookup of a type indexes its names once
// (each name's chosen language included), so a module of thousands of icons
// costs one pass over its tables, not one per lookup. Lookups fill that
// index: one PeResources is for one thread.

#include <QLocale>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Bytes.h"

namespace sigil {

// Resource types used by the readers.
constexpr uint16_t kResourceIcon = 3;        // RT_ICON
constexpr uint16_t kResourceString = 6;      // RT_STRING
constexpr uint16_t kResourceGroupIcon = 14;  // RT_GROUP_ICON

// A resource's name: an integer identifier or a text (UTF-8).
struct ResourceName {
    bool isId = true;
    uint16_t id = 0;
    std::string text;

    static ResourceName fromId(uint16_t id) { return {true, id, {}}; }
    static ResourceName fromText(std::string text) { return {false, 0, std::move(text)}; }
    bool operator==(const ResourceName&) const = default;
};

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD and clear `valid`.
std::string utf8FromUtf16(std::u16string_view text, bool* valid = nullptr);

// The Windows language identifier (LANGID) of a locale: the primary language
// in the low 10 bits, the sublanguage (territory or script) above. 0 when the
// language is not one the table knows.
uint16_t windowsLanguageId(const QLocale& locale);

class PeResources {
public:
    // The preferred language starts as the system locale's.
    PeResources();

    // Parses the headers and finds the resource directory. False when the
    // bytes are not a PE module (signatures, optional header, section table);
    // a module whose resource directory is missing or cannot be mapped loads
    // with no resources, as the system loader would load it. The view must
    // outlive every lookup and every view the lookups hand out.
    bool load(ByteView file);
    // As load(file), for a file of which only the `read` parts hold its
    // bytes so far. Whatever would need bytes outside them is treated as
    // missing and sets reachedUnread().
    bool load(ByteView file, std::span<const FileRange> read);
    // True once the headers or a lookup needed bytes that were not read:
    // answers since may lack what a complete read would give.
    bool reachedUnread() const { return reachedUnread_; }
    // The file bytes of the section that holds the resource directory.
    std::optional<FileRange> resourceSection() const { return resourceSection_; }
    // Indexes these types now, as their first lookups would; false when
    // any of their tables or data lies outside the bytes read.
    bool indexTypes(std::initializer_list<uint16_t> types) const;

    // Names of the resources of one type, in the directory's stored order
    // (text names, then identifiers). Entries whose name cannot be read are
    // left out.
    std::vector<ResourceName> names(uint16_t type) const;

    // The bytes of a resource, in the language chosen by the rule of
    // chooseLanguage. Nothing when it is missing or its bytes are not wholly
    // inside the file.
    std::optional<ByteView> find(uint16_t type, const ResourceName& name) const;
    std::optional<ByteView> find(uint16_t type, uint16_t id) const;

    // String `id` of the module's string table (block id / 16 + 1, entry
    // id % 16). Nothing when the block or the entry is missing; an empty
    // string when the entry is stored empty.
    std::optional<std::u16string> loadString(uint32_t id) const;

    void setPreferredLanguage(uint16_t langId)
    {
        preferredLanguage_ = langId;
        types_.clear();
    }

    // Which of the stored languages a lookup takes: neutral (0) first, then
    // the preferred language, then its primary language with the neutral
    // sublanguage, then US English (0x0409), then English (0x0009), else the
    // first stored. An index into `stored`, or -1 when it is empty.
    static int chooseLanguage(const std::vector<uint16_t>& stored, uint16_t preferred);

private:
    struct Entry {
        uint32_t nameField;  // high bit: offset of a text name; else the id
        uint32_t target;     // high bit: offset of a subdirectory; else of a data entry
    };
    struct Directory {
        uint32_t offset = 0;  // within the resource directory
        std::vector<Entry> entries;
    };

    std::optional<Directory> readDirectory(uint32_t offset) const;
    // The subdirectory an entry leads to, refusing any that is one of the
    // directories above it (a loop) or cannot be read.
    std::optional<Directory> subdirectory(const Entry& entry, std::initializer_list<uint32_t> ancestors) const;
    std::optional<std::u16string> readName(uint32_t field) const;
    std::optional<std::string> textName(const Entry& entry) const;
    // The name level of one type (the root is always at offset 0).
    std::optional<Directory> namesDirectory(uint16_t type) const;
    // The data of the chosen language of a name's language directory.
    std::optional<ByteView> chosenData(const Directory& languages) const;

    // One type's names in stored order, and the data each name finds (the
    // first entry of a name wins, as a walk of the directory would find it).
    struct TypeIndex {
        std::vector<ResourceName> names;
        std::unordered_map<uint16_t, std::optional<ByteView>> byId;
        std::unordered_map<std::string, std::optional<ByteView>> byText;
    };
    const TypeIndex& typeIndex(uint16_t type) const;
    std::optional<ByteView> dataOf(const Entry& entry) const;
    std::optional<ByteView> mapRva(uint64_t rva, uint64_t size) const;
    // Bytes of the file that were read; nothing when they are not all there.
    std::optional<ByteView> fileBytes(uint64_t offset, uint64_t size) const;

    struct Section {
        uint32_t virtualAddress;
        uint32_t rawSize;
        uint32_t rawOffset;
    };
    ByteView file_;
    std::vector<FileRange> read_;
    mutable bool reachedUnread_ = false;
    std::optional<FileRange> resourceSection_;
    ByteView directory_;  // the whole resource directory, offsets are relative to it
    std::vector<Section> sections_;
    uint16_t preferredLanguage_ = 0;
    mutable std::unordered_map<uint16_t, TypeIndex> types_;
};

}  // namespace sigil
