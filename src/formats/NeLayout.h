#pragma once
// Fixed places of an icon library (a 16-bit NE module), shared by its
// writer and its reader.

#include <cstdint>

namespace sigil::ne {

constexpr uint64_t kNewHeaderField = 0x3C;      // file offset of the new-header offset (uint32)
constexpr uint32_t kHeaderBytes = 0x40;         // the NE header; the resource table follows it
constexpr uint64_t kResidentNamesField = 0x26;  // in the NE header: the name table, relative to it
// In the resource table: the alignment shift, then the first type entry
// (type, count).
constexpr uint64_t kShiftField = kHeaderBytes;
constexpr uint64_t kFirstTypeCountField = kHeaderBytes + 4;
// Every offset field is 16 bits wide, in units of 2^shift bytes. The writer
// needs at most 15 for the largest library it can write; the reader refuses
// more.
constexpr int kMaxShift = 15;
// Our libraries carry this stamp after the old-style header and at the end.
constexpr uint64_t kStampOffset = 0x40;
constexpr char kStamp[] = "Sigilscope(^-^)v";
constexpr uint64_t kStampBytes = sizeof kStamp - 1;

}  // namespace sigil::ne
