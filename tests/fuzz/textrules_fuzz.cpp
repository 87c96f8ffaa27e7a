// The shell's text rules on any bytes: the first byte tells how much of the rest its owner claims
// (as cbData or GlobalSize do), in bytes or in the UTF-16 units that pairs of them make. Paste's
// first line and the bounded copy never reach past that (exact-size heap copies let ASan see it);
// folding turns only white space into line feeds, and leaves a line longer than 40 columns only
// where an unbreakable one stopped it. The same units as a command line give a start text that
// fits the input, trimmed.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "text.h"
#include "textrules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2 || size > 1000) return 0;
    const std::vector<char> block(data + 1, data + size);
    const size_t claimed = data[0] % size;
    const auto require = [](bool condition) { if (!condition) std::abort(); };

    std::u16string commandLine(block.size() / 2, u'\0');
    std::memcpy(&commandLine[0], block.data(), 2 * commandLine.size());
    const std::vector<wchar_t> units(commandLine.begin(), commandLine.end());
    const size_t claimedUnits = data[0] % (units.size() + 1);
    const size_t line = FirstLineLength(units.data(), claimedUnits);
    require(line <= claimedUnits && std::none_of(units.data(), units.data() + line, [](wchar_t c) { return c == L'\n' || c == L'\0'; }));
    if (line < claimedUnits)
        require(units[line] == L'\n' || units[line] == L'\0' || (units[line] == L'\r' && line + 1 < claimedUnits && units[line + 1] == L'\n'));
    std::vector<char> copy(claimed + 1, 'x');
    BoundedCopy(copy.data(), block.data(), claimed);
    const size_t copied = std::strlen(copy.data());
    require(std::memcmp(copy.data(), block.data(), copied) == 0 && (copied == claimed || block[copied] == '\0'));

    char given[INPUT_BYTES_MAX + 2];
    given[INPUT_BYTES_MAX + 1] = 'x';
    ReadStartText(commandLine.c_str(), given);
    const size_t started = std::strlen(given);
    require(given[INPUT_BYTES_MAX + 1] == 'x' && (started == 0 || (!IsWhiteSpace(given[0]) && !IsWhiteSpace(given[started - 1]))));

    std::string text(block.begin(), block.end()), folded = text;
    FoldMessageText(folded.data());
    const size_t length = std::strlen(text.data());
    for (size_t i = 0, start = 0; i <= length; ++i) {
        require(folded[i] == text[i] || (IsWhiteSpace(text[i]) && folded[i] == '\n'));
        if (folded[i] != '\n' && folded[i] != '\0') continue;
        if (i - start > FOLD_COLUMNS) {  // folding stopped here: 41 characters without white space, the rest untouched
            require(std::none_of(&folded[start], &folded[start + FOLD_COLUMNS + 1], IsWhiteSpace));
            require(std::memcmp(&folded[start], &text[start], length - start) == 0);
            break;
        }
        start = i + 1;
    }
    return 0;
}
