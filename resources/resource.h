// Control and command ids, shared by ostrel.rc and the C++ code (and the tests that drive them).
#pragma once

// Main dialog "OSTRELDLG"
#define IDC_INPUT    1000
#define IDC_RESULT   1004

// Menu "OSTRELMENU"
#define IDM_CONVERT  40002
#define IDM_EXIT     40004
#define IDM_COPY     40005
#define IDM_PASTE    40006
#define IDM_HELP     40007
#define IDM_ABOUT    40008

// About box "ABOUT"
#define IDC_COMPILED 1000
#define IDC_VERSION  1010

#ifndef IDC_STATIC
#define IDC_STATIC   (-1)
#endif
