// Stands in for the IM client's "aim:" URL handler: records the whole URL it is started with.
// Usage: fake_aim_handler.exe LOG URL   (registered as "...\fake_aim_handler.exe" "LOG" "%1")

#include <windows.h>

#include <shellapi.h>  // after windows.h, which it needs

#include <memory>

#include "platform/win32/wide.h"
#include "record_log.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    const std::unique_ptr<wchar_t*, decltype(&LocalFree)> args(
        CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
    if (!args || count < 2) return 2;
    // Anything but exactly one URL means the shell split or lost it: record that visibly.
    const std::string record =
        count == 3 ? zorvane::win32::narrow(args.get()[2]) : std::string("<not one URL>");
    zorvane::fakes::appendRecord(args.get()[1], record);
    return 0;
}
