// ostrel-convert's line loop on any standard input, handed over in pieces of any size: byte order
// marks, UTF-16, lines across reads and longer than a block, NUL bytes, and each line read as
// UTF-8 where it is well formed and in the system's encoding where not. What it prints must be
// what the whole input gives, decoded at once and split at its line feeds.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

// The program's own files, so that each input starts from the beginning of standard input.
#include "input.cpp"
#include "main.cpp"

namespace {

void Require(bool condition) { if (!condition) std::abort(); }

// The system under the program: standard input from the fuzzer's bytes, output collected.
const uint8_t* In = nullptr;
size_t InLeft = 0;
size_t Piece = 1;
std::string Out;

// A line as the engine gets it (a NUL in it makes no text), and what it shows.
std::string Shown(const std::string& line, bool unicode)
{
    if (line.find('\0') != std::string::npos) return DONT_KNOW;
    std::string mapped(MAPPED_CHARACTER_MAX * line.size() + 1, '\0');
    const bool utf8 = unicode || IsUtf8(line.data(), line.size());
    (utf8 ? MapUtf8 : MapLatin1)(line.data(), line.size(), &mapped[0], mapped.size());
    return ConvertForDisplay(&mapped[0]);
}

// UTF-16 as UTF-8, as the program reads it (each unit that is no character as U+FFFD).
std::string Utf8OfUtf16(const uint8_t* bytes, size_t size, bool little)
{
    std::u16string units;
    for (size_t i = 0; i + 1 < size; i += 2) units += static_cast<char16_t>(little ? bytes[i] | bytes[i + 1] << 8 : bytes[i] << 8 | bytes[i + 1]);
    if (size % 2 != 0) units += u'\xFFFD';
    std::string text;
    char bytesOut[4];
    for (size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        const bool pair = IsHighSurrogate(c) && i + 1 < units.size() && IsLowSurrogate(units[i + 1]);
        if (pair) c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00U);
        if (!pair && (IsHighSurrogate(c) || IsLowSurrogate(c))) c = 0xFFFD;
        text.append(bytesOut, static_cast<size_t>(EncodeUtf8(c, bytesOut) - bytesOut));
    }
    return text;
}

}  // namespace

const char ENCODING_HELP[] = "";
TextEncoding ChooseEncoding(TextStream stream, TextEncoding asked) { return stream == STANDARD_OUTPUT ? ENCODING_LATIN1 : asked; }
bool MapSystemText(const char* text, size_t length, char* out, size_t size) { return MapLatin1(text, length, out, size), true; }
const char* FailureText() { return ""; }
bool WriteOutput(bool toError, const char* text, size_t size) { return toError || (Out.append(text, size), true); }

long ReadInput(char* buffer, size_t size)
{
    const size_t count = std::min({size, Piece, InLeft});
    std::memcpy(buffer, In, count);
    In += count;
    InLeft -= count;
    return static_cast<long>(count);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    Piece = data[0] % 32 + 1;
    In = data + 1;
    InLeft = size - 1;
    Out.clear();
    Form = FORM_UNKNOWN;
    Utf16Carried = 0;
    InputEnded = false;
    char program[] = "ostrel-convert";
    char* words[] = {program, nullptr};
    Require(RunConverter(1, words) == 0);

    const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
    const bool utf16 = input.rfind("\xFF\xFE", 0) == 0 || input.rfind("\xFE\xFF", 0) == 0;
    const bool utf8 = input.rfind("\xEF\xBB\xBF", 0) == 0;
    const std::string text = utf16 ? Utf8OfUtf16(data + 3, size - 3, data[1] == 0xFF) : input.substr(utf8 ? 3 : 0);
    std::string expected;
    for (size_t start = 0, end; start < text.size(); start = end + 1) {
        end = std::min(text.find('\n', start), text.size());
        expected += Shown(text.substr(start, end - start), utf8 || utf16) + "\n";
    }
    Require(Out == expected);
    return 0;
}
