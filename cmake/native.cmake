# Native Linux build: the portable code and its unit tests, under AddressSanitizer and UBSan.
# The in-memory desktop that the unit tests build the program on.
file(GLOB MODEL_SOURCES CONFIGURE_DEPENDS src/platform/model/*.cpp)
add_library(zorvane_model STATIC ${MODEL_SOURCES})
target_link_libraries(zorvane_model PUBLIC zorvane_core)

set(SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
foreach(target zorvane_core zorvane_model)
    target_compile_options(${target} PUBLIC ${SANITIZE})
    target_link_options(${target} PUBLIC ${SANITIZE})
endforeach()

find_package(GTest REQUIRED)
include(GoogleTest)
file(GLOB UNIT_SOURCES CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(unit_tests ${UNIT_SOURCES})
target_include_directories(unit_tests PRIVATE tests)
target_link_libraries(unit_tests PRIVATE zorvane_model GTest::gtest GTest::gmock GTest::gtest_main)
gtest_discover_tests(unit_tests DISCOVERY_MODE PRE_TEST)
