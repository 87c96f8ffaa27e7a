// ostrel-convert: converts its arguments, or every line of standard input, as typed or pasted, and
// prints what the program's result field would show, with the degree sign in an encoding that
// reads right where the output goes. The same on every system; streams.h is what it asks of each.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "convert.h"
#include "input.h"
#include "streams.h"
#include "text.h"
#include "unicode.h"

namespace {

const char USAGE[] =
    "usage: ostrel-convert [--encoding=utf-8|latin1] [--] [TEXT...]\n"
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
    "Options come before TEXT; \"--\" ends them. --encoding takes its name after \"=\" or as the\n"
    "next word. --help (or -h) prints this text, --version the program's version. A wrong option,\n"
    "or input or output that fails, prints a message and exits with status 2.\n";

const char PROGRAM[] = "ostrel-convert";

// --encoding's names, in any letter case.
const struct EncodingName {
    const char* name;
    TextEncoding encoding;
} ENCODING_NAMES[] = {
    {"utf-8", ENCODING_UTF8}, {"utf8", ENCODING_UTF8}, {"latin1", ENCODING_LATIN1}, {"latin-1", ENCODING_LATIN1}};

// The encoding a name stands for, or ENCODING_AUTO for none.
TextEncoding EncodingNamed(const char* name)
{
    TextEncoding named = ENCODING_AUTO;
    for (const EncodingName& known : ENCODING_NAMES) {
        if (CompareNoCase(name, known.name) == 0) named = known.encoding;
    }
    return named;
}

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

// One line of output: a text of the given length from ConvertForDisplay, its degree sign (the
// engine's only byte above 0x7F) in UTF-8 (C2 B0) where that is chosen.
void PrintLine(const char* text, size_t length, bool utf8)
{
    if (OutputLength + RESULT_LINE_MAX > sizeof Output) FlushOutput();
    char* out = Output + OutputLength;
    for (size_t i = 0; i < length; ++i) {
        if (utf8 && text[i] == '\xB0') *out++ = '\xC2';
        *out++ = text[i];
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

// What a text holds that decides how it is read: a NUL byte makes it no text the window could
// hold, a byte above 0x7F asks for its mapping.
enum TextBytes { TEXT_ASCII, TEXT_HIGH, TEXT_NUL };

TextBytes Classify(const char* text, size_t length)
{
    if (std::memchr(text, '\0', length) != nullptr) return TEXT_NUL;
    unsigned bits = 0;
    for (size_t i = 0; i < length; ++i) bits |= static_cast<unsigned char>(text[i]);
    return (bits & 0x80) != 0 ? TEXT_HIGH : TEXT_ASCII;
}

// The engine's bytes for a text read in an encoding, which holds a byte above 0x7F: its mapping,
// in a block that the next call reuses; nullptr when memory runs out.
char* EngineText(const char* text, size_t length, TextEncoding encoding)
{
    static char* mapped = nullptr;
    static size_t capacity = 0;
    if (length > (static_cast<size_t>(-1) - 1) / MAPPED_CHARACTER_MAX) return nullptr;
    const size_t needed = length * MAPPED_CHARACTER_MAX + 1;
    if (needed > capacity) {
        char* larger = static_cast<char*>(std::realloc(mapped, needed));
        if (larger == nullptr) return nullptr;
        mapped = larger;
        capacity = needed;
    }
    if (encoding == ENCODING_LATIN1) {
        MapLatin1(text, length, mapped, capacity);
    } else if (encoding == ENCODING_UTF8 || IsUtf8(text, length)) {
        MapUtf8(text, length, mapped, capacity);
    } else if (!MapSystemText(text, length, mapped, capacity)) {
        return nullptr;
    }
    return mapped;
}

int ConvertArguments(int count, char** words, TextEncoding encoding, bool utf8)
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
    const size_t textLength = static_cast<size_t>(end - text);
    char* mapped = Classify(text, textLength) == TEXT_ASCII ? text : EngineText(text, textLength, encoding);
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

// Converts one line of standard input; false when memory runs out for its mapping. A line that
// holds a NUL byte is no text the window could hold: its answer is never that of the part before.
bool ConvertLine(char* line, size_t length, TextEncoding encoding, bool utf8)
{
    const TextBytes bytes = Classify(line, length);
    if (bytes == TEXT_NUL) {
        PrintLine(DONT_KNOW, std::strlen(DONT_KNOW), utf8);
        return true;
    }
    char* text = bytes == TEXT_ASCII ? line : EngineText(line, length, TextIsMarkedUnicode() ? ENCODING_UTF8 : encoding);
    if (text != nullptr) ConvertAndPrint(text, utf8);
    return text != nullptr;
}

// Converts the whole lines from line to end, searching for line feeds from `from` on; returns
// where the unfinished last line begins, or nullptr when memory runs out for a mapping.
char* ConvertWholeLines(char* line, char* from, const char* end, TextEncoding encoding, bool utf8)
{
    for (char* feed; (feed = static_cast<char*>(std::memchr(from, '\n', static_cast<size_t>(end - from)))) != nullptr;
         from = line) {
        *feed = '\0';
        if (!ConvertLine(line, static_cast<size_t>(feed - line), encoding, utf8)) return nullptr;
        line = feed + 1;
    }
    return line;
}

// Lines are converted where they lie in one input block, which grows only for a line longer
// than itself.
int ConvertLines(TextEncoding encoding, bool utf8)
{
    size_t capacity = 1 << 16;
    char* block = static_cast<char*>(std::malloc(capacity + 1));
    size_t filled = 0;   // bytes read into the block
    size_t scanned = 0;  // of which searched for a line feed without finding one
    for (;;) {
        if (block == nullptr) {
            Complain("out of memory");
            return 2;
        }
        char* end = block + filled;
        char* line = ConvertWholeLines(block, block + scanned, end, encoding, utf8);
        if (line == nullptr) {
            std::free(block);
            block = nullptr;
            continue;
        }
        filled = static_cast<size_t>(end - line);
        std::memmove(block, line, filled);
        scanned = filled;
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
        filled += static_cast<size_t>(got);
    }
    block[filled] = '\0';
    const bool converted = filled == 0 || ConvertLine(block, filled, encoding, utf8);  // a last line without a line feed
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
    TextEncoding asked = ENCODING_AUTO;
    int first = 1;  // the first word of TEXT
    for (; first < count && (std::strncmp(words[first], "--", 2) == 0 || std::strcmp(words[first], "-h") == 0); ++first) {
        const char* option = words[first];
        if (std::strcmp(option, "--") == 0) {
            ++first;
            break;
        }
        if (std::strcmp(option, "--help") == 0 || std::strcmp(option, "-h") == 0) return PrintUsage();
        if (std::strcmp(option, "--version") == 0) return PrintVersion();
        // --encoding=NAME, or --encoding NAME as the next word.
        const bool spaced = std::strcmp(option, "--encoding") == 0;
        if (!spaced && std::strncmp(option, "--encoding=", 11) != 0) {
            Complain("unknown option '%s' (see %s --help)", option, PROGRAM);
            return 2;
        }
        const char* name = !spaced ? option + 11 : first + 1 < count ? words[++first] : "";
        asked = EncodingNamed(name);
        if (asked == ENCODING_AUTO) {
            Complain("unknown encoding '%s': use utf-8 or latin1", name);
            return 2;
        }
    }
    const bool utf8 = ChooseEncoding(STANDARD_OUTPUT, asked) == ENCODING_UTF8;
    if (first < count) return ConvertArguments(count - first, words + first, ChooseEncoding(ARGUMENTS, asked), utf8);
    return ConvertLines(ChooseEncoding(STANDARD_INPUT, asked), utf8);
}
