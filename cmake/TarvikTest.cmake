# tarvik_add_test(NAME name SOURCES ... LIBS ... [GUI] [TIMEOUT s] [LABELS ...])
#
# Builds one GoogleTest program and registers it with ctest. GUI tests get a
# QApplication on the offscreen platform; the others a QCoreApplication only.
# Every test runs with its own HOME and XDG folders, so settings and the
# emulator's announced ports never leak between tests or into the user's own.
find_package(GTest REQUIRED)

function(tarvik_add_test)
    cmake_parse_arguments(T "GUI" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
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
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set(scratch ${CMAKE_BINARY_DIR}/test-home/${T_NAME})
    file(MAKE_DIRECTORY ${scratch}/runtime)
    file(CHMOD ${scratch}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
    set_tests_properties(${T_NAME} PROPERTIES
        TIMEOUT ${T_TIMEOUT}
        LABELS "${T_LABELS}"
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${scratch};XDG_CONFIG_HOME=${scratch}/config;XDG_RUNTIME_DIR=${scratch}/runtime;TSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/tsan.supp")
endfunction()
