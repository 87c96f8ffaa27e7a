// The program's own white space, trimming, bounded copy and case folding: none of them depend on
// the C library's locale.
#include "text.h"

bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

char* TrimSpace(char* text)
{
    if (text == nullptr || *text == '\0') return text;
    char* end = text;
    for (char* p = text; *p != '\0'; ++p) {
        if (!IsWhiteSpace(*p)) end = p + 1;
    }
    *end = '\0';
    while (IsWhiteSpace(*text)) ++text;
    return text;
}

char* BoundedCopy(char* dest, const char* src, size_t n)
{
    if (dest == nullptr || src == nullptr) return dest;
    size_t i = 0;
    for (; i < n && src[i] != '\0'; ++i) dest[i] = src[i];
    for (; i <= n; ++i) dest[i] = '\0';
    return dest;
}

namespace {

unsigned char FoldAsciiLetter(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

}  // namespace

int CompareNoCase(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        const unsigned char x = FoldAsciiLetter(*a);
        const unsigned char y = FoldAsciiLetter(*b);
        if (x != y) return x < y ? -1 : 1;
        if (x == '\0') return 0;
    }
}
