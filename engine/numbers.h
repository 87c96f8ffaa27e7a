// The two number syntaxes the converter reads, and its fixed-point printing. They are the
// program's own rules (built on std::from_chars and std::to_chars), so results do not depend on
// the C library or the locale.
#pragma once

#include <cstddef>

// The plain number: optional white space, an optional sign directly followed by a digit or ".",
// digits with an optional fraction (or "." and digits), an optional exponent of e, E, d or D with
// an optional sign and at least one digit. Overflow gives an infinity of the number's sign; a
// non-zero magnitude below 2^-1022 gives +0. Returns the end of the number, or text itself (and
// *value = 0) when the text does not begin with one.
const char* ReadPlainNumber(const char* text, double* value);

// The scanned number of the feet-and-inches form: optional white space and sign, at least one
// digit with an optional fraction, and an optional exponent of e or E whose letter and sign are
// taken even without digits after them. Returns the end of the number, or nullptr (value
// untouched) when there is none.
const char* ReadScannedNumber(const char* text, double* value);

// Fractions and mixed numbers, where the number read from text to end is whole digits with an
// optional sign: "/" and digits right after it make it a numerator ("1/2"); white space, digits,
// "/" and digits after it make it the whole part ("1 1/2"). The denominator needs a digit other than
// 0, no part may touch a point, and the value must be finite; otherwise nothing more is read. Each
// digit string is read correctly rounded, then divided, then added to the whole, and the number's
// sign applies to the sum. Returns the end of the fraction, with *value (the number read) its value;
// or end, with *value untouched. The inches of feet and inches, as drawings and sports write them,
// also join the whole part with one hyphen ("6'3-6/8"), and end with the denominator's digits
// whatever follows.
const char* ReadFraction(const char* text, const char* end, double* value, bool inches);

// Writes value with the given number of decimals: 17 significant digits, rounded half away from
// zero at the last printed decimal, zeros for printed digits beyond the 17th; a negative value
// keeps its sign even when it prints as zero; "inf", "-inf" and "nan" for the rest. The output,
// terminator included, never exceeds size bytes. Returns the number of characters written.
size_t FormatFixed(char* out, size_t size, double value, int decimals);

// Longest FormatFixed output for a finite double with two decimals: sign, 309 digits, point, two.
constexpr size_t FIXED_TEXT_MAX = 313;
