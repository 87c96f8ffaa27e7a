// Standard input's byte order mark, and UTF-16 turned into UTF-8 as it is read.
#include "input.h"

#include <algorithm>
#include <cstring>

#include "streams.h"

namespace {

// How standard input is written, which its start shows.
enum InputForm { FORM_UNKNOWN, FORM_BYTES, FORM_UTF8, FORM_UTF16LE, FORM_UTF16BE };
InputForm Form = FORM_UNKNOWN;

// ReadInput that asks no more once the input has ended, as a terminal would wait for another end.
bool InputEnded = false;

long ReadUntilEnd(char* buffer, size_t size)
{
    const long got = InputEnded ? 0 : ReadInput(buffer, size);
    InputEnded = got == 0;
    return got;
}

// UTF-16 read and not yet handed on: an odd byte at the end of a read, or a high surrogate that
// waits for its partner.
unsigned char Utf16Raw[1 << 14];
size_t Utf16Carried = 0;

// The unit at index i of Utf16Raw, in the input's byte order.
char32_t UnitAt(size_t i)
{
    const unsigned first = Utf16Raw[2 * i];
    const unsigned second = Utf16Raw[2 * i + 1];
    return Form == FORM_UTF16LE ? second << 8 | first : first << 8 | second;
}

constexpr bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// What stands for a unit that is no character: U+FFFD, which the mapping reads as any character
// it has no use for.
constexpr char32_t REPLACEMENT = 0xFFFD;

// Writes a code point as UTF-8; returns the end of what it wrote.
char* EncodeUtf8(char32_t c, char* out)
{
    if (c < 0x80) {
        *out++ = static_cast<char>(c);
        return out;
    }
    const int continuations = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    const unsigned lead[] = {0, 0xC0, 0xE0, 0xF0};
    *out++ = static_cast<char>(lead[continuations] | c >> (6 * continuations));
    for (int shift = 6 * (continuations - 1); shift >= 0; shift -= 6) *out++ = static_cast<char>(0x80 | ((c >> shift) & 0x3F));
    return out;
}

// Reads UTF-16 and hands it on as UTF-8, each unit as at most three bytes (a pair of them as four).
long ReadUtf16(char* buffer, size_t size)
{
    // Room for the units read, and for one replacement of an odd byte left at the end.
    const size_t unitsRoom = (size - 3) / 3;
    const size_t bytesWanted = std::min(2 * unitsRoom, sizeof Utf16Raw);
    for (;;) {
        const long got = ReadUntilEnd(reinterpret_cast<char*>(Utf16Raw) + Utf16Carried, bytesWanted - Utf16Carried);
        if (got < 0) return -1;
        const bool ended = got == 0;
        const size_t length = Utf16Carried + static_cast<size_t>(got);
        size_t units = length / 2;
        if (!ended && units > 0 && IsHighSurrogate(UnitAt(units - 1))) --units;  // its partner comes next
        char* out = buffer;
        for (size_t i = 0; i < units; ++i) {
            char32_t c = UnitAt(i);
            if (IsHighSurrogate(c) && i + 1 < units && IsLowSurrogate(UnitAt(i + 1))) {
                c = 0x10000 + ((c - 0xD800) << 10) + (UnitAt(++i) - 0xDC00);
            } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
                c = REPLACEMENT;
            }
            out = EncodeUtf8(c, out);
        }
        Utf16Carried = length - 2 * units;
        std::memmove(Utf16Raw, Utf16Raw + 2 * units, Utf16Carried);
        if (ended && Utf16Carried > 0) {  // half a unit at the end
            out = EncodeUtf8(REPLACEMENT, out);
            Utf16Carried = 0;
        }
        if (out > buffer || ended) return static_cast<long>(out - buffer);
    }
}

// Byte order marks: UTF-8's says the text is UTF-8 whatever was chosen; UTF-16's (as PowerShell
// 5.1 writes files) that the rest is UTF-16 of that order.
const struct {
    unsigned char bytes[3];
    size_t length;
    InputForm form;
} BYTE_ORDER_MARKS[] = {{{0xEF, 0xBB, 0xBF}, 3, FORM_UTF8}, {{0xFF, 0xFE}, 2, FORM_UTF16LE}, {{0xFE, 0xFF}, 2, FORM_UTF16BE}};

// Reads the start of standard input until it shows whether a byte order mark begins it, takes the
// mark away and goes on as it says.
long ReadStart(char* buffer, size_t size)
{
    size_t filled = 0;
    for (bool maybe = true; maybe;) {
        const long got = ReadUntilEnd(buffer + filled, 3 - filled);
        if (got < 0) return -1;
        filled += static_cast<size_t>(got);
        maybe = false;
        for (const auto& mark : BYTE_ORDER_MARKS) {
            const size_t compared = std::min(filled, mark.length);
            if (std::memcmp(buffer, mark.bytes, compared) != 0) continue;
            if (compared < mark.length) {
                maybe = got > 0;  // too few bytes yet to tell
                continue;
            }
            Form = mark.form;
            Utf16Carried = filled - mark.length;  // of UTF-16, the first unit's first byte
            std::memcpy(Utf16Raw, buffer + mark.length, Utf16Carried);
            return Form == FORM_UTF8 ? ReadUntilEnd(buffer, size) : ReadUtf16(buffer, size);
        }
    }
    Form = FORM_BYTES;
    return static_cast<long>(filled);
}

}  // namespace

long ReadText(char* buffer, size_t size)
{
    if (Form == FORM_UNKNOWN) return ReadStart(buffer, size);
    return Form == FORM_UTF16LE || Form == FORM_UTF16BE ? ReadUtf16(buffer, size) : ReadUntilEnd(buffer, size);
}

bool TextIsMarkedUnicode() { return Form != FORM_UNKNOWN && Form != FORM_BYTES; }
