// The first-line rule of Paste and BoundedCopy on blocks of any size and content: exact-size heap
// copies let AddressSanitizer catch any read or write past a block.
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
    // The first byte chooses how much of the block its owner claims, as cbData or GlobalSize do.
    if (size < 2) return 0;
    const size_t claimed = data[0] % size;
    const std::vector<char> block(data + 1, data + size);

    const size_t line = FirstLineLength(block.data(), claimed);
    Require(line <= claimed);
    for (size_t i = 0; i < line; ++i) Require(block[i] != '\n' && block[i] != '\0');
    if (line < claimed) {
        const char stop = block[line];
        Require(stop == '\n' || stop == '\0' || (stop == '\r' && line + 1 < claimed && block[line + 1] == '\n'));
    }

    std::vector<char> dest(claimed + 1, 'x');
    BoundedCopy(dest.data(), block.data(), claimed);
    Require(dest[claimed] == '\0');
    const size_t copied = std::strlen(dest.data());
    Require(std::memcmp(dest.data(), block.data(), copied) == 0);
    Require(copied == claimed || block[copied] == '\0');
    return 0;
}
