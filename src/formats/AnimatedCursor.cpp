#include "formats/AnimatedCursor.h"

#include <algorithm>
#include <memory>

#include "formats/IconFile.h"
#include "platform/ByteStream.h"
#include "platform/FileBytes.h"

namespace sigil {

namespace {

constexpr uint64_t kChunkHeaderBytes = 8;
// Lists nest only a level or two in real files; a cap keeps a crafted file
// of lists within lists from exhausting the stack.
constexpr int kMaxListDepth = 64;

// Chunk and file identifiers are compared without regard to case: writers
// disagree on "LIST" or "list", "icon" or "ICON".
bool sameId(const uint8_t* id, const char* lower)
{
    for (int i = 0; i < 4; ++i) {
        uint8_t c = id[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<uint8_t>(c - 'A' + 'a');
        if (c != static_cast<uint8_t>(lower[i]))
            return false;
    }
    return true;
}

class RiffWalker {
public:
    RiffWalker(IconLibrary& library, const LoadControl* control, ByteStream& stream, const std::string& path,
               const std::string& baseName)
        : library_(library),
          control_(control),
          stream_(stream),
          path_(path),
          baseName_(baseName)
    {}

    // Walks chunks until `limit` bytes are counted; each counts 8 + its
    // padded size, whatever it really consumed.
    void walk(uint64_t counted, uint64_t limit, int depth)
    {
        while (counted < limit && !ended_)
            counted += chunkStep(depth);
    }

private:
    // One chunk; answers the bytes it occupies. Every step either consumes
    // its 8-byte header or ends the walk, so the walk always terminates.
    uint64_t chunkStep(int depth)
    {
        if (stopping(control_) || stream_.remaining() < kChunkHeaderBytes) {
            // A stop ends the walk at once. So does a header cut short: the
            // file is damaged, and going on would make no progress.
            ended_ = true;
            return 0;
        }
        uint8_t id[4];
        stream_.read(id, sizeof id);
        const uint64_t size = stream_.readU32();
        const uint64_t padded = size + (size & 1);

        if (sameId(id, "list") && depth < kMaxListDepth) {
            stream_.skip(4);  // list type, whatever it is
            walk(4, padded, depth + 1);
        } else if (sameId(id, "icon")) {
            // The frame is read from its own chunk only, so an icon file that
            // lies about its sizes cannot swallow the chunks after it.
            const ByteView chunk = stream_.take(padded);  // data and pad byte
            readFrame(chunk.first(static_cast<size_t>(std::min<uint64_t>(size, chunk.size()))));
        } else {
            // Other chunks (header, rate, sequence, information) and lists
            // nested too deeply are skipped whole.
            stream_.skip(padded);
        }
        return kChunkHeaderBytes + padded;
    }

    void readFrame(ByteView data)
    {
        auto entry = std::make_unique<IconEntry>();
        ByteStream frame(data);
        readIconDirectory(frame, *entry, kFileDirEntryBytes, 0);
        // A stop drops the frame being read, so no half-read icon appears.
        if (!readIconImages(frame, *entry, 0, stopFlag(control_)) || stopping(control_)) {
            ended_ = true;
            return;
        }
        // A frame without a usable image leaves no trace: the next usable
        // frame takes its number.
        if (entry->devices.empty())
            return;
        entry->sortDevices();
        entry->name = baseName_ + "_" + std::to_string(frameNumber_);
        entry->source = path_ + "," + std::to_string(frameNumber_);
        ++frameNumber_;
        library_.addReadIcon(std::move(entry));
    }

    IconLibrary& library_;
    const LoadControl* control_;
    ByteStream& stream_;
    const std::string& path_;
    const std::string& baseName_;
    int frameNumber_ = 0;
    bool ended_ = false;
};

}  // namespace

bool readAnimatedCursorBytes(IconLibrary& library, ByteView data, const std::string& path, const std::string& baseName,
                             LoadControl* control)
{
    ByteStream stream(data);
    uint8_t id[4];
    if (stream.read(id, sizeof id) < sizeof id || !sameId(id, "riff"))
        return false;
    // Writers often leave a stale size; never walk past the file's end.
    const uint64_t fileLength = data.size();
    uint64_t size = stream.readU32();
    if (size + 8 > fileLength)
        size = fileLength >= 8 ? fileLength - 8 : 0;
    stream.skip(4);  // form type
    RiffWalker(library, control, stream, path, baseName).walk(4, size, 0);
    return true;
}

bool readAnimatedCursor(IconLibrary& library, const std::string& path, const std::string& baseName,
                        LoadControl* control)
{
    FileBytes file;
    if (!file.open(path))
        return false;
    return readAnimatedCursorBytes(library, file.bytes(), path, baseName, control);
}

}  // namespace sigil
