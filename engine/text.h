// Text helpers shared by the engine and the shell: the program's own notion of white space,
// trimming, bounded copying and the case-insensitive comparison of unit spellings.
#pragma once

#include <cstddef>

// Space, horizontal tab, line feed, vertical tab, form feed and carriage return; no byte of 0x80
// or above, whatever the locale.
constexpr bool IsWhiteSpace(char c)
{
    // One test for all six: bits 9 to 13 and 32 of a mask.
    const auto code = static_cast<unsigned char>(c);
    return (code <= ' ') & (((0x100003E00ULL >> (code & 63U)) & 1U) != 0);
}

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
int CompareNoCase(const char* a, const char* b);
