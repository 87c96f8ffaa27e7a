// The live region of the result field, through oleacc's property service. ole32 and oleacc are
// bound at run time from the system folder: imported, they would lengthen the import list, and
// oleacc, being no known library, would be taken from the program's folder first.
#include "announce.h"

#include <oleacc.h>

#include "syslib.h"

namespace {

// Microsoft's documented values, which mingw's headers lack or hide behind a newer system version.
constexpr GUID LIVE_SETTING_PROPERTY = {0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr CLSID ACC_PROP_SERVICES_CLASS = {0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID ACC_PROP_SERVICES_INTERFACE = {0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr IID CLASS_FACTORY_INTERFACE = {0x00000001, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr LONG LIVE_SETTING_POLITE = 1;
constexpr DWORD LIVE_REGION_CHANGED = 0x8019;

typedef HRESULT(WINAPI* CoInitializeExProc)(void* reserved, DWORD model);
typedef void(WINAPI* CoUninitializeProc)();
typedef HRESULT(WINAPI* DllGetClassObjectProc)(REFCLSID type, REFIID wanted, void** object);

template <class Proc>
Proc Entry(HMODULE library, const char* name)
{
    FARPROC entry = library ? GetProcAddress(library, name) : nullptr;
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(entry));
}

// Set while COM is initialised on the main dialog's thread, to end it with the dialog.
CoUninitializeProc Uninitialize;

}  // namespace

void MarkLiveRegion(HWND field)
{
    HMODULE ole32 = LoadSystemLibrary(L"ole32.dll");
    const auto initialize = Entry<CoInitializeExProc>(ole32, "CoInitializeEx");
    if (!initialize || FAILED(initialize(nullptr, COINIT_APARTMENTTHREADED))) return;
    Uninitialize = Entry<CoUninitializeProc>(ole32, "CoUninitialize");
    // The class is taken from the oleacc just loaded, not wherever the registry points COM to.
    const auto classObject = Entry<DllGetClassObjectProc>(LoadSystemLibrary(L"oleacc.dll"), "DllGetClassObject");
    IClassFactory* factory = nullptr;
    if (!classObject || FAILED(classObject(ACC_PROP_SERVICES_CLASS, CLASS_FACTORY_INTERFACE, reinterpret_cast<void**>(&factory))))
        return;
    IAccPropServices* services = nullptr;
    if (SUCCEEDED(factory->CreateInstance(nullptr, ACC_PROP_SERVICES_INTERFACE, reinterpret_cast<void**>(&services)))) {
        VARIANT polite = {};  // zeroed as VariantInit would, without importing oleaut32 for it
        polite.vt = VT_I4;
        polite.lVal = LIVE_SETTING_POLITE;
        // Kept by oleacc with the window; a refusal (older systems, Wine) leaves the plain field.
        services->SetHwndProp(field, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, LIVE_SETTING_PROPERTY, polite);
        services->Release();
    }
    factory->Release();
}

void AnnounceLiveRegion(HWND field)
{
    NotifyWinEvent(LIVE_REGION_CHANGED, field, OBJID_CLIENT, CHILDID_SELF);
}

void EndLiveRegion()
{
    if (Uninitialize) Uninitialize();
    Uninitialize = nullptr;
}
