// Folding of message texts, the first-line rule of Paste and the widening of engine texts; plain
// C++ over caller buffers.
#include "textrules.h"

#include <cstring>

#include "text.h"

void FoldMessageText(char* text)
{
    if (!text) return;
    char* lineStart = text;  // the character in column 1 of the current line
    char* p = text;
    while (*p) {
        if (static_cast<size_t>(p - lineStart) == FOLD_COLUMNS) {
            // p is in column 41: break at the nearest white space from here back to column 1.
            char* q = p;
            while (!IsWhiteSpace(*q)) {
                if (q == lineStart) return;  // an unbreakable line ends all folding
                --q;
            }
            *q = '\n';
            lineStart = q + 1;
            p = lineStart;  // the characters after the break are counted again on the new line
            continue;
        }
        if (*p == '\n') lineStart = p + 1;
        ++p;
    }
}

char* Unquote(char* text)
{
    const size_t length = text ? std::strlen(text) : 0;
    if (length < 2 || text[0] != '"' || text[length - 1] != '"') return text;
    text[length - 1] = '\0';
    return TrimSpace(text + 1);
}

size_t FirstLineLength(const char* block, size_t size)
{
    if (!block) return 0;
    size_t n = 0;
    while (n < size && block[n] != '\0' && block[n] != '\n') ++n;
    if (n < size && block[n] == '\n' && n > 0 && block[n - 1] == '\r') --n;
    return n;
}

wchar_t* WidenEngineText(wchar_t* out, const char* text, size_t size)
{
    size_t n = 0;
    for (; n + 1 < size && text[n] != '\0'; ++n) out[n] = static_cast<unsigned char>(text[n]);
    out[n] = L'\0';
    return out;
}
