# Windows build: the real program over Win32, and the tests that run it under Wine.
enable_language(RC)
set(STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
# The same sources give the same bytes wherever and whenever they are built: no folder names in
# the objects (__FILE__, debug information) and no link time in the executable's header.
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>"
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_BINARY_DIR}/=>")
add_link_options(-Wl,--no-insert-timestamp)

# It reads text that other programs hand it: the stack is guarded, the C library's string and
# memory functions check their bounds where the compiler knows them (mingw-w64's headers since
# version 8; libssp supplies the checks). Loaded anywhere (with its relocations), at addresses of
# all 64 bits, its data not executable.
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-fstack-protector-strong>"
    "$<$<COMPILE_LANGUAGE:C,CXX>:-D_FORTIFY_SOURCE=2>")
add_link_options(-fstack-protector-strong -Wl,--dynamicbase,--high-entropy-va,--nxcompat)

# The version information of the resource script.
configure_file(cmake/version.h.in ${PROJECT_BINARY_DIR}/generated/zorvane_version.h @ONLY)
include_directories(${PROJECT_BINARY_DIR}/generated)
# What scripts/package.sh puts beside the program: the user's guide, in Windows line endings for
# Notepad, and the version for the zip's name.
configure_file(packaging/README.txt ${PROJECT_BINARY_DIR}/release/README.txt @ONLY
    NEWLINE_STYLE CRLF)
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/release/version CONTENT "@PROJECT_VERSION@\n" @ONLY)

# Loaded at the first call, not at start: the shell for the away command, COM for the browser's
# object (the apartment begins once the program has limited where DLLs come from). What these
# bring in then loads from System32 only, and a start that needs none of it is lighter.
set(DELAYED_shell32 ShellExecuteExW)
set(DELAYED_ole32 CLSIDFromProgID CoCreateInstance CoInitializeEx CoUninitialize)
set(DELAYED_oleaut32 SysAllocString SysFreeString VariantClear)
set(DELAYED_LIBRARIES "")
foreach(dll shell32 ole32 oleaut32)
    list(JOIN DELAYED_${dll} "\n" exports)
    file(CONFIGURE OUTPUT delayed/${dll}.def CONTENT "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n")
    set(library ${PROJECT_BINARY_DIR}/delayed/lib${dll}.a)
    add_custom_command(OUTPUT ${library}
        COMMAND x86_64-w64-mingw32-dlltool --input-def ${PROJECT_BINARY_DIR}/delayed/${dll}.def
            --dllname ${dll}.dll --output-delaylib ${library}
        DEPENDS ${PROJECT_BINARY_DIR}/delayed/${dll}.def VERBATIM)
    list(APPEND DELAYED_LIBRARIES ${library})
endforeach()
add_custom_target(delayed_imports DEPENDS ${DELAYED_LIBRARIES})

file(GLOB WIN32_SOURCES CONFIGURE_DEPENDS src/platform/win32/*.cpp)
add_library(zorvane_win32 STATIC ${WIN32_SOURCES})
add_dependencies(zorvane_win32 delayed_imports)
target_link_libraries(zorvane_win32 PUBLIC zorvane_core user32 gdi32 kernel32 comctl32
    ${DELAYED_LIBRARIES} uuid)
target_link_options(zorvane_win32 PUBLIC ${STATIC_RUNTIME})

file(GLOB APP_SOURCES CONFIGURE_DEPENDS src/app/*.cpp src/app/*.rc)
# What the resource script takes in: a change to one of them rebuilds it.
set(APP_RESOURCE_FILES ${PROJECT_SOURCE_DIR}/src/app/zorvane.ico
    ${PROJECT_SOURCE_DIR}/src/app/zorvane.manifest ${PROJECT_SOURCE_DIR}/src/app/about.bmp
    ${PROJECT_BINARY_DIR}/generated/zorvane_version.h)
set_source_files_properties(src/app/zorvane.rc PROPERTIES OBJECT_DEPENDS "${APP_RESOURCE_FILES}")
add_executable(zorvane WIN32 ${APP_SOURCES})
target_link_libraries(zorvane PRIVATE zorvane_win32)
# Stripped: what the tests run is what ships, without debug information or the folders in it.
target_link_options(zorvane PRIVATE -municode -s -Wl,-Map=${CMAKE_BINARY_DIR}/zorvane.map)
set_target_properties(zorvane PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# The header's pointer to the load configuration (src/app/load_config.cpp), which the linker
# leaves empty.
add_custom_command(TARGET zorvane POST_BUILD
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/set-load-config.sh $<TARGET_FILE:zorvane>
        ${CMAKE_BINARY_DIR}/zorvane.map VERBATIM)

# GoogleTest from the Debian source package, built with the cross compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(target gtest gtest_main gmock)
    target_compile_options(${target} PRIVATE -w)
endforeach()

# Test programs and fakes share one folder, so a test finds the fakes beside itself.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
add_subdirectory(tests/fakes)
add_subdirectory(tests/wine)
add_subdirectory(tests/e2e)
add_subdirectory(bench)
