#pragma once
// Emitters of RIFF bytes for animated-cursor tests: chunks, lists and whole
// files, with every identifier and size open to being bent.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/IconBytes.h"

namespace sigil::test {

// A chunk: 4-byte identifier, size (the data's length unless overridden),
// the data, and a pad byte when the data's length is odd.
Bytes riffChunk(const std::string& id, const Bytes& data, std::optional<uint32_t> size = {});

// A list chunk: identifier, size, 4-byte list type, then the children.
Bytes riffList(const std::vector<Bytes>& children, const std::string& id = "LIST", const std::string& type = "fram");

// A whole file: identifier, size (4 + the chunks' bytes unless overridden),
// form type, then the chunks.
Bytes riffFile(const std::vector<Bytes>& chunks, const std::string& id = "RIFF", std::optional<uint32_t> size = {},
               const std::string& form = "ACON");

// An animated cursor as writers lay it out: an "anih" header chunk, then a
// "fram" list with one "icon" chunk per frame (each an icon file's bytes).
Bytes aniFile(const std::vector<Bytes>& frames);

// A one-image icon file of w x h at `bits`, for use as a frame.
Bytes iconFrame(int w, int h = 0, int bits = 4);

}  // namespace sigil::test
