// Plain 8-bit text (CF_TEXT) between the program and the system clipboard.
#pragma once

// Results of PutClipboardText.
constexpr int CLIP_OK = 0;
constexpr int CLIP_NO_MEMORY = -1;   // the block could not be allocated or locked
constexpr int CLIP_REFUSED = -2;     // the clipboard did not take the block
constexpr int CLIP_NOT_OPEN = -3;    // someone else holds the clipboard open

// Places text on the clipboard, owned by MainWindow (none in batch mode).
int PutClipboardText(const char* text);

// Edit/Copy: the result field to the clipboard, with a warning when that fails.
void CopyResult();

// Edit/Paste: the clipboard text's first line into the input field.
void PasteInput();
