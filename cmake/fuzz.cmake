# libFuzzer targets, one per fuzz/*.cpp, under ASan and UBSan, over only what they reach: the
# text, message and buddy rules and the in-memory desktop (a short build for `make test`).
set_target_properties(zorvane_core PROPERTIES EXCLUDE_FROM_ALL ON)
file(GLOB FUZZED_SOURCES CONFIGURE_DEPENDS src/text/*.cpp src/messages/*.cpp src/buddies/*.cpp
    src/platform/model/model_desktop.cpp)
add_library(zorvane_fuzzed STATIC ${FUZZED_SOURCES})
target_include_directories(zorvane_fuzzed PUBLIC src tests)
# libstdc++ 12 offers std::expected only when the compiler announces C++20 concepts in full;
# clang 16 implements what it needs (conditionally trivial destructors) yet announces 201907.
target_compile_options(zorvane_fuzzed PUBLIC -D__cpp_concepts=202002L -Wno-macro-redefined
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_link_options(zorvane_fuzzed PUBLIC -fsanitize=fuzzer,address,undefined)

file(GLOB FUZZ_TARGETS CONFIGURE_DEPENDS fuzz/*.cpp)
foreach(source ${FUZZ_TARGETS})
    get_filename_component(name ${source} NAME_WE)
    add_executable(fuzz_${name} ${source})
    target_link_libraries(fuzz_${name} PRIVATE zorvane_fuzzed)
endforeach()
