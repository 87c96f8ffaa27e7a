// ostrel-convert: converts its arguments, or every line of standard input, and prints what the
// program's result field would show. Output bytes are the engine's own (the degree sign is 0xB0).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/types.h>

#include "convert.h"

namespace {

const char USAGE[] =
    "usage: ostrel-convert [TEXT...]\n"
    "\n"
    "Converts a measurement between imperial and metric units, as the Ostrel window does:\n"
    "  ostrel-convert 5 ft      prints 1.52 m\n"
    "  ostrel-convert \"5'10\"    prints 1.78 m\n"
    "With TEXT, the words are joined by single spaces and converted; the exit status is 0 for a\n"
    "result and 1 otherwise. Without TEXT, every line of standard input is converted and one\n"
    "line is printed for each. A text with no conversion prints \"don't know\"; a blank one prints\n"
    "an empty line.\n";

void PrintLine(const char* text)
{
    std::fputs(text, stdout);
    std::fputc('\n', stdout);
}

int ConvertArguments(int argc, char** argv)
{
    size_t length = 0;
    for (int i = 1; i < argc; ++i) length += std::strlen(argv[i]) + 1;
    // Arguments have no length bound; one block for the joined text is the simplest honest way.
    char* text = static_cast<char*>(std::malloc(length));
    if (text == nullptr) {
        std::fputs("ostrel-convert: out of memory\n", stderr);
        return 2;
    }
    char* end = text;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) *end++ = ' ';
        const size_t part = std::strlen(argv[i]);
        std::memcpy(end, argv[i], part);
        end += part;
    }
    *end = '\0';
    const char* shown = ConvertForDisplay(text);
    PrintLine(shown);
    std::free(text);
    return shown != DONT_KNOW && *shown != '\0' ? 0 : 1;
}

int ConvertLines()
{
    static char outputBuffer[1 << 16];
    std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);
    char* line = nullptr;
    size_t capacity = 0;
    ssize_t length;
    while ((length = getline(&line, &capacity, stdin)) >= 0) {
        if (length > 0 && line[length - 1] == '\n') line[length - 1] = '\0';
        PrintLine(ConvertForDisplay(line));
    }
    std::free(line);
    return std::fflush(stdout) == 0 ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(USAGE, stdout);
        return 0;
    }
    return argc > 1 ? ConvertArguments(argc, argv) : ConvertLines();
}
