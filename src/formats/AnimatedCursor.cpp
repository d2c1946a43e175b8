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
            readIconChunk(size, padded);
        } else {
            // Other chunks (header, rate, sequence, information) and lists
            // nested too deeply are skipped whole.
            stream_.skip(padded);
        }
        return kChunkHeaderBytes + padded;
    }

    // An icon chunk's data is an icon file, read on the file itself, as the
    // chunk's size may be short of what the icon holds (writers that count
    // only the directory, say). The walk goes on where the icon ended when a
    // chunk header is there (well-formed files: the chunk's end), else at the
    // chunk's declared end when one is there instead (a chunk longer than
    // its icon, or an icon whose sizes lie).
    void readIconChunk(uint64_t size, uint64_t padded)
    {
        const ByteView file = stream_.view();
        const size_t dataStart = stream_.pos();
        const uint64_t declaredEnd = dataStart + std::min<uint64_t>(padded, stream_.remaining());
        if (dataStart < swallowedTo_) {
            // An earlier icon ran over this chunk and was not followed: read
            // within the chunk only, so no byte is read on the file twice.
            readChunkBounded(size, declaredEnd);
            return;
        }
        ByteStream frame(file.subspan(dataStart));
        auto entry = readFrame(frame, kModestBlockBytes);
        const uint64_t stopped = dataStart + frame.pos();
        if (stopped == declaredEnd || chunkHeaderAt(stopped) || !chunkHeaderAt(declaredEnd)) {
            addFrame(std::move(entry));
            stream_.seek(stopped);
        } else if (stopped < declaredEnd) {
            addFrame(std::move(entry));
            stream_.seek(declaredEnd);
        } else {
            // The icon ran into the chunks after it: what it read there is
            // not its own, so it is read again within its chunk.
            swallowedTo_ = stopped;
            readChunkBounded(size, declaredEnd);
        }
    }

    void readChunkBounded(uint64_t size, uint64_t declaredEnd)
    {
        const ByteView data = stream_.view().subspan(stream_.pos(), static_cast<size_t>(declaredEnd - stream_.pos()));
        ByteStream frame(data.first(static_cast<size_t>(std::min<uint64_t>(size, data.size()))));
        // Bytes cut off by the chunk's end stay zero only within the usual
        // bound: every chunk could lack them.
        addFrame(readFrame(frame, 0));
        stream_.seek(declaredEnd);
    }

    // A plausible chunk header at `pos`: four printable characters and a
    // size within the file.
    bool chunkHeaderAt(uint64_t pos) const
    {
        const ByteView file = stream_.view();
        if (pos > file.size() || file.size() - pos < kChunkHeaderBytes)
            return false;
        const uint8_t* p = file.data() + pos;
        for (int i = 0; i < 4; ++i)
            if (p[i] < 0x20 || p[i] > 0x7E)
                return false;
        return getU32(p + 4) <= file.size() - pos - kChunkHeaderBytes;
    }

    // One frame's devices, or null when a stop ended the walk.
    std::unique_ptr<IconEntry> readFrame(ByteStream& frame, int64_t cutShortKeep)
    {
        auto entry = std::make_unique<IconEntry>();
        readIconDirectory(frame, *entry, kFileDirEntryBytes, 0);
        // A stop drops the frame being read, so no half-read icon appears.
        if (!readIconImages(frame, *entry, 0, stopFlag(control_), cutShortKeep) || stopping(control_)) {
            ended_ = true;
            return nullptr;
        }
        return entry;
    }

    void addFrame(std::unique_ptr<IconEntry> entry)
    {
        // A frame without a usable image leaves no trace: the next usable
        // frame takes its number.
        if (!entry || entry->devices.empty())
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
    // The end of what an icon read on the file covered when the walk went
    // on before it.
    uint64_t swallowedTo_ = 0;
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
