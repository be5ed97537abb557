# Fails when the main window's caption, "Zorvane vMAJOR.MINOR", disagrees with the project
# version on major.minor. Usage: cmake -DVERSION=1.2.3 -DSOURCES="a.cpp;b.cpp" -P this file
string(REGEX MATCH "^([0-9]+)\\.([0-9]+)" expected "${VERSION}")
set(expected "${CMAKE_MATCH_1}.${CMAKE_MATCH_2}")
set(found "")
foreach(source IN LISTS SOURCES)
    file(STRINGS "${source}" lines REGEX "\"Zorvane v[0-9]+\\.[0-9]+\"")
    foreach(line IN LISTS lines)
        string(REGEX MATCH "\"Zorvane v([0-9]+\\.[0-9]+)\"" caption "${line}")
        list(APPEND found "${CMAKE_MATCH_1}")
        if(NOT CMAKE_MATCH_1 STREQUAL expected)
            message(FATAL_ERROR "The main window's caption in ${source} reads \"Zorvane "
                "v${CMAKE_MATCH_1}\", but the project version (CMakeLists.txt) is ${VERSION}: "
                "their major.minor must agree (v${expected}).")
        endif()
    endforeach()
endforeach()
if(NOT found)
    message(FATAL_ERROR "No caption \"Zorvane vMAJOR.MINOR\" found in src/windows/*.cpp to check "
        "against the project version ${VERSION}.")
endif()
