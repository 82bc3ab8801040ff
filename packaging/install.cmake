# Installing Tarvex: the program folder complete under CMAKE_INSTALL_PREFIX (/opt/tarvex unless
# given), and what the desktop needs to find it under TARVEX_DESKTOP_DIR (/usr/share): the menu
# entry, the icon in every size, the AppStream description, the package's documents.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX /opt/tarvex CACHE PATH "The program folder" FORCE)
endif()
set(TARVEX_DESKTOP_DIR /usr/share CACHE PATH "Where the menu entry, icons and AppStream data go")
set(TARVEX_SCREENSHOT_URL "https://www.tarvex.invalid/screenshots" CACHE STRING
  "Where the screenshots named in the AppStream data are published")

install(TARGETS Tarvex RUNTIME DESTINATION .)
install(FILES "${TARVEX_HELP_FILE}" DESTINATION Help)
install(FILES resources/History.rtf "resources/Release Notes.rtf" DESTINATION .)
install(DIRECTORY DESTINATION Graphics)

set(TARVEX_INSTALLED_PROGRAM "${CMAKE_INSTALL_PREFIX}/Tarvex")
set(TARVEX_SCREENSHOTS "${TARVEX_SCREENSHOT_URL}")
configure_file(packaging/tarvex.desktop.in ${CMAKE_BINARY_DIR}/packaging/tarvex.desktop @ONLY)
configure_file(packaging/tarvex.metainfo.xml.in ${CMAKE_BINARY_DIR}/packaging/invalid.tarvex.Tarvex.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/tarvex.desktop DESTINATION ${TARVEX_DESKTOP_DIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/packaging/invalid.tarvex.Tarvex.metainfo.xml DESTINATION ${TARVEX_DESKTOP_DIR}/metainfo)
foreach(size 16 32 48 64 128 256)
  install(FILES resources/icons/hicolor/${size}x${size}/tarvex.png
    DESTINATION ${TARVEX_DESKTOP_DIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES resources/icons/tarvex.svg DESTINATION ${TARVEX_DESKTOP_DIR}/icons/hicolor/scalable/apps)

# The package's own documents, as Debian keeps them: the changelog compressed to the full.
find_program(GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  COMMAND ${GZIP} -9 -n -c ${CMAKE_SOURCE_DIR}/packaging/changelog > ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog
  VERBATIM)
add_custom_target(tarvex_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION ${TARVEX_DESKTOP_DIR}/doc/tarvex)
install(FILES packaging/lintian-overrides DESTINATION ${TARVEX_DESKTOP_DIR}/lintian/overrides RENAME tarvex)

# The Debian package: tarvex_<version>_<arch>.deb, its library dependencies computed, and the
# fonts it draws with.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_PACKAGE_CONTACT "Tarvex <support@tarvex.invalid>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tarvex <support@tarvex.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "return on investment calculator for radio advertising")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tarvex works out what a radio advertising schedule must bring back to a
client: the net and gross return, the sales and listener responses needed,
and the share of each station's weekly audience that must respond. It prints
a one-page analysis for the client.")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TARVEX_PRODUCT_PAGE}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, fonts-dejavu-core")
set(CPACK_STRIP_FILES ON)
include(CPack)
