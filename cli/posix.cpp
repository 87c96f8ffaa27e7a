// ostrel-convert's arguments and standard streams on Linux and other POSIX systems: plain reads
// and writes, in the locale's character set unless another is asked for or the text is UTF-8.
#include "streams.h"

#include <langinfo.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>

#include "text.h"
#include "unicode.h"

const char ENCODING_HELP[] =
    "Text that is well-formed UTF-8 is read as UTF-8; other text is read in the locale's character\n"
    "set: UTF-8 where it is UTF-8 (as its name says where the locale is not installed), Latin-1\n"
    "otherwise. Results are written in UTF-8 where the locale's character set is UTF-8 and in the\n"
    "C and POSIX locales; a locale that names another character set gets Latin-1, where the\n"
    "degree sign of temperatures is the single byte 0xB0 (as in Windows-1252).\n"
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

// The locale's character set, as far as it matters here. A locale that cannot be set (an SSH
// session forwards the client's LANG to a server that never generated it) is still named: the
// first of LC_ALL, LC_CTYPE and LANG that is set, as setlocale would have taken it, names the
// character set after its dot; none set is the C locale.
enum LocaleCharacters { LOCALE_UTF8, LOCALE_C, LOCALE_OTHER };

LocaleCharacters ReadLocale()
{
    if (const char* name = std::setlocale(LC_CTYPE, "")) {
        if (std::strcmp(name, "C") == 0 || std::strcmp(name, "POSIX") == 0) return LOCALE_C;
        return IsUtf8Name(nl_langinfo(CODESET)) ? LOCALE_UTF8 : LOCALE_OTHER;
    }
    static const char* const VARIABLES[] = {"LC_ALL", "LC_CTYPE", "LANG"};
    for (const char* variable : VARIABLES) {
        const char* name = std::getenv(variable);
        if (name == nullptr || *name == '\0') continue;
        const char* dot = std::strchr(name, '.');
        return dot != nullptr && IsUtf8Name(dot + 1) ? LOCALE_UTF8 : LOCALE_OTHER;
    }
    return LOCALE_C;
}

LocaleCharacters Locale()
{
    static const LocaleCharacters locale = ReadLocale();
    return locale;
}

}  // namespace

int main(int argc, char** argv) { return RunConverter(argc, argv); }

TextEncoding ChooseEncoding(TextStream stream, TextEncoding asked)
{
    // Most tools write UTF-8 in the C locale today; only a locale that names another set keeps it.
    if (asked != ENCODING_AUTO || stream != STANDARD_OUTPUT) return asked;
    return Locale() == LOCALE_OTHER ? ENCODING_LATIN1 : ENCODING_UTF8;
}

bool MapSystemText(const char* text, size_t length, char* out, size_t size)
{
    if (Locale() == LOCALE_UTF8) {
        MapUtf8(text, length, out, size);
    } else {
        MapLatin1(text, length, out, size);
    }
    return true;
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
