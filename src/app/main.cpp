// The program: the main window on the real desktop, and the message loop that runs it.
#include <objbase.h>
#include <windows.h>

#include "platform/win32/win32_ui.h"
#include "windows/form1_layout.h"

namespace {

// ShellExecute may hand the away command to a COM-based handler: it wants COM on this thread.
class ComApartment {
  public:
    ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE); }
    ~ComApartment() { CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

void dispatch(MSG& message) {
    // Tab and Shift+Tab move between the controls of whichever window has them.
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    if (root && IsDialogMessageW(root, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const ComApartment com;
    zorvane::win32::Win32Ui ui(instance);
    const auto form1 = ui.createForm(zorvane::form1Spec());
    form1->onClose([&ui] { ui.exitProcess(); });
    form1->show();

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        dispatch(message);
    return 0;
}
