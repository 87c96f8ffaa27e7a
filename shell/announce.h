// Screen readers and the result field: the field is a polite live region, and each new result is
// announced in it, so that a conversion is heard without moving the focus to the field.
#pragma once

#include <windows.h>

// Initialises COM on the calling thread and marks field as a polite live region, once, before the
// first announcement. Where the system's accessibility service is missing or refuses, nothing
// happens and announcements are still raised.
void MarkLiveRegion(HWND field);

// Ends what MarkLiveRegion began on the thread (COM), when the field's dialog ends.
void EndLiveRegion();

// Tells screen readers that the live region field has new text (EVENT_OBJECT_LIVEREGIONCHANGED).
void AnnounceLiveRegion(HWND field);
