# libFuzzer targets over the portable code, one per fuzz/*.cpp, under ASan and UBSan.
file(GLOB MODEL_SOURCES CONFIGURE_DEPENDS src/platform/model/*.cpp)
add_library(zorvane_model STATIC ${MODEL_SOURCES})
target_link_libraries(zorvane_model PUBLIC zorvane_core)

# libstdc++ 12 offers std::expected only when the compiler announces C++20 concepts in full;
# clang 16 implements what it needs (conditionally trivial destructors) yet announces 201907.
target_compile_options(zorvane_core PUBLIC -D__cpp_concepts=202002L -Wno-macro-redefined
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_link_options(zorvane_core PUBLIC -fsanitize=fuzzer,address,undefined)

file(GLOB FUZZ_TARGETS CONFIGURE_DEPENDS fuzz/*.cpp)
foreach(source ${FUZZ_TARGETS})
    get_filename_component(name ${source} NAME_WE)
    add_executable(fuzz_${name} ${source})
    target_include_directories(fuzz_${name} PRIVATE tests)
    target_link_libraries(fuzz_${name} PRIVATE zorvane_model)
endforeach()
