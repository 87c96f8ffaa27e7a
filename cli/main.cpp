// ostrel-convert: converts its arguments, or every line of standard input, as typed or pasted, and
// prints what the program's result field would show, with the degree sign in an encoding that
// reads right where the output goes. The same on every system; streams.h is what it asks of each.
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "convert.h"
#include "streams.h"
#include "text.h"
#include "unicode.h"
#include "units.h"

namespace {

const char USAGE[] =
    "usage: ostrel-convert [--encoding=utf-8|--encoding=latin1] [--] [TEXT...]\n"
    "       ostrel-convert --help|-h|--version\n"
    "\n"
    "Converts a measurement between imperial and metric units, as the Ostrel window does:\n"
    "  ostrel-convert 5 ft      prints 1.52 m\n"
    "  ostrel-convert \"5'10\"    prints 1.78 m\n"
    "With TEXT, the words are joined by single spaces and converted; the exit status is 0 for a\n"
    "result and 1 otherwise. Without TEXT, every line of standard input is converted and one\n"
    "line is printed for each. A text with no conversion prints \"don't know\"; a blank one prints\n"
    "an empty line. Text may be typed or pasted as it comes: curly quotes and primes, the degree\n"
    "sign, fractions written as one character, no-break spaces and full-width forms read as their\n"
    "plain forms.\n"
    "\n";

const char USAGE_END[] =
    "\n"
    "Options come before TEXT; \"--\" ends them. --help (or -h) prints this text, --version the\n"
    "program's version. A wrong option, or input or output that fails, prints a message and exits\n"
    "with status 2.\n";

const char PROGRAM[] = "ostrel-convert";

// --encoding's names, in any letter case.
const struct {
    const char* name;
    TextEncoding encoding;
} ENCODING_NAMES[] = {
    {"utf-8", ENCODING_UTF8}, {"utf8", ENCODING_UTF8}, {"latin1", ENCODING_LATIN1}, {"latin-1", ENCODING_LATIN1}};

// Says what went wrong on standard error, as "ostrel-convert: ..." on a line of its own.
void Complain(const char* format, ...) __attribute__((format(printf, 1, 2)));

void Complain(const char* format, ...)
{
    char message[1024];
    const int prefix = std::snprintf(message, sizeof message, "%s: ", PROGRAM);
    va_list args;
    va_start(args, format);
    std::vsnprintf(message + prefix, sizeof message - static_cast<size_t>(prefix) - 1, format, args);
    va_end(args);
    message[sizeof message - 2] = '\0';  // a cut text may come back unterminated from some C libraries
    size_t end = std::strlen(message);
    message[end++] = '\n';
    WriteOutput(true, message, end);
}

// Output collects here and goes out in blocks: before every read that may wait, and when full.
char Output[1 << 16];
size_t OutputLength = 0;
bool OutputFailed = false;

// Writes out what has collected; says so once, and sets OutputFailed, when it cannot.
void FlushOutput()
{
    if (OutputLength > 0 && !OutputFailed && !WriteOutput(false, Output, OutputLength)) {
        Complain("cannot write standard output: %s", FailureText());
        OutputFailed = true;
    }
    OutputLength = 0;
}

// Adds text that fits the block to the output, making room first.
void Append(const char* text, size_t length)
{
    if (OutputLength + length > sizeof Output) FlushOutput();
    std::memcpy(Output + OutputLength, text, length);
    OutputLength += length;
}

// The longest line a result can make: every byte doubled by UTF-8, and the line feed.
constexpr size_t RESULT_LINE_MAX = 2 * RESULT_TEXT_SIZE + 1;

// Whether a text from ConvertForDisplay holds the degree sign 0xB0, the engine's only byte above
// 0x7F. Only target texts hold it, and a target ends the text: its last few bytes tell.
bool HasDegreeSign(const char* text, size_t length)
{
    unsigned found = 0;
    for (size_t i = length > TARGET_TEXT_MAX ? length - TARGET_TEXT_MAX : 0; i < length; ++i) {
        found |= text[i] == '\xB0' ? 1U : 0U;
    }
    return found != 0;
}

// One line of output: a text of the given length from ConvertForDisplay, with the degree sign
// in UTF-8 (C2 B0) where that is chosen.
void PrintLine(const char* text, size_t length, bool utf8)
{
    if (OutputLength + RESULT_LINE_MAX > sizeof Output) FlushOutput();
    char* out = Output + OutputLength;
    if (utf8 && HasDegreeSign(text, length)) {
        for (; *text != '\0'; ++text) {
            if (*text == '\xB0') *out++ = '\xC2';
            *out++ = *text;
        }
    } else {
        std::memcpy(out, text, length);
        out += length;
    }
    *out++ = '\n';
    OutputLength = static_cast<size_t>(out - Output);
}

// Converts a text and prints what the window would show; returns whether there was a result.
bool ConvertAndPrint(char* text, bool utf8)
{
    size_t length = 0;
    const char* shown = ConvertForDisplay(text, &length);
    PrintLine(shown, length, utf8);
    return shown != DONT_KNOW && length > 0;
}

// Turns text in some encoding into the engine's bytes (MapUtf8, MapLatin1); none for text that is
// the engine's bytes already.
using Mapping = size_t (*)(const char* text, size_t length, char* out, size_t size);

Mapping MappingOf(TextEncoding encoding) { return encoding == ENCODING_LATIN1 ? MapLatin1 : MapUtf8; }

// Whether a text holds a byte of 0x80 or above: without one, it maps to itself. Eight at a time,
// as whole blocks of input are looked at too.
bool HasHighByte(const char* text, size_t length)
{
    uint64_t any = 0;
    size_t i = 0;
    for (uint64_t eight; i + 8 <= length; i += 8) {
        std::memcpy(&eight, text + i, 8);
        any |= eight;
    }
    for (; i < length; ++i) any |= static_cast<unsigned char>(text[i]);
    return (any & 0x8080808080808080ULL) != 0;
}

// The engine's bytes for a text: the text itself where it maps to itself, else its mapping, in a
// block that the next call reuses; nullptr when memory runs out.
char* EngineText(char* text, size_t length, Mapping mapping)
{
    static char* mapped = nullptr;
    static size_t capacity = 0;
    if (mapping == nullptr || !HasHighByte(text, length)) return text;
    if (length > (static_cast<size_t>(-1) - 1) / MAPPED_CHARACTER_MAX) return nullptr;
    const size_t needed = length * MAPPED_CHARACTER_MAX + 1;
    if (needed > capacity) {
        char* larger = static_cast<char*>(std::realloc(mapped, needed));
        if (larger == nullptr) return nullptr;
        mapped = larger;
        capacity = needed;
    }
    mapping(text, length, mapped, capacity);
    return mapped;
}

int ConvertArguments(int count, char** words, Mapping mapping, bool utf8)
{
    size_t length = 1;
    for (int i = 0; i < count; ++i) length += std::strlen(words[i]) + 1;
    // Arguments have no length bound; one block for the joined text is the simplest honest way.
    char* text = static_cast<char*>(std::malloc(length));
    if (text == nullptr) {
        Complain("out of memory");
        return 2;
    }
    char* end = text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) *end++ = ' ';
        const size_t part = std::strlen(words[i]);
        std::memcpy(end, words[i], part);
        end += part;
    }
    *end = '\0';
    char* mapped = EngineText(text, static_cast<size_t>(end - text), mapping);
    if (mapped == nullptr) {
        Complain("out of memory");
        std::free(text);
        return 2;
    }
    const bool converted = ConvertAndPrint(mapped, utf8);
    std::free(text);
    FlushOutput();
    if (OutputFailed) return 2;
    return converted ? 0 : 1;
}

// How standard input is written, which its start shows.
enum InputForm { FORM_UNKNOWN, FORM_BYTES, FORM_UTF16LE, FORM_UTF16BE };
InputForm Form = FORM_UNKNOWN;

// What the lines read are turned into the engine's bytes with.
Mapping LineMapping = nullptr;

// The least room a read is given: enough for one character of UTF-16 mapped, and its terminator.
constexpr size_t READ_ROOM_MIN = 16;

// ReadInput that asks no more once the input has ended, as a terminal would wait for another end.
long ReadUntilEnd(char* buffer, size_t size)
{
    static bool ended = false;
    const long got = ended ? 0 : ReadInput(buffer, size);
    ended = got == 0;
    return got;
}

// UTF-16 read and not yet mapped: a unit cut by the end of a read, or the first half of a pair.
unsigned char Utf16Raw[1 << 14];
size_t Utf16Carried = 0;

// Standard input in UTF-16 comes mapped to the engine's bytes already, so that its lines split on
// U+000A as any others do.
long ReadUtf16(char* buffer, size_t size)
{
    static char16_t units[sizeof Utf16Raw / 2];
    for (;;) {
        // Two bytes of UTF-16 make at most MAPPED_CHARACTER_MAX, and the terminator one more.
        size_t room = (size - 1) / MAPPED_CHARACTER_MAX * 2;
        room = room < sizeof Utf16Raw ? room : sizeof Utf16Raw;
        const long got = ReadUntilEnd(reinterpret_cast<char*>(Utf16Raw) + Utf16Carried, room - Utf16Carried);
        if (got < 0) return -1;
        const size_t length = Utf16Carried + static_cast<size_t>(got);
        size_t count = length / 2;
        for (size_t i = 0; i < count; ++i) {
            const unsigned first = Utf16Raw[2 * i];
            const unsigned second = Utf16Raw[2 * i + 1];
            units[i] = static_cast<char16_t>(Form == FORM_UTF16LE ? second << 8 | first : first << 8 | second);
        }
        if (got > 0 && count > 0 && units[count - 1] >= 0xD800 && units[count - 1] <= 0xDBFF) --count;
        size_t mapped = MapUtf16(units, count, buffer, size);
        Utf16Carried = length - 2 * count;
        std::memmove(Utf16Raw, Utf16Raw + 2 * count, Utf16Carried);
        if (got == 0 && Utf16Carried > 0) {  // half a unit at the end
            buffer[mapped++] = UNMAPPED_BYTE;
            Utf16Carried = 0;
        }
        if (mapped > 0 || got == 0) return static_cast<long>(mapped);
    }
}

// Byte order marks: UTF-8's says the lines are UTF-8 whatever was chosen; UTF-16's (as
// PowerShell 5.1 writes files) that the rest is UTF-16 of that order.
const struct {
    unsigned char bytes[3];
    size_t length;
    InputForm form;
} BYTE_ORDER_MARKS[] = {{{0xEF, 0xBB, 0xBF}, 3, FORM_BYTES}, {{0xFF, 0xFE}, 2, FORM_UTF16LE}, {{0xFE, 0xFF}, 2, FORM_UTF16BE}};

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
            const size_t compared = filled < mark.length ? filled : mark.length;
            if (std::memcmp(buffer, mark.bytes, compared) != 0) continue;
            if (compared < mark.length) {
                maybe = got > 0;  // too few bytes yet to tell
                continue;
            }
            Form = mark.form;
            LineMapping = Form == FORM_BYTES ? MapUtf8 : nullptr;
            Utf16Carried = filled - mark.length;  // of UTF-16, the first unit's first byte
            std::memcpy(Utf16Raw, buffer + mark.length, Utf16Carried);
            return Form == FORM_BYTES ? ReadUntilEnd(buffer, size) : ReadUtf16(buffer, size);
        }
    }
    Form = FORM_BYTES;
    return static_cast<long>(filled);
}

// Standard input as the line loop takes it.
long ReadText(char* buffer, size_t size)
{
    if (Form == FORM_UNKNOWN) return ReadStart(buffer, size);
    return Form == FORM_BYTES ? ReadUntilEnd(buffer, size) : ReadUtf16(buffer, size);
}

// Converts one line of standard input, which may map to itself as it is (ascii); false when
// memory runs out for its mapping.
bool ConvertLine(char* line, size_t length, bool ascii, bool utf8)
{
    char* text = ascii ? line : EngineText(line, length, LineMapping);
    if (text != nullptr) ConvertAndPrint(text, utf8);
    return text != nullptr;
}

// Converts the whole lines from line to end, searching for line feeds from `from` on; returns
// where the unfinished last line begins, or nullptr when memory runs out for a mapping.
char* ConvertWholeLines(char* line, char* from, const char* end, bool ascii, bool utf8)
{
    for (char* feed; (feed = static_cast<char*>(std::memchr(from, '\n', static_cast<size_t>(end - from)))) != nullptr;
         from = line) {
        *feed = '\0';
        if (!ConvertLine(line, static_cast<size_t>(feed - line), ascii, utf8)) return nullptr;
        line = feed + 1;
    }
    return line;
}

// Lines are converted where they lie in one input block, which grows only for a line longer
// than itself.
int ConvertLines(TextEncoding encoding, bool utf8)
{
    LineMapping = MappingOf(encoding);
    size_t capacity = 1 << 16;
    char* block = static_cast<char*>(std::malloc(capacity + 1));
    size_t filled = 0;   // bytes read into the block
    size_t scanned = 0;  // of which searched for a line feed without finding one
    bool ascii = true;   // whether they are all below 0x80, as most input is: then no line is mapped
    for (;;) {
        if (block == nullptr) {
            Complain("out of memory");
            return 2;
        }
        char* end = block + filled;
        char* line = ConvertWholeLines(block, block + scanned, end, ascii, utf8);
        if (line == nullptr) {
            std::free(block);
            block = nullptr;
            continue;
        }
        filled = static_cast<size_t>(end - line);
        std::memmove(block, line, filled);
        scanned = filled;
        ascii = ascii || !HasHighByte(block, filled);
        if (capacity - filled < READ_ROOM_MIN) {
            capacity *= 2;
            char* larger = static_cast<char*>(std::realloc(block, capacity + 1));
            if (larger == nullptr) std::free(block);
            block = larger;
            continue;
        }
        FlushOutput();
        if (OutputFailed) {
            std::free(block);
            return 2;
        }
        const long got = ReadText(block + filled, capacity - filled);
        if (got < 0) {
            Complain("cannot read standard input: %s", FailureText());
            std::free(block);
            return 2;
        }
        if (got == 0) break;
        ascii = ascii && !HasHighByte(block + filled, static_cast<size_t>(got));
        filled += static_cast<size_t>(got);
    }
    block[filled] = '\0';
    const bool converted = filled == 0 || ConvertLine(block, filled, ascii, utf8);  // a last line without a line feed
    std::free(block);
    if (!converted) Complain("out of memory");
    FlushOutput();
    return OutputFailed || !converted ? 2 : 0;
}

int PrintUsage()
{
    Append(USAGE, sizeof USAGE - 1);
    Append(ENCODING_HELP, std::strlen(ENCODING_HELP));
    Append(USAGE_END, sizeof USAGE_END - 1);
    FlushOutput();
    return OutputFailed ? 2 : 0;
}

int PrintVersion()
{
    const char version[] = "ostrel-convert (Ostrel) " OSTREL_CONVERT_VERSION "\n";
    Append(version, sizeof version - 1);
    FlushOutput();
    return OutputFailed ? 2 : 0;
}

}  // namespace

int RunConverter(int count, char** words)
{
    TextEncoding asked = ENCODING_UNSET;
    int first = 1;  // the first word of TEXT
    for (; first < count && (std::strncmp(words[first], "--", 2) == 0 || std::strcmp(words[first], "-h") == 0); ++first) {
        const char* option = words[first];
        if (std::strcmp(option, "--") == 0) {
            ++first;
            break;
        }
        if (std::strcmp(option, "--help") == 0 || std::strcmp(option, "-h") == 0) return PrintUsage();
        if (std::strcmp(option, "--version") == 0) return PrintVersion();
        if (std::strncmp(option, "--encoding=", 11) != 0) {
            Complain("unknown option '%s' (see %s --help)", option, PROGRAM);
            return 2;
        }
        asked = ENCODING_UNSET;
        for (const auto& known : ENCODING_NAMES) {
            if (CompareNoCase(option + 11, known.name) == 0) asked = known.encoding;
        }
        if (asked == ENCODING_UNSET) {
            Complain("unknown encoding '%s': use utf-8 or latin1", option + 11);
            return 2;
        }
    }
    const bool utf8 = ChooseEncoding(STANDARD_OUTPUT, asked) == ENCODING_UTF8;
    if (first < count) return ConvertArguments(count - first, words + first, MappingOf(ChooseEncoding(ARGUMENTS, asked)), utf8);
    return ConvertLines(ChooseEncoding(STANDARD_INPUT, asked), utf8);
}
