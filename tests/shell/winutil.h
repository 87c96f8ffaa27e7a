// Stand-ins for the shell's Wine tests, swapped into this executable's imports so that failures
// can be provoked and message boxes read without a desktop in the way.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>

// Points the import slot that holds current at replacement; returns current, or 0 if none holds it.
inline ULONG_PTR SwapImport(ULONG_PTR current, ULONG_PTR replacement)
{
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto* dll = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports); dll->Name; ++dll) {
        for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk); slot->u1.Function; ++slot) {
            if (slot->u1.Function != current) continue;
            DWORD protection;
            VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
            slot->u1.Function = replacement;
            VirtualProtect(slot, sizeof *slot, protection, &protection);
            return current;
        }
    }
    return 0;
}

inline ULONG_PTR SwapImport(const char* dll, const char* name, ULONG_PTR replacement)
{
    return SwapImport(reinterpret_cast<ULONG_PTR>(GetProcAddress(GetModuleHandleA(dll), name)), replacement);
}

// From the first call on, message boxes are answered with OK at once and the last one noted here.
struct NotedBox {
    HWND owner;
    std::string text;
};
inline NotedBox LastBox;

inline int WINAPI NoteBox(HWND owner, LPCSTR text, LPCSTR, UINT)
{
    LastBox = {owner, text ? text : ""};
    return IDOK;
}

inline void NoteMessageBoxes()
{
    static bool swapped = SwapImport("user32.dll", "MessageBoxA", reinterpret_cast<ULONG_PTR>(NoteBox)) != 0;
    if (!swapped) abort();  // a real box would hold the run until someone clicks it
}
