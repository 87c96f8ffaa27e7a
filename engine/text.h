// Text helpers shared by the engine and the shell: the program's own notion of white space,
// trimming, bounded copying and the case-insensitive comparison of unit spellings.
#pragma once

#include <cstddef>

// Space, horizontal tab, line feed, vertical tab, form feed and carriage return; no byte of 0x80
// or above, whatever the locale.
constexpr bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Cuts trailing white space by writing a terminator after the last other character and returns
// a pointer past the leading white space. An absent or empty text comes back unchanged.
char* TrimSpace(char* text);

// Copies at most n characters of src into dest and writes a terminator at dest[n], so dest must
// hold n + 1 bytes. With either text absent, dest is left untouched. Returns dest.
char* BoundedCopy(char* dest, const char* src, size_t n);

// A-Z folded to a-z; every other byte as it is.
constexpr char FoldLetter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Byte comparison of unsigned values after folding only A-Z to a-z; a prefix orders first.
constexpr int CompareNoCase(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        const auto x = static_cast<unsigned char>(FoldLetter(*a));
        const auto y = static_cast<unsigned char>(FoldLetter(*b));
        if (x != y) return x < y ? -1 : 1;
        if (x == '\0') return 0;
    }
}
