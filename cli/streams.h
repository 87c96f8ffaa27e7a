// What ostrel-convert asks of the system under it: the standard streams as bytes, the encoding of
// the degree sign when none is asked for, and how to explain a failure. posix.cpp keeps these
// promises on Linux, windows.cpp on Windows; main.cpp is the same on both.
#pragma once

#include <cstddef>

// How the engine's degree sign (the byte 0xB0) is written.
enum DegreeEncoding { DEGREE_UNSET, DEGREE_UTF8, DEGREE_LATIN1 };

// What --help says of the encodings where this build runs.
extern const char ENCODING_HELP[];

// The encoding to write standard output in: the one asked for with --encoding (DEGREE_UNSET for
// none) where it applies, else the system's own.
DegreeEncoding ChooseEncoding(DegreeEncoding asked);

// Reads at most size bytes of standard input: the count, 0 at its end, -1 on failure.
long ReadInput(char* buffer, size_t size);

// Writes size bytes of text, with lines ended by '\n' and the degree sign encoded as chosen, to
// standard output or standard error, each line end as the system's text files have it. Returns
// false on failure, having written all of it or part of it.
bool WriteOutput(bool toError, const char* text, size_t size);

// The system's words for the last failure of ReadInput or WriteOutput.
const char* FailureText();
