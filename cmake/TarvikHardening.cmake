# Debian's hardening for the programs: the flags dpkg-buildflags gives a
# package built with hardening=+all on this platform (stack protector,
# format checks, fortified C library calls, PIE, read-only relocations and
# immediate binding). The sanitizer and libFuzzer builds (scripts/) have
# instrumentation of their own and go without; so does a Debug build's
# fortify, which needs the optimiser.
option(TARVIK_HARDENING "Build with Debian's hardening flags (off with sanitizers or libFuzzer)" ON)

if(TARVIK_HARDENING AND NOT TARVIK_SANITIZE AND NOT TARVIK_LIBFUZZER)
    include(CheckPIESupported)
    check_pie_supported(LANGUAGES CXX)
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
    add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
    add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
