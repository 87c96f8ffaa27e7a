// Text as people type and paste it (Unicode: UTF-16 from a window, UTF-8 or Latin-1 from a command
// line) turned into the engine's bytes. Every way into the program goes through here, so that a
// prime, a curly quote, "℃" or "½" reads the same wherever it was typed.
#pragma once

#include <cstddef>

// The most bytes one character becomes ("1¼" is "1 1/4").
constexpr size_t MAPPED_CHARACTER_MAX = 4;

// What a character the engine has no use for becomes: no spelling, number or form contains it,
// and a window showing mapped text shows it as the system's own conversions do.
constexpr char UNMAPPED_BYTE = '?';

// Each maps a whole text, writing at most size - 1 bytes and a terminator (size > 0), and stops
// before a character whose bytes would not fit. Returns the count of bytes written. A fraction
// written as one character is a mixed number's after a digit ("1½" is "1 1/2"), else one of its
// own ("-½" is "-1/2"); invisible characters (zero-width spaces and joiners, direction marks, the
// soft hyphen, U+FEFF anywhere) become nothing.
// UTF-16: a surrogate without its partner is UNMAPPED_BYTE.
size_t MapUtf16(const char16_t* text, size_t length, char* out, size_t size);
// UTF-8: each byte that does not begin a well-formed sequence is UNMAPPED_BYTE (overlong forms,
// encoded surrogates and values past U+10FFFF are not well formed).
size_t MapUtf8(const char* text, size_t length, char* out, size_t size);
// Latin-1: each byte is the code point of its value.
size_t MapLatin1(const char* text, size_t length, char* out, size_t size);

// Whether a text is well-formed UTF-8 throughout, as MapUtf8 reads it.
bool IsUtf8(const char* text, size_t length);
