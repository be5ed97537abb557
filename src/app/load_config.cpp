// The load configuration the system reads as it starts the program. The linker puts it in the
// image but leaves the header's pointer to it empty: scripts/set-load-config.sh sets it after the
// link.
#include <windows.h>

// The name the system's tools look for. Windows 10 (1607) and later then load the DLLs that the
// imports bring in from System32 only, never from the program's own folder, where a download may
// have left one with a system DLL's name.
// NOLINTNEXTLINE(bugprone-reserved-identifier)
extern "C" const IMAGE_LOAD_CONFIG_DIRECTORY64 _load_config_used{
    .Size = sizeof(IMAGE_LOAD_CONFIG_DIRECTORY64),
    .Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32,  // DependentLoadFlags, by its newer name
};
