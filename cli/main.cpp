// ostrel-convert: converts its arguments, or every line of standard input, and prints what the
// program's result field would show, with the degree sign in an encoding that reads right where
// the output goes. The same on every system; streams.h is what it asks of each.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "convert.h"
#include "streams.h"
#include "text.h"
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
    "an empty line.\n"
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
    DegreeEncoding encoding;
} ENCODING_NAMES[] = {
    {"utf-8", DEGREE_UTF8}, {"utf8", DEGREE_UTF8}, {"latin1", DEGREE_LATIN1}, {"latin-1", DEGREE_LATIN1}};

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

int ConvertArguments(int count, char** words, bool utf8)
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
    const bool converted = ConvertAndPrint(text, utf8);
    std::free(text);
    FlushOutput();
    if (OutputFailed) return 2;
    return converted ? 0 : 1;
}

// Lines are converted where they lie in one input block, which grows only for a line longer
// than itself.
int ConvertLines(bool utf8)
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
        char* line = block;
        char* end = block + filled;
        char* feed = nullptr;
        for (char* from = block + scanned;
             (feed = static_cast<char*>(std::memchr(from, '\n', static_cast<size_t>(end - from)))) != nullptr;
             from = line) {
            *feed = '\0';
            ConvertAndPrint(line, utf8);
            line = feed + 1;
        }
        filled = static_cast<size_t>(end - line);
        std::memmove(block, line, filled);
        scanned = filled;
        if (filled == capacity) {
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
        const long got = ReadInput(block + filled, capacity - filled);
        if (got < 0) {
            Complain("cannot read standard input: %s", FailureText());
            std::free(block);
            return 2;
        }
        if (got == 0) break;
        filled += static_cast<size_t>(got);
    }
    if (filled > 0) {  // a last line without a line feed
        block[filled] = '\0';
        ConvertAndPrint(block, utf8);
    }
    std::free(block);
    FlushOutput();
    return OutputFailed ? 2 : 0;
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

int main(int argc, char** argv)
{
    DegreeEncoding asked = DEGREE_UNSET;
    int first = 1;  // the first word of TEXT
    for (; first < argc && (std::strncmp(argv[first], "--", 2) == 0 || std::strcmp(argv[first], "-h") == 0); ++first) {
        const char* option = argv[first];
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
        asked = DEGREE_UNSET;
        for (const auto& known : ENCODING_NAMES) {
            if (CompareNoCase(option + 11, known.name) == 0) asked = known.encoding;
        }
        if (asked == DEGREE_UNSET) {
            Complain("unknown encoding '%s': use utf-8 or latin1", option + 11);
            return 2;
        }
    }
    const bool utf8 = ChooseEncoding(asked) == DEGREE_UTF8;
    return first < argc ? ConvertArguments(argc - first, argv + first, utf8) : ConvertLines(utf8);
}
