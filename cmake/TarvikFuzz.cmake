# tarvik_add_fuzz_target(NAME name SOURCES ... LIBS ...)
#
# One fuzz target: a program around LLVMFuzzerTestOneInput named fuzz_<name>,
# with its seed corpus in tests/fuzz/corpus/<name>/.
#
# In a libFuzzer build folder (TARVIK_LIBFUZZER, clang) it is linked with
# libFuzzer and run by scripts/fuzz.sh. In the ordinary build it is linked
# with the replay driver (tests/fuzz/replay_main.cpp), which runs the corpus
# and then random mutations of it for TARVIK_FUZZ_SECONDS, and is registered
# with ctest under the label "fuzz", so that every target keeps building and
# gets a short run with the other tests.
set(TARVIK_FUZZ_SECONDS 3 CACHE STRING "Seconds of random mutation per fuzz target under ctest")

if(NOT TARVIK_LIBFUZZER AND NOT TARGET tarvik_fuzz_replay)
    add_library(tarvik_fuzz_replay STATIC ${PROJECT_SOURCE_DIR}/tests/fuzz/replay_main.cpp)
endif()
# Builds every fuzz target and nothing else.
if(NOT TARGET fuzz_targets)
    add_custom_target(fuzz_targets)
endif()

function(tarvik_add_fuzz_target)
    cmake_parse_arguments(F "" "NAME" "SOURCES;LIBS" ${ARGN})
    set(target fuzz_${F_NAME})
    set(corpus ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus/${F_NAME})
    add_executable(${target} ${F_SOURCES})
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests/fuzz)
    target_link_libraries(${target} PRIVATE ${F_LIBS})
    add_dependencies(fuzz_targets ${target})
    if(TARVIK_LIBFUZZER)
        target_link_options(${target} PRIVATE -fsanitize=fuzzer)
        return()
    endif()
    target_link_libraries(${target} PRIVATE tarvik_fuzz_replay)
    add_test(NAME ${target} COMMAND ${target} --seconds ${TARVIK_FUZZ_SECONDS} ${corpus})
    set(scratch ${CMAKE_BINARY_DIR}/test-home/${target})
    file(MAKE_DIRECTORY ${scratch})
    set_tests_properties(${target} PROPERTIES
        TIMEOUT 120
        LABELS fuzz
        WORKING_DIRECTORY ${scratch}
        ENVIRONMENT "HOME=${scratch};XDG_CONFIG_HOME=${scratch}/config")
endfunction()
