// The 40-column folding of message texts on any text of up to 1,000 bytes: only white space turns
// into line feeds, and a line reaches column 41 only where folding had to stop.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "text.h"
#include "textrules.h"

namespace {

void Require(bool condition)
{
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1000) return 0;
    std::vector<char> before(data, data + size);
    before.push_back('\0');
    const size_t length = std::strlen(before.data());
    std::vector<char> after = before;
    FoldMessageText(after.data());

    for (size_t i = 0; i <= length; ++i) {
        Require(after[i] == before[i] || (IsWhiteSpace(before[i]) && after[i] == '\n'));
    }
    size_t lineStart = 0;
    for (size_t i = 0; i <= length; ++i) {
        if (after[i] != '\n' && after[i] != '\0') continue;
        if (i - lineStart > FOLD_COLUMNS) {
            // Folding stopped here: 41 characters without white space, the rest untouched.
            for (size_t j = lineStart; j <= lineStart + FOLD_COLUMNS; ++j) Require(!IsWhiteSpace(after[j]));
            Require(std::memcmp(after.data() + lineStart, before.data() + lineStart, length - lineStart) == 0);
            break;
        }
        lineStart = i + 1;
    }
    return 0;
}
