#pragma once
// Names inside icon libraries are 8-bit text in code page 932 (Japanese
// Windows); names in memory are UTF-8. These functions convert between
// them so that any name survives a write and a read, and cut names to the
// length their field allows.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace sigil {

// The name bytes of a library as UTF-8. Bytes that are valid UTF-8 with at
// least one non-ASCII byte were written by us for a name that code page 932
// cannot hold, and are taken as they are; everything else is code page 932.
// Bytes that do not convert become U+FFFD. Safe to call from any thread.
std::string decodeNeName(std::span<const uint8_t> bytes);

// The bytes to store for a UTF-8 name: code page 932 when every character
// has a code there that reads back as the same character, UTF-8 otherwise;
// at most maxBytes long, cut only between characters. decodeNeName gives
// back the name, or the part of it that fitted. Safe to call from any thread.
std::string encodeNeName(const std::string& utf8, size_t maxBytes = 255);

// A UTF-8 text cut to at most maxBytes bytes, never inside a character.
std::string cutUtf8(const std::string& utf8, size_t maxBytes);

// Whether the bytes are well-formed UTF-8 (plain ASCII is).
bool isUtf8(std::span<const uint8_t> bytes);

// Code page 932 text as UTF-8; bytes that do not convert become U+FFFD.
// Safe to call from any thread.
std::string cp932ToUtf8(std::span<const uint8_t> bytes);

// The code page 932 bytes of a UTF-8 text, or nothing when a character has
// no code there or one that reads back as another character (U+00A5 would
// be stored as a backslash). Safe to call from any thread.
std::optional<std::string> utf8ToCp932(std::string_view utf8);

}  // namespace sigil
