// The program: the main window on the real desktop, and the message loop that runs it.
#include <windows.h>

#include "platform/win32/message_pump.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_ui.h"
#include "windows/form1.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    zorvane::win32::Win32Ui ui(instance);
    zorvane::win32::Win32Desktop desktop;
    zorvane::Form1 form1(ui, desktop);  // closing it ends the process
    form1.show();

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        zorvane::win32::dispatch(message);
    return 0;
}
