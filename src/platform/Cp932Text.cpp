#include "platform/Cp932Text.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <optional>

namespace sigil {

namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

// Length of the well-formed UTF-8 sequence at `p` (1 to 4), or 0 when the
// bytes there are not one: overlong forms, surrogates and code points above
// U+10FFFF are not UTF-8.
size_t utf8SequenceLength(const uint8_t* p, size_t left)
{
    const uint8_t b = p[0];
    if (b < 0x80)
        return 1;
    size_t n = 0;
    uint8_t lo = 0x80, hi = 0xBF;  // range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0)
            lo = 0xA0;
        else if (b == 0xED)
            hi = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0)
            lo = 0x90;
        else if (b == 0xF4)
            hi = 0x8F;
    } else {
        return 0;
    }
    if (left < n || p[1] < lo || p[1] > hi)
        return 0;
    for (size_t i = 2; i < n; ++i)
        if (p[i] < 0x80 || p[i] > 0xBF)
            return 0;
    return n;
}

bool isAscii(std::span<const uint8_t> bytes)
{
    for (uint8_t b : bytes)
        if (b >= 0x80)
            return false;
    return true;
}

// The longest prefix of at most maxBytes that ends between characters.
// Bytes that are not UTF-8 count as characters of their own.
size_t utf8CutLength(std::span<const uint8_t> bytes, size_t maxBytes)
{
    size_t i = 0;
    while (i < bytes.size()) {
        const size_t n = std::max<size_t>(1, utf8SequenceLength(bytes.data() + i, bytes.size() - i));
        if (i + n > maxBytes)
            break;
        i += n;
    }
    return i;
}

// The same for code page 932, where 81-9F and E0-FC lead a two-byte code.
size_t cp932CutLength(std::span<const uint8_t> bytes, size_t maxBytes)
{
    size_t i = 0;
    while (i < bytes.size()) {
        const uint8_t b = bytes[i];
        const size_t n = ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) ? 2 : 1;
        if (i + n > maxBytes)
            break;
        i += n;
    }
    return i;
}

std::span<const uint8_t> bytesOf(const std::string& s)
{
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

// One direction of conversion. A descriptor holds conversion state, so each
// thread opens its own.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of `in`. Input that does not convert becomes U+FFFD when
    // `replaceBad` is set and fails the conversion otherwise.
    std::optional<std::string> convert(std::span<const uint8_t> in, bool replaceBad)
    {
        if (!valid())
            return std::nullopt;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        char* inPtr = const_cast<char*>(reinterpret_cast<const char*>(in.data()));
        size_t inLeft = in.size();
        char buffer[256];
        while (inLeft > 0) {
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t result = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<size_t>(outPtr - buffer));
            if (result != static_cast<size_t>(-1) || errno == E2BIG)
                continue;
            if (!replaceBad)
                return std::nullopt;
            out += kReplacement;
            if (errno == EILSEQ) {
                ++inPtr;
                --inLeft;
            } else {
                inLeft = 0;  // a code cut off at the end
            }
        }
        return out;
    }

private:
    iconv_t cd_;
};

std::optional<std::string> fromCp932(std::span<const uint8_t> bytes)
{
    thread_local Converter converter("UTF-8", "CP932");
    return converter.convert(bytes, true);
}

std::optional<std::string> toCp932(std::string_view utf8)
{
    thread_local Converter converter("CP932", "UTF-8");
    return converter.convert({reinterpret_cast<const uint8_t*>(utf8.data()), utf8.size()}, false);
}

}  // namespace

bool isUtf8(std::span<const uint8_t> bytes)
{
    for (size_t i = 0; i < bytes.size();) {
        const size_t n = utf8SequenceLength(bytes.data() + i, bytes.size() - i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

std::string cp932ToUtf8(std::span<const uint8_t> bytes)
{
    if (isAscii(bytes))
        return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (auto text = fromCp932(bytes))
        return *text;
    // Without a code page 932 converter only ASCII can be trusted.
    std::string text;
    for (uint8_t b : bytes) {
        if (b < 0x80)
            text += static_cast<char>(b);
        else
            text += kReplacement;
    }
    return text;
}

std::optional<std::string> utf8ToCp932(std::string_view utf8)
{
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(utf8.data()), utf8.size());
    // ASCII is the same in both.
    if (isAscii(bytes))
        return std::string(utf8);
    auto cp932 = toCp932(utf8);
    if (!cp932 || cp932ToUtf8(bytesOf(*cp932)) != utf8)
        return std::nullopt;
    return cp932;
}

std::string decodeNeName(std::span<const uint8_t> bytes)
{
    // Plain ASCII reads the same either way.
    if (isUtf8(bytes))
        return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return cp932ToUtf8(bytes);
}

std::string encodeNeName(const std::string& utf8, size_t maxBytes)
{
    const auto bytes = bytesOf(utf8);
    if (!isAscii(bytes)) {
        if (const auto cp932 = toCp932(utf8)) {
            const std::string cut = cp932->substr(0, cp932CutLength(bytesOf(*cp932), maxBytes));
            // Some characters have a code that reads back as another one
            // (U+00A5 is stored as a backslash), and some code page 932
            // texts happen to be UTF-8: keep the code page only when the
            // bytes give back what they stand for.
            const std::string back = decodeNeName(bytesOf(cut));
            const bool whole = cut.size() == cp932->size();
            if (whole ? back == utf8 : utf8.compare(0, back.size(), back) == 0)
                return cut;
        }
    }
    return cutUtf8(utf8, maxBytes);
}

std::string cutUtf8(const std::string& utf8, size_t maxBytes)
{
    return utf8.substr(0, utf8CutLength(bytesOf(utf8), maxBytes));
}

}  // namespace sigil
