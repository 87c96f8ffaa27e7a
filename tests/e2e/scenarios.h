// What ostrel.exe must do, seen from outside. Each row: its group ("" continues the one above; each group
// starts from nothing of ours running and no saved state), actions separated by "; ", then what must be
// seen, separated by "|" and each awaited for up to ten seconds. In both, "<N*c>" stands for N times the
// character c, "<folder>" for the program's folder.
// Actions: open[@FOLDER] TEXT (a fresh start), start TEXT (another start, awaited to its end or its first
// window), restart TEXT (close, start again at once), race N MS, hang, set TEXT, chars TEXT,
// cmd|post|aboutcmd COMMAND, keys[@ID]|aboutkeys|press XDOTOOL-ACTIONS (after a click on the input field,
// the main window's control ID, the about box; press: no click), clip|wclip [TEXT], copydata[#SIZE] TEXT,
// flood N, hold MS, release, reg NAME TYPE VALUE, regdel NAME, move X Y, foreign, foreground, mutex [MS],
// about, override DLL [-], signal N, plant, register PATH, home FOLDER, remove FILE.
// What is seen: input, result, clip (as ANSI programs read them), wresult, wclip (as Unicode ones do, in
// UTF-8), exit, running, nowindow, windows, box|ubox TEXT, at X Y|X *, about X Y, titlebar [EDGES], arrived
// N, version, compiled, saved X Y|none, front, foreign, iconic, viewer, marks, announced (events on the
// result field in the row).
#pragma once

const struct Scenario { const char *group, *actions, *expected; } Scenarios[] = {
    // Batch mode: the answer on the clipboard, no window, nothing saved.
    {"batch", "clip sentinel; start -b5 ft", "exit 0|nowindow|clip 1.52 m|saved none"},
    {"", "start -b  2 kg  ", "exit 0|clip 4.41 lbs"},
    {"", "start -b", "exit 0|clip don't know"},
    {"", "start -b nonsense", "exit 0|nowindow|clip don't know|saved none"},
    {"", "start -b \"5 ft\"", "exit 0|clip 1.52 m"},
    {"", "start -b 98.6 f", "exit 0|clip 37\xb0 C"},
    {"", "start -b 5ft<75*0>10in", "exit 0|clip don't know"},  // cut to 80 characters, it would say 5 ft

    // The command line: trimmed, cut at 80 characters, converted at once.
    {"start", "open   5 ft  ", "input 5 ft|result 1.52 m|windows 0"},
    {"", "open", "input |result "},
    {"", "open 5'10\"", "input 5'10\"|result 1.78 m"},
    {"", "open \" 5'10\" \"", "input 5'10\"|result 1.78 m"},
    {"", "open -B 5 ft", "input -B 5 ft|result don't know"},
    {"", "open <3* >5<77* >ft<31917*y>", "input 5<77* >ft|result 1.52 m|windows 0"},
    {"", "mutex; open 5 ft", "ubox Ostrel is already running|exit 1"},

    // Commands: Convert reads the input and announces the result, Copy takes the result shown; the
    // rest leave both alone.
    {"commands", "open 5 ft; clip sentinel; set 2 kg; cmd ok", "result 4.41 lbs|input 2 kg|clip sentinel"},
    {"", "set 5 ft; cmd copy", "result 4.41 lbs|clip 4.41 lbs"},
    {"", "set ; cmd ok; cmd copy", "result |clip "},
    {"", "set 5'10; cmd convert", "result 1.78 m"},
    {"", "set 2 kg; cmd cancel; cmd 40099", "input 2 kg|result 1.78 m|running|windows 0"},
    {"", "set 100 c; cmd ok; cmd copy", "result 212\xb0 F|clip 212\xb0 F"},
    {"", "set 1e100 ft; cmd ok; cmd copy", "result 30480000376701357<83*0>.00 m|clip 30480000376701357<83*0>.00 m"},
    {"", "set 5 ft; cmd ok; cmd ok; set 2 kg; cmd convert; cmd paste; cmd copy", "result 4.41 lbs|announced 3"},

    // Real keys: typing does not convert, Return does, Esc does nothing.
    {"keys", "open 5 ft; set ; keys type 5'10", "input 5'10|result 1.52 m|announced 1"},
    {"", "keys key Return", "result 1.78 m|announced 1"},
    {"", "keys key Escape key End type 7", "input 5'107|result 1.78 m|running|windows 0"},
    {"", "set ; keys type <85*1>", "input <80*1>"},
    // After a conversion the next value is typed over the last.
    {"", "set 5 ft; keys@1 type 2kg", "input 2kg|result 1.52 m"},
    {"", "press key Return type 5ft", "input 5ft|result 4.41 lbs"},

    // Every way of closing: exit code 1, and the position saved.
    {"close", "open 5 ft; move -15 60; post exit", "exit 1|saved -15 60"},
    {"", "open 5 ft; move 300 200; post close", "exit 1|saved 300 200"},
    {"", "open 5 ft; move 120 340; post sysclose", "exit 1|saved 120 340"},
    {"", "open 5 ft; move 140 90; post sysclose2", "exit 1|saved 140 90"},
    {"", "open 5 ft; move 200 150; keys key alt+F4", "exit 1|saved 200 150"},
    {"", "open 5 ft; move 250 170; post minimize", "iconic 1"},
    {"", "post close", "exit 1|saved 250 170"},
    {"", "open 5 ft; about; about; post close", "exit 1"},

    // A second start hands its text to the running window, never to a foreign one titled alike.
    {"handover", "foreign; open 5 ft", "result 1.52 m"},
    {"", "foreground; start 2 kg", "exit 1|nowindow|input 2 kg|result 4.41 lbs|front main|foreign 0"},
    {"", "foreground; start -b 5 ft", "exit 0|input 2 kg|front foreign|clip 1.52 m|foreign 0"},
    {"", "post minimize", "iconic 1"},
    {"", "start 1 mile", "exit 1|input 1 mile|result 1.61 km|iconic 0|front main|announced 1"},
    {"", "cmd minimize; foreground; start", "exit 1|nowindow|input 1 mile|iconic 0|front main"},
    {"", "start 2 kg; press type 5ft", "input 5ft|result 4.41 lbs"},
    // Starts close together: one ends with 1 and its text reaches the other's window. A start
    // while one closes (its window gone, its program not yet) or just after, opens a window; one
    // that does not answer is said.
    {"", "race 12 300", "arrived 12"},
    {"", "mutex 1500; open 2 kg", "input 2 kg|result 4.41 lbs|windows 0"},
    {"", "restart 1 mile", "input 1 mile|result 1.61 km"},
    {"", "hang; start 2 kg", "ubox Ostrel is running but not responding|exit 1"},

    // Hand-overs from any process are read within their bounds, even in a random flood.
    {"hostile", "open 5 ft; copydata 2 kg", "input 2 kg|result 4.41 lbs"},
    {"", "copydata#0 5 ft", "input |result "},
    {"", "copydata#4 5 ftXYZ", "input 5 ft|result 1.52 m"},
    {"", "copydata#1000 <1000*7>", "input <320*7>|result don't know"},
    {"", "copydata#50 (null)", "input <320*7>|result don't know"},
    {"", "flood 2000; copydata 2 kg", "result 4.41 lbs|running|windows 0"},

    // Paste: the first line of any clipboard, not converted, the clipboard left as it was.
    {"paste", "open 5 ft; clip 2 kg\r\nsecond; cmd paste", "input 2 kg|result 1.52 m|clip 2 kg\r\nsecond"},
    {"", "clip 5'10\nsecond; cmd paste; cmd ok", "input 5'10|result 1.78 m"},
    {"", "clip; cmd paste", "input 5'10|clip (none)"},
    {"", "clip \r\n5 ft; cmd paste", "input "},
    {"", "clip 2<77* >kg<1048496*x>; cmd paste", "input 2<77* >kg"},
    {"", "clip \x01\x08\x09\x7f\x80\xff\nx; cmd paste; cmd ok", "input \x01\x08\x09\x7f\x80\xff|result don't know|windows 0"},

    // A clipboard held by another program for a moment is waited for; held long, Copy warns,
    // Paste stays silent and batch mode says so in its exit code.
    {"busy", "open 5 ft; clip sentinel; hold 600; cmd copy", "clip 1.52 m|windows 0"},
    {"", "clip 2 kg; hold 600; cmd paste", "input 2 kg|windows 0"},
    {"", "clip sentinel; hold 600; start -b 2 kg", "exit 0|clip 4.41 lbs"},
    {"", "hold 5000; post copy", "box Error copying text to clipboard"},
    {"", "release; clip 5 ft; hold 5000; cmd paste", "input 2 kg|windows 0"},
    {"", "release; clip sentinel; hold 5000; start -b 2 kg", "exit 2|nowindow"},
    {"", "release", "clip sentinel"},

    // The saved position, used where the title bar can be reached (its height and 64 pixels of it in
    // the work area); else moved just enough; (50, 50) for what lies on no monitor or is unusable.
    {"position", "open", "at 50 50|saved none"},
    {"", "reg wxpos dword 300; reg wypos dword 200; open", "at 300 200|saved 300 200"},
    {"", "regdel wypos; open", "at 300 50|saved none"},
    {"", "reg wxpos dword -20; reg wypos dword 5; open", "at -20 5"},
    {"", "reg wxpos dword 1180; open", "at 1180 5"},
    {"", "reg wxpos dword 1275; reg wypos dword 1020; open", "titlebar right bottom"},
    {"", "restart", "titlebar right bottom"},
    {"", "reg wxpos dword -280; reg wypos dword -175; open", "titlebar left top"},
    {"", "reg wxpos dword -200; reg wypos dword -100; open", "titlebar top|at -200 *"},
    {"", "restart", "titlebar top|at -200 *"},
    {"", "reg wxpos dword 30000; open", "at 50 50"},
    {"", "reg wxpos dword -32000; reg wypos dword -32000; open", "at 50 50"},
    {"", "reg wxpos sz 12345; reg wypos dword 200; open", "at 50 200|windows 0"},
    {"", "reg wxpos dword 300; reg wypos bin 2; open", "at 300 50|windows 0"},

    // The about box: beside the main window, closed by OK, Esc, its close box or Alt+F4.
    {"about", "open; move 400 300; about", "about 420 320|version Version: 1.0|compiled|windows 1"},
    {"", "aboutcmd cancel", "windows 0|running"},
    {"", "about; move 600 500; aboutkeys key Escape; set ; keys type x", "input x|windows 0"},
    {"", "about; aboutcmd ok", "windows 0|running"},
    {"", "move -30 120; about", "about -10 140"},
    {"", "aboutcmd sysclose", "windows 0"},
    {"", "about; aboutcmd close", "windows 0"},
    {"", "about; about; start 2 kg", "exit 1|windows 2|result 4.41 lbs"},
    {"", "move 600 500; set ; keys type 5ft", "input 5ft|windows 2"},
    {"", "keys key Return", "result 1.52 m|windows 2"},
    {"", "keys key Tab key Tab key Tab type 9", "input 9"},
    {"", "aboutkeys key Return", "windows 1"},

    // Help: the viewer, owned by the main window; without the control nothing, and no retry.
    {"help", "open; keys key F1", "viewer"},
    {"", "open@C:\\; cmd help", "viewer"},  // from another folder: the help file beside the program
    {"", "post close", "exit 1"},
    {"", "override hhctrl.ocx; open; keys key F1; set ; keys type x", "input x|windows 0"},
    {"", "override hhctrl.ocx -; cmd help", "windows 0"},
    {"", "open; cmd help", "viewer"},
    {"", "home \u0141ukasz; open@C:\\; keys key F1", "viewer"},  // a folder the code page cannot spell
    // Without the help file beside the program, a message says so.
    {"", "home nohelp; remove ostrel.chm; open; post help", "box The help file ostrel.chm is missing from\n<folder>|windows 0"},

    // Libraries named like the ones it uses, or like those these need in turn, planted beside a copy
    // of the program, are never loaded.
    {"planted", "plant; open; about; cmd help", "viewer|marks 0|windows 2"},
    {"", "register hhctrl.ocx; open; cmd help", "viewer|marks 0"},  // a registration by bare name

    // The degree sign in every code page: shown, copied and placed by batch mode as U+00B0.
    {"degree", "open 100 c; cmd copy", "wresult 212\u00b0 F|wclip 212\u00b0 F"},
    {"", "start -b 98.6 f", "exit 0|wclip 37\u00b0 C"},

    // What people type and paste, read alike in every code page: keys (characters beyond the keyboard's
    // as an input method sends them), Unicode pasted, the command line.
    {"forms", "open; set ; keys type \"5 ft 10 in\"; keys key Return", "result 1.78 m"},
    {"", "set ; keys type \"1 1/2 in\"; keys key Return", "result 3.81 cm"},
    {"", "set ; chars 212\u00b0 F; keys key Return", "wresult 100\u00b0 C"},
    {"", "set ; chars 100 \u2103; keys key Return", "wresult 212\u00b0 F"},
    {"", "wclip 5\u2032 10 \u00be\u2033; cmd paste; cmd ok", "result 1.80 m"},
    {"", "start 5\u2019 10\u00bd\u2033", "exit 1|input 5' 10 1/2\"|result 1.79 m"},  // handed over mapped
    {"", "open 5\u201910\u00bd\u2033", "input 5'10 1/2\"|result 1.79 m"},
    {"", "start -b 100 \u00b0C", "exit 0|wclip 212\u00b0 F"},

    // A fatal signal: one message without an owner, then the signal number as exit code.
    {"signal", "open; signal 2", "ubox interrupted: interrupt|exit 2"},
    {"", "open; signal 11", "ubox interrupted: segmentation error|exit 11"},
    {"", "open; signal 22", "ubox interrupted: abort signal|exit 22"},
    {"", "open; signal 21", "ubox interrupted: break request|exit 21"},
};
