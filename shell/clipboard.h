// Text between the program and the system clipboard, as Unicode (CF_UNICODETEXT) both ways: Windows
// makes the 8-bit text of ANSI programs from it in their own code page, and it from theirs.
#pragma once

// Results of PutClipboardText.
constexpr int CLIP_OK = 0;
constexpr int CLIP_NO_MEMORY = -1;   // the block could not be allocated or locked
constexpr int CLIP_REFUSED = -2;     // the clipboard did not take the block
constexpr int CLIP_NOT_OPEN = -3;    // someone else held the clipboard open all the while

// Clipboard tools hold the clipboard open for a moment: every opening is tried this often, this
// far apart (about a second in all, as common frameworks do) before it is given up.
constexpr int CLIPBOARD_TRIES = 10;
constexpr unsigned CLIPBOARD_RETRY_MS = 100;

// Places text on the clipboard, owned by MainWindow (none in batch mode).
int PutClipboardText(const wchar_t* text);

// Edit/Copy: the whole result field to the clipboard, with a warning when that fails.
void CopyResult();

// Edit/Paste: the first line of the clipboard's text, at most 80 characters, into the input
// field; silent when there is none.
void PasteInput();
