// ostrel-convert's line loop on any standard input, handed over in pieces of any size: byte order
// marks, UTF-16, lines across reads, NUL bytes, and each line read as UTF-8 where it is well formed
// and in the system's encoding where not. What it prints must be what the whole input gives,
// mapped line by line at once.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

// The program's own files, so that each input starts from the beginning of standard input.
#include "input.cpp"
#include "main.cpp"

namespace {

// The system under the program: standard input from the fuzzer's bytes, output collected.
const uint8_t* In = nullptr;
size_t InLeft = 0;
size_t Piece = 1;
std::string Out;

// Each line of a whole text mapped and converted; a NUL in a line makes it no text.
template <class Unit, class Map>
std::string ShownLines(const std::basic_string<Unit>& text, Map map)
{
    std::string shown;
    for (size_t start = 0, end; start < text.size(); start = end + 1) {
        end = std::min(text.find(Unit('\n'), start), text.size());
        std::string mapped(MAPPED_CHARACTER_MAX * (end - start) + 1, '\0');
        map(text.data() + start, end - start, &mapped[0], mapped.size());
        shown += (text.find(Unit(0), start) < end ? DONT_KNOW : ConvertForDisplay(&mapped[0])) + std::string("\n");
    }
    return shown;
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
    if (RunConverter(1, words) != 0) std::abort();

    const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string expected;
    if (input.rfind("\xFF\xFE", 0) == 0 || input.rfind("\xFE\xFF", 0) == 0) {
        std::u16string units;  // an odd byte at the end stands for no character, as a lone surrogate does
        for (size_t i = 2; i < input.size(); i += 2) {
            const auto first = static_cast<unsigned char>(input[i]);
            const auto second = i + 1 < input.size() ? static_cast<unsigned char>(input[i + 1]) : -1;
            units += static_cast<char16_t>(second < 0 ? 0xD800 : input[0] == '\xFF' ? second << 8 | first : first << 8 | second);
        }
        expected = ShownLines(units, MapUtf16);
    } else {
        const bool marked = input.rfind("\xEF\xBB\xBF", 0) == 0;
        expected = ShownLines(input.substr(marked ? 3 : 0), [marked](const char* text, size_t length, char* out, size_t room) {
            return (marked || IsUtf8(text, length) ? MapUtf8 : MapLatin1)(text, length, out, room);
        });
    }
    if (Out != expected) std::abort();
    return 0;
}
