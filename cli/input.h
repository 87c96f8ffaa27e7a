// Standard input as ostrel-convert's line loop reads it: a byte order mark at its start is taken
// away and obeyed, and UTF-16 arrives as UTF-8, so that every line ends at a byte 0x0A.
#pragma once

#include <cstddef>

// The least room a read is given: a few characters of UTF-16 as UTF-8.
constexpr size_t READ_ROOM_MIN = 16;

// Reads at most size bytes of text (size >= READ_ROOM_MIN): the count, 0 at the end of the input,
// -1 on failure (FailureText says why). Once the input has ended, it is not asked again.
long ReadText(char* buffer, size_t size);

// Whether a byte order mark said the text is Unicode: it is then UTF-8, whatever was chosen.
bool TextIsMarkedUnicode();
