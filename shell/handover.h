// A start while another instance runs: its text handed over to that instance's main window.
#pragma once

#include <windows.h>

// The single-instance mutex's name, and the main dialog's title.
constexpr char INSTANCE_NAME[] = "Ostrel";

// Another instance owns the mutex: hands InputText over to its window as soon as there is one,
// and says so when that window cannot take it. True when that instance ended meanwhile and this
// start, now owning the mutex, is to be the first (or, with no mutex at all, when no window is
// there).
bool BecomesFirst(HANDLE mutex);
