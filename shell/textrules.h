// The shell's text rules that need no window, so they build and are tested on any platform:
// the folding of message texts, the first line of a pasted clipboard block, and the engine's
// texts in UTF-16.
#pragma once

#include <cstddef>

// Message boxes break their lines at this column.
constexpr size_t FOLD_COLUMNS = 40;

// Replaces, in place, the nearest white space at or before each line's column 41 with a line
// feed. A line of 41 characters without white space stops the folding for the rest of the text.
void FoldMessageText(char* text);

// A command prompt passes `ostrel "5 ft"` on with its quotes. A text that is one pair of double
// quotes around the rest loses them, in place, and is trimmed again; 5'10" keeps its inch mark.
char* Unquote(char* text);

// Length of the first line of a block of size bytes: up to its first line feed, its terminator
// or its end, whichever comes first, leaving out a carriage return right before the line feed.
// Never reads past size bytes nor past a terminator.
size_t FirstLineLength(const char* block, size_t size);

// The engine's texts for the Unicode window and clipboard: they are ASCII and the degree sign
// 0xB0, so each byte becomes the code point of its value, whatever the system's code page.
// Writes at most size - 1 characters and a terminator (size > 0); returns out.
wchar_t* WidenEngineText(wchar_t* out, const char* text, size_t size);
