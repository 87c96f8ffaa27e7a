// The one mapping from Unicode text to the engine's bytes, and its three decoders.
#include "unicode.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <cstring>

#include "text.h"

namespace {

// Characters with a reading of their own; every other one up to U+00FF is its own byte.
struct Mapping {
    char32_t code;
    const char* bytes;
};

constexpr Mapping MAPPINGS[] = {
    {0x00A0, " "},                                   // no-break space
    {0x00B4, "'"},                                   // acute accent, typed as a prime
    {0x00AD, ""},                                    // soft hyphen, invisible
    {0x00BA, "\xB0"},                                // masculine ordinal, typed as a degree sign
    {0x02DA, "\xB0"},                                // ring above, typed as a degree sign
    {0x2007, " "}, {0x2009, " "},                    // figure and thin spaces
    {0x200B, ""}, {0x200C, ""}, {0x200D, ""},        // zero-width space, non-joiner, joiner
    {0x200E, ""}, {0x200F, ""},                      // left-to-right and right-to-left marks
    {0x2013, "-"},                                   // en dash, as typesetting writes a minus
    {0x2018, "'"}, {0x2019, "'"},                    // single quotation marks
    {0x201C, "\""}, {0x201D, "\""},                  // double quotation marks
    {0x202F, " "},                                   // narrow no-break space
    {0x2032, "'"}, {0x2033, "\""},                   // prime and double prime
    {0x2044, "/"},                                   // fraction slash
    {0x2060, ""},                                    // word joiner
    {0x2103, "\xB0" "C"}, {0x2109, "\xB0" "F"},      // degree Celsius, degree Fahrenheit
    {0x2212, "-"},                                   // minus sign
    {0x3000, " "},                                   // ideographic space
    {0xFEFF, ""},                                    // byte order mark, or zero-width no-break space
};

// Fractions written as one character: after a digit, the fraction of a mixed number ("1½" is
// "1 1/2"); anywhere else a fraction of its own ("-¾" is "-3/4", "5'¾" three quarters of an inch).
constexpr Mapping FRACTIONS[] = {
    {0x00BC, "1/4"}, {0x00BD, "1/2"}, {0x00BE, "3/4"}, {0x2153, "1/3"}, {0x2154, "2/3"},
    {0x215B, "1/8"}, {0x215C, "3/8"}, {0x215D, "5/8"}, {0x215E, "7/8"},
};

// Full-width forms of "!" to "~", as East Asian input methods type them.
constexpr char32_t FULL_WIDTH_FIRST = 0xFF01;
constexpr char32_t FULL_WIDTH_LAST = 0xFF5E;
constexpr char32_t FULL_WIDTH_OFFSET = 0xFF01 - 0x21;

// A code point that no decoder can produce stands for a malformed sequence.
constexpr char32_t MALFORMED = 0xFFFFFFFF;

// The code point of the well-formed UTF-8 sequence at text, of at most length bytes, and its
// length in *used; MALFORMED (and 1) when the sequence is not well formed.
char32_t DecodeUtf8(const unsigned char* text, size_t length, size_t* used)
{
    *used = 1;
    const unsigned lead = text[0];
    if (lead < 0x80) return lead;
    // The sequence's length from its lead byte; the least code point it may encode (below it, it
    // would be overlong); the lead's own bits.
    size_t count = 4;
    char32_t least = 0x10000;
    if (lead < 0xC2 || lead > 0xF4) return MALFORMED;
    if (lead < 0xE0) {
        count = 2;
        least = 0x80;
    } else if (lead < 0xF0) {
        count = 3;
        least = 0x800;
    }
    char32_t code = lead & (0x7FU >> count);
    if (count > length) return MALFORMED;
    for (size_t i = 1; i < count; ++i) {
        if ((text[i] & 0xC0U) != 0x80) return MALFORMED;
        code = code << 6 | (text[i] & 0x3FU);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return MALFORMED;
    *used = count;
    return code;
}

const Mapping* Find(const Mapping* first, const Mapping* last, char32_t c)
{
    const Mapping* found = std::find_if(first, last, [c](const Mapping& m) { return m.code == c; });
    return found != last ? found : nullptr;
}

// The engine's bytes for one code point, written to out (room for MAPPED_CHARACTER_MAX); returns
// their count. ASCII maps to itself, and so does every other character up to U+00FF that has no
// reading of its own; invisible characters map to nothing.
size_t MapCodePoint(char32_t c, bool afterDigit, char* out)
{
    if (c < 0xA0) {  // ASCII and the C1 controls: nothing to look up
        out[0] = static_cast<char>(c);
        return 1;
    }
    if (const Mapping* fraction = Find(std::begin(FRACTIONS), std::end(FRACTIONS), c)) {
        const size_t space = afterDigit ? 1 : 0;
        out[0] = ' ';
        std::memcpy(out + space, fraction->bytes, 3);
        return space + 3;
    }
    if (const Mapping* mapping = Find(std::begin(MAPPINGS), std::end(MAPPINGS), c)) {
        const size_t count = std::strlen(mapping->bytes);
        std::memcpy(out, mapping->bytes, count);
        return count;
    }
    if (c >= FULL_WIDTH_FIRST && c <= FULL_WIDTH_LAST) {
        out[0] = static_cast<char>(c - FULL_WIDTH_OFFSET);
    } else {
        out[0] = c <= 0xFF ? static_cast<char>(c) : UNMAPPED_BYTE;
    }
    return 1;
}

// Appends one code point's bytes to the text mapped so far, [out, *end), where they fit before
// limit; false, nothing written, where they do not.
bool Append(char32_t c, const char* out, char** end, const char* limit)
{
    char bytes[MAPPED_CHARACTER_MAX];
    const size_t count = MapCodePoint(c, *end > out && IsDigit((*end)[-1]), bytes);
    if (count > static_cast<size_t>(limit - *end)) return false;
    std::memcpy(*end, bytes, count);
    *end += count;
    return true;
}

}  // namespace

bool IsUtf8(const char* text, size_t length)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    for (size_t i = 0, used = 0; i < length; i += used) {
        if (DecodeUtf8(bytes + i, length - i, &used) == MALFORMED) return false;
    }
    return true;
}

size_t MapUtf16(const char16_t* text, size_t length, char* out, size_t size)
{
    char* end = out;
    const char* limit = out + size - 1;
    for (size_t i = 0; i < length; ++i) {
        char32_t c = text[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        if (high && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00U);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = MALFORMED;
        }
        if (!Append(c, out, &end, limit)) break;
    }
    *end = '\0';
    return static_cast<size_t>(end - out);
}

size_t MapUtf8(const char* text, size_t length, char* out, size_t size)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    char* end = out;
    const char* limit = out + size - 1;
    for (size_t i = 0, used = 0; i < length; i += used) {
        if (!Append(DecodeUtf8(bytes + i, length - i, &used), out, &end, limit)) break;
    }
    *end = '\0';
    return static_cast<size_t>(end - out);
}

size_t MapLatin1(const char* text, size_t length, char* out, size_t size)
{
    char* end = out;
    const char* limit = out + size - 1;
    for (size_t i = 0; i < length; ++i) {
        if (!Append(static_cast<unsigned char>(text[i]), out, &end, limit)) break;
    }
    *end = '\0';
    return static_cast<size_t>(end - out);
}
