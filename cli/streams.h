// What ostrel-convert asks of the system under it: its arguments and standard streams as bytes, the
// encodings of their text where none is asked for, and how to explain a failure. posix.cpp keeps
// these promises on Linux, windows.cpp on Windows; main.cpp is the same on both.
#pragma once

#include <cstddef>

// The encodings of the text read and written. The engine's own bytes are Latin-1's: its degree
// sign is 0xB0. ENCODING_AUTO is none asked for; text read in it is UTF-8 where it is well formed,
// and in the system's own encoding (MapSystemText) where it is not.
enum TextEncoding { ENCODING_AUTO, ENCODING_UTF8, ENCODING_LATIN1 };

// Where text comes from or goes to.
enum TextStream { ARGUMENTS, STANDARD_INPUT, STANDARD_OUTPUT };

// What --help says of the encodings where this build runs.
extern const char ENCODING_HELP[];

// The program (main.cpp), which the system's entry point runs with the words of its command line,
// the program's name first: on Windows read as UTF-16 and handed on in UTF-8.
int RunConverter(int count, char** words);

// The encoding of a stream's text, given the one asked for with --encoding (ENCODING_AUTO for
// none). Standard output's is UTF-8 or Latin-1, chosen before its first write.
TextEncoding ChooseEncoding(TextStream stream, TextEncoding asked);

// Maps text that is not well-formed UTF-8, read where no encoding was asked for, to the engine's
// bytes as the system's own encoding has it, as MapUtf8 does for UTF-8 (engine/unicode.h); false
// when memory runs out.
bool MapSystemText(const char* text, size_t length, char* out, size_t size);

// Reads at most size bytes of standard input: the count, 0 at its end, -1 on failure.
long ReadInput(char* buffer, size_t size);

// Writes size bytes of text, with lines ended by '\n', to standard output (answers, in the
// encoding chosen for it) or standard error (messages, in UTF-8 or the bytes given), each line
// end as the system's text files have it. Returns false on failure, having written all of it or
// part of it.
bool WriteOutput(bool toError, const char* text, size_t size);

// The system's words for the last failure of ReadInput or WriteOutput.
const char* FailureText();
