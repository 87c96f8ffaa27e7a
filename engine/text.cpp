// The program's own white space, trimming, bounded copy and case folding: none of them depend on
// the C library's locale.
#include "text.h"

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
