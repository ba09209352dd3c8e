# Desktop integration and the Debian package.
#
# The programs install themselves (install(TARGETS ...) beside each one);
# this file adds the desktop entry and the icon, the manual pages, the
# copyright file and the changelog, and describes the .deb that
# `cpack -G DEB` builds from the install tree. Qt resources are compiled into
# the programs, so nothing else goes with them.

install(FILES ${PROJECT_SOURCE_DIR}/resources/tarvik1.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/tarvik1.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/tarvik1-48.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps
        RENAME tarvik1.png)

# Compressed as Debian wants them (gzip -9n: the best compression, no name
# or time stamp inside, so the same sources give the same bytes).
function(tarvik_gzip source output)
    get_filename_component(name ${output} NAME_WLE)
    set(plain ${CMAKE_BINARY_DIR}/package/${name})
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E copy ${source} ${plain}
        COMMAND gzip -9nf ${plain}
        DEPENDS ${source}
        VERBATIM)
endfunction()

# One manual page per program, the version filled in.
set(TARVIK_MANUAL_PAGES tarvik1 tarvik1-cli tarvik1-panel-emulator)
set(manual_outputs)
foreach(page ${TARVIK_MANUAL_PAGES})
    configure_file(${PROJECT_SOURCE_DIR}/man/${page}.1.in ${CMAKE_BINARY_DIR}/package/man/${page}.1 @ONLY)
    tarvik_gzip(${CMAKE_BINARY_DIR}/package/man/${page}.1 ${CMAKE_BINARY_DIR}/package/${page}.1.gz)
    list(APPEND manual_outputs ${CMAKE_BINARY_DIR}/package/${page}.1.gz)
endforeach()
# A native package's changelog is changelog.gz.
tarvik_gzip(${PROJECT_SOURCE_DIR}/debian/changelog ${CMAKE_BINARY_DIR}/package/changelog.gz)
add_custom_target(tarvik_package_docs ALL DEPENDS ${manual_outputs} ${CMAKE_BINARY_DIR}/package/changelog.gz)

install(FILES ${manual_outputs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/debian/copyright ${CMAKE_BINARY_DIR}/package/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/tarvik1)

# A stripped install (CPack's) drops what Debian's dh_strip drops besides
# the symbols: the compiler's .comment notes. Runs after the programs are in
# place (install rules run in the order they are declared).
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        foreach(program tarvik1 tarvik1-cli tarvik1-panel-emulator)
            execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\"
                COMMAND_ERROR_IS_FATAL ANY)
        endforeach()
    endif()
")

set(TARVIK_PACKAGE_MAINTAINER "Velmor Tarvik-1 team <tarvik1@velmor.example>"
    CACHE STRING "The Maintainer line of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvik1)
set(CPACK_PACKAGE_VENDOR Velmor)
# The full four-part version; CPack would otherwise keep only three parts.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TARVIK_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TARVIK_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "configuration tool for the Tarvik-1 GSM/GPRS alarm panel
Reads, edits, writes and resets the panel's settings page by page over the
programming cable or through a GSM modem, keeps whole configurations in
files, reads and exports the panel's event journal, updates its firmware
and logs every line exchanged with the panel.
.
Программа настройки охранной GSM/GPRS-панели Tarvik-1.
.
Contents: tarvik1 (the window), tarvik1-cli (the command line for scripts)
and tarvik1-panel-emulator (a simulated panel on a pseudo-terminal).")
# The libraries the programs link come from dpkg-shlibdeps; the standard
# dialogs' Russian texts are a separate package the programs can do without.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The archive's SQLite driver is a Qt plugin and libxlsxwriter is loaded when
# the first workbook is written, both at run time: no library the programs
# link names them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libxlsxwriter4")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)

include(CPack)

# The user's guide, opened by the window's F1 and Справка menu.
install(FILES ${PROJECT_SOURCE_DIR}/docs/guide.ru.md DESTINATION ${CMAKE_INSTALL_DATADIR}/tarvik1/guide)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/images DESTINATION ${CMAKE_INSTALL_DATADIR}/tarvik1/guide
        FILES_MATCHING PATTERN "*.png")
