// Folding of message texts, the text a start is given, the first line of a pasted block and the
// widening of engine texts; plain C++ over caller buffers.
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

bool ReadStartText(const char16_t* commandLine, char* out)
{
    const char16_t* text = commandLine ? commandLine : u"";
    if (*text == u'"') {
        for (++text; *text != u'\0' && *text != u'"'; ++text) {}
        if (*text == u'"') ++text;
    } else {
        while (*text != u'\0' && *text != u' ' && *text != u'\t') ++text;
    }
    const auto isSpace = [](char16_t c) { return c <= u' ' && IsWhiteSpace(static_cast<char>(c)); };
    while (isSpace(*text)) ++text;
    const char16_t* end = text;
    for (const char16_t* p = text; *p != u'\0'; ++p) {
        if (!isSpace(*p)) end = p + 1;
    }
    const size_t length = static_cast<size_t>(end - text);
    MapUtf16(text, length < INPUT_TEXT_MAX ? length : INPUT_TEXT_MAX, out, INPUT_BYTES_MAX + 1);
    const char* trimmed = TrimSpace(out);
    std::memmove(out, trimmed, std::strlen(trimmed) + 1);
    return length > INPUT_TEXT_MAX;
}

size_t FirstLineLength(const wchar_t* block, size_t size)
{
    if (!block) return 0;
    size_t n = 0;
    while (n < size && block[n] != L'\0' && block[n] != L'\n') ++n;
    if (n < size && block[n] == L'\n' && n > 0 && block[n - 1] == L'\r') --n;
    return n;
}

wchar_t* WidenEngineText(wchar_t* out, const char* text, size_t size)
{
    size_t n = 0;
    for (; n + 1 < size && text[n] != '\0'; ++n) out[n] = static_cast<unsigned char>(text[n]);
    out[n] = L'\0';
    return out;
}
