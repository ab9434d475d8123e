# Helpers that keep the per-folder CMake files short: every folder of tests, fuzz targets
# and benchmarks picks up its sources by pattern, so adding a file needs no CMake edit.

include(GoogleTest)

# kv_add_test_folder(<name> <folder> [LIBS ...]): one test executable from <folder>/*.cpp.
function(kv_add_test_folder name folder)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
    if(NOT sources)
        return()
    endif()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE kv_warnings GTest::gtest GTest::gmock GTest::gtest_main
        ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${KV_ROOT})
    # Tests find their data beside the sources and their built helpers beside the executable.
    target_compile_definitions(${name} PRIVATE KV_TEST_DATA_DIR="${KV_ROOT}/tests/data"
        KV_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()

# kv_add_fuzz_target(<name> <source> LIBS ...): a libFuzzer target with clang, otherwise a
# replay program that runs the target on its seed corpus and on generated inputs, so every
# build compiles and exercises the target.
function(kv_add_fuzz_target name source)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    if(KV_FUZZ)
        add_executable(${name} ${source})
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    else()
        add_executable(${name} ${source} ${KV_ROOT}/fuzz/ReplayMain.cpp)
    endif()
    target_link_libraries(${name} PRIVATE kv_warnings ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${KV_ROOT})
    if(KV_BUILD_TESTS AND NOT KV_FUZZ)
        get_filename_component(corpus ${KV_ROOT}/fuzz/corpus/${name} ABSOLUTE)
        add_test(NAME fuzz_replay.${name} COMMAND ${name} ${corpus})
    endif()
endfunction()

# kv_add_benchmark(<name> <source> LIBS ...)
function(kv_add_benchmark name source)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE kv_warnings benchmark::benchmark ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${KV_ROOT})
endfunction()

# Form descriptions embedded into libraries and programs.
include(${CMAKE_CURRENT_LIST_DIR}/KvForms.cmake)
