# Packages: `cpack -G DEB` on Debian; on Windows the target `installer` (windows-deploy.cmake).
# Both take the project's version, so the package, the About window and the version record
# agree.

# The names and texts of the version record live with it in src/app.
foreach(text KIVREL_COMPANY_NAME KIVREL_PRODUCT_NAME KIVREL_COMMENTS)
  get_directory_property(${text} DIRECTORY ${PROJECT_SOURCE_DIR}/src/app DEFINITION ${text})
endforeach()

set(CPACK_PACKAGE_NAME ${KIVREL_PRODUCT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR ${KIVREL_COMPANY_NAME})
set(CPACK_PACKAGE_CONTACT "${KIVREL_COMPANY_NAME} <paket@kivrel.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL ${KIVREL_WEB_ADDRESS})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "prepare a sports club's entry for a martial-arts tournament")
set(CPACK_PACKAGE_DESCRIPTION
    "Kivrel is a German-language desktop program with which a club's official
types the event, the club, the sending person and the participants of one
tournament entry. It writes one entry file per age group for the organiser's
tournament program, hands a mail with those files to the user's mail client
and prints the entry list.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY ${KIVREL_PRODUCT_NAME})
set(CPACK_PACKAGE_EXECUTABLES kivrel ${KIVREL_PRODUCT_NAME})
set(CPACK_STRIP_FILES ON)
# Runs on the staged files before CPack packs them; see the script.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/packaging-stage.cmake)

if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/windows-deploy.cmake)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION misc)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # What the program needs at run time that no library link shows: the German texts of
  # Qt's dialogs, a sans-serif font, and xdg-email and xdg-open for mail and web link.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-liberation, xdg-utils")
  # dbus-send asks the file manager to show the entry files selected; without it the folder
  # opens alone.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "dbus-bin")

  # The staging script adds these to the package's documentation folder.
  set(CPACK_KIVREL_DEBIAN_DOCS ${CMAKE_BINARY_DIR}/packaging)
  string(TIMESTAMP KIVREL_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
  configure_file(${PROJECT_SOURCE_DIR}/resources/debian/changelog.in
                 ${CPACK_KIVREL_DEBIAN_DOCS}/changelog @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/resources/debian/copyright.in
                 ${CPACK_KIVREL_DEBIAN_DOCS}/copyright @ONLY)
  include(CPack)
endif()
