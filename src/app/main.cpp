// The program: the main window on the real desktop, and the message loop that runs it.
#include <objbase.h>
#include <windows.h>

#include "platform/win32/message_pump.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_ui.h"
#include "windows/form1.h"

namespace {

// Every DLL loaded from here on (by the shell, COM, the common controls, the delay-loaded
// imports) comes from System32, never from the program's own folder, where a download may have
// left one with a system DLL's name. Windows 7 has the call only with its 2011 loader update;
// without it, the current folder at least leaves the search.
void loadDllsFromSystemOnly() {
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    const FARPROC found =
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    const auto setDirectories =
        reinterpret_cast<SetDirectories>(reinterpret_cast<void (*)()>(found));
    if (!setDirectories || !setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) SetDllDirectoryW(L"");
}

// The About window's link drives the browser's automation object from this thread.
class ComApartment {
  public:
    ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE); }
    ~ComApartment() { CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    loadDllsFromSystemOnly();
    const ComApartment com;
    zorvane::win32::Win32Ui ui(instance, showCommand);
    zorvane::win32::Win32Desktop desktop;
    zorvane::Form1 form1(ui, desktop);  // closing it ends the process
    form1.show();

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        zorvane::win32::dispatch(message);
    return 0;
}
