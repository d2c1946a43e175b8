#pragma once
// Builds small Windows modules (PE32 or PE32+) in memory whose only content
// is a resource section, so module-reading tests can describe their fixture
// in a few lines and break one field of it with a one-line patch.
//
// Layout: headers, a one-page ".text" section, then ".rsrc" at a virtual
// address (0x3000) that differs from its file offset (0x400). In the
// resource directory every level keeps the order in which the resources were
// added, text names before numbers.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "support/IconBytes.h"

namespace sigil::test {

struct PeName {
    PeName(uint16_t number) : id(number) {}  // NOLINT: implicit on purpose, ids read naturally
    PeName(const char16_t* name) : text(name), isText(true) {}
    uint16_t id = 0;
    std::u16string text;
    bool isText = false;
};

// The built file, with the file offsets that tests patch.
struct PeFile {
    Bytes bytes;
    uint32_t optionalHeader = 0;  // start of the optional header
    uint32_t sectionTable = 0;    // first section header (.text, then .rsrc)
    uint32_t resourceRva = 0;
    uint32_t resourceBytes = 0;            // the resource directory's size (data directory 2)
    uint32_t root = 0;                     // the resource directory's root table
    std::vector<uint32_t> nameTables;      // one per type, in stored order
    std::vector<uint32_t> languageTables;  // one per (type, name), in stored order
    std::vector<uint32_t> dataEntries;     // one per added resource, in the order added

    // The rsrc-relative offset of a table or entry given by file offset.
    uint32_t relative(uint32_t fileOffset) const { return fileOffset - root; }
    // Overwrites the second field (subdirectory or data entry) of entry
    // `index` of the directory table at file offset `table`.
    void setTarget(uint32_t table, int index, uint32_t value);
    // Overwrites the named and numbered entry counts of a directory table.
    void setCounts(uint32_t table, uint16_t named, uint16_t numbered);
    void put32At(uint32_t offset, uint32_t value);
};

class PeBuilder {
public:
    explicit PeBuilder(bool pe32Plus = false) : pe32Plus_(pe32Plus) {}

    PeBuilder& add(uint16_t type, const PeName& name, Bytes data, uint16_t language = 0);
    // RT_ICON resources firstId, firstId + 1, … and a group directory
    // listing them in the given order.
    PeBuilder& addIconGroup(const PeName& name, const std::vector<Bytes>& images, uint16_t firstId,
                            uint16_t language = 0);
    // String-table blocks (16 strings each) holding the given strings.
    PeBuilder& addStrings(const std::map<uint32_t, std::u16string>& strings, uint16_t language = 0);
    // NumberOfRvaAndSizes of the optional header (16 in real modules).
    PeBuilder& setDataDirectoryCount(uint32_t count)
    {
        dataDirectoryCount_ = count;
        return *this;
    }

    PeFile build() const;

private:
    struct Resource {
        uint16_t type;
        PeName name;
        uint16_t language;
        Bytes data;
    };
    bool pe32Plus_;
    uint32_t dataDirectoryCount_ = 16;
    std::vector<Resource> resources_;
};

// A group icon directory: 6-byte header and one 14-byte entry per image,
// with size and depth taken from each image's header and the given ids.
Bytes groupIconBytes(const std::vector<Bytes>& images, const std::vector<uint16_t>& ids);

// The RT_ICON/RT_GROUP_ICON/RT_STRING type numbers.
constexpr uint16_t kRtIcon = 3;
constexpr uint16_t kRtString = 6;
constexpr uint16_t kRtGroupIcon = 14;

}  // namespace sigil::test
