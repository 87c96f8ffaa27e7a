// The shell's text rules that need no window, so they build and are tested on any platform:
// the folding of message texts, the text a start is given, the first line of a pasted clipboard
// block, and the engine's texts in UTF-16.
#pragma once

#include <cstddef>

#include "unicode.h"

// The most characters a user gives the program at once: typed or pasted into the input field, or
// on the command line. Mapped to the engine's bytes they may grow ("½" is " 1/2"), and none of
// them is lost to that: the input, and a hand-over, hold that many bytes.
constexpr size_t INPUT_TEXT_MAX = 80;
constexpr size_t INPUT_BYTES_MAX = INPUT_TEXT_MAX * MAPPED_CHARACTER_MAX;

// Message boxes break their lines at this column.
constexpr size_t FOLD_COLUMNS = 40;

// Replaces, in place, the nearest white space at or before each line's column 41 with a line
// feed. A line of 41 characters without white space stops the folding for the rest of the text.
void FoldMessageText(char* text);

// A command prompt passes `ostrel "5 ft"` on with its quotes. A text that is one pair of double
// quotes around the rest loses them, in place, and is trimmed again; 5'10" keeps its inch mark.
char* Unquote(char* text);

// The text a start was given, as the engine's bytes in out (INPUT_BYTES_MAX + 1 bytes): the
// command line after the program's name (which runs to the first space or tab, or within double
// quotes), trimmed, cut to its first INPUT_TEXT_MAX characters, mapped and trimmed again.
// Returns whether it was cut.
bool ReadStartText(const char16_t* commandLine, char* out);

// Length of the first line of a block of size characters, as the clipboard holds Unicode text:
// up to its first line feed, its terminator or its end, whichever comes first, leaving out a
// carriage return right before the line feed. Never reads past size characters nor past a
// terminator.
size_t FirstLineLength(const wchar_t* block, size_t size);

// The engine's texts for the Unicode window and clipboard: they are ASCII and the degree sign
// 0xB0, so each byte becomes the code point of its value, whatever the system's code page.
// Writes at most size - 1 characters and a terminator (size > 0); returns out.
wchar_t* WidenEngineText(wchar_t* out, const char* text, size_t size);
