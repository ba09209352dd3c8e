# tarvik_add_test(NAME name SOURCES ... LIBS ... [GUI] [LOCALE] [TIMEOUT s] [LABELS ...])
#
# Builds one GoogleTest program and registers it with ctest. GUI tests get a
# QApplication on the offscreen platform; the others a QCoreApplication only.
# Every test runs with its own HOME and XDG folders, so settings and the
# emulator's announced ports never leak between tests or into the user's own.
#
# LOCALE registers the program a second time, as <name>_ru_RU with the label
# "locale", under the installers' locale ru_RU.UTF-8 (LANG and LC_ALL): the
# application takes the C library's locale from them at start, and whatever
# the program writes must not change with it. That run fails at once when the
# locale is not installed (scripts/setup.sh generates it), instead of passing
# under C.
find_package(GTest REQUIRED)

set(TARVIK_TEST_LOCALE ru_RU.UTF-8)

function(tarvik_register_test test program timeout labels extra_env)
    add_test(NAME ${test} COMMAND ${program})
    set(scratch ${CMAKE_BINARY_DIR}/test-home/${test})
    file(MAKE_DIRECTORY ${scratch}/runtime)
    file(CHMOD ${scratch}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
    set_tests_properties(${test} PROPERTIES
        TIMEOUT ${timeout}
        LABELS "${labels}"
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${scratch};XDG_CONFIG_HOME=${scratch}/config;XDG_RUNTIME_DIR=${scratch}/runtime;TSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/tsan.supp${extra_env}")
endfunction()

function(tarvik_add_test)
    cmake_parse_arguments(T "GUI;LOCALE" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    if(T_GUI)
        target_link_libraries(${T_NAME} PRIVATE tarvik_test_gui_main)
    else()
        target_link_libraries(${T_NAME} PRIVATE tarvik_test_core_main)
    endif()
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} tarvik_test_support GTest::gtest GTest::gmock)
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    tarvik_register_test(${T_NAME} ${T_NAME} ${T_TIMEOUT} "${T_LABELS}" "")
    if(T_LOCALE)
        tarvik_register_test(${T_NAME}_ru_RU ${T_NAME} ${T_TIMEOUT} "${T_LABELS};locale"
            ";LANG=${TARVIK_TEST_LOCALE};LC_ALL=${TARVIK_TEST_LOCALE};TARVIK_TEST_LOCALE=${TARVIK_TEST_LOCALE}")
    endif()
endfunction()
