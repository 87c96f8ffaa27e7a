// Turns one line of input (*5 ft*, *5'10*, *100 c*) into the result text the user sees, or into
// no result. Knows nothing of windows; the only state is the result buffer.
#pragma once

#include <cstddef>

// Enough for the longest finite result: FIXED_TEXT_MAX, a space, the longest target text
// (TARGET_TEXT_MAX) and the terminator; convert.cpp asserts it.
constexpr size_t RESULT_TEXT_SIZE = 320;

// What the program answers when it cannot convert a text that is not blank.
extern const char DONT_KNOW[];

// Returns a pointer to the engine's static result text, valid until the next call, or nullptr
// for no result. May trim the caller's text in place (a blank text becomes empty).
const char* ConvertExpression(char* text);

// The text the main window shows for an input: the result, DONT_KNOW when there is none and the
// input is still not empty after the conversion, or "" when it is. Trims like ConvertExpression.
const char* ConvertForDisplay(char* text);

// ConvertForDisplay, also giving the length of the text it returns.
const char* ConvertForDisplay(char* text, size_t* length);
