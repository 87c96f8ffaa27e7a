// ostrel-convert's arguments and standard streams on Linux and other POSIX systems: plain reads
// and writes, all in the locale's character set unless another is asked for.
#include "streams.h"

#include <langinfo.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>

#include "text.h"

const char ENCODING_HELP[] =
    "Text is read and written in UTF-8 when the locale's character set is UTF-8 (as its name says\n"
    "where the locale is not installed), and otherwise in Latin-1: the degree sign of temperatures\n"
    "is then the single byte 0xB0 (Latin-1 and Windows-1252, as the window shows it).\n"
    "--encoding=utf-8 or --encoding=latin1 chooses instead, for TEXT, standard input and output\n"
    "alike; the names may be written in any letter case, with or without the hyphen. Standard\n"
    "input that begins with a byte order mark is read as it says: UTF-8, or UTF-16 (FF FE or\n"
    "FE FF), its lines ending in LF or CR LF.\n";

namespace {

// Whether a character set's name (up to a locale name's "@modifier") is UTF-8's.
bool IsUtf8Name(const char* name)
{
    char codeset[8] = {};
    for (size_t i = 0; i + 1 < sizeof codeset && name[i] != '\0' && name[i] != '@'; ++i) codeset[i] = name[i];
    return CompareNoCase(codeset, "UTF-8") == 0 || CompareNoCase(codeset, "UTF8") == 0;
}

// The locale's character set is UTF-8. A locale that cannot be set (an SSH session forwards the
// client's LANG to a server that never generated it) is still named: the first of LC_ALL,
// LC_CTYPE and LANG that is set, as setlocale would have taken it, names the character set after
// its dot.
bool LocaleIsUtf8()
{
    if (std::setlocale(LC_CTYPE, "") != nullptr) return IsUtf8Name(nl_langinfo(CODESET));
    static const char* const VARIABLES[] = {"LC_ALL", "LC_CTYPE", "LANG"};
    for (const char* variable : VARIABLES) {
        const char* name = std::getenv(variable);
        if (name == nullptr || *name == '\0') continue;
        const char* dot = std::strchr(name, '.');
        return dot != nullptr && IsUtf8Name(dot + 1);
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) { return RunConverter(argc, argv); }

TextEncoding ChooseEncoding(TextStream /*stream*/, TextEncoding asked)
{
    if (asked != ENCODING_UNSET) return asked;
    return LocaleIsUtf8() ? ENCODING_UTF8 : ENCODING_LATIN1;
}

long ReadInput(char* buffer, size_t size)
{
    for (;;) {
        const ssize_t got = read(STDIN_FILENO, buffer, size);
        if (got >= 0 || errno != EINTR) return static_cast<long>(got);
    }
}

bool WriteOutput(bool toError, const char* text, size_t size)
{
    while (size > 0) {
        const ssize_t written = write(toError ? STDERR_FILENO : STDOUT_FILENO, text, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            if (written == 0) errno = EIO;
            return false;
        }
        text += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

const char* FailureText() { return std::strerror(errno); }
