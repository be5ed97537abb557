// A DLL with a system DLL's name, planted beside the program: it notes that it was loaded, with a
// file named after itself, and does nothing else (its exports go to the real DLL).
#include <windows.h>

#include <string>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = GetModuleFileNameW(self, path.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return TRUE;
    path.resize(length);
    const HANDLE note = CreateFileW((path + L".loaded").c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, 0, nullptr);
    if (note != INVALID_HANDLE_VALUE) CloseHandle(note);
    return TRUE;
}
