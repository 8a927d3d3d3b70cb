# Packages made by CPack: `cpack -G DEB` on Debian, `cpack -G NSIS` on Windows. Both take the
# project's version, so the package, the About window and the version record agree.

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
  set(CPACK_GENERATOR NSIS)
  # Installed for the user alone: this comes after the template's "RequestExecutionLevel
  # admin" and overrides it, so the installer uses the user's folders, start menu and
  # uninstaller entry.
  set(CPACK_NSIS_DEFINES "RequestExecutionLevel user")
  set(CPACK_NSIS_PACKAGE_NAME ${KIVREL_PRODUCT_NAME})
  set(CPACK_NSIS_DISPLAY_NAME "${KIVREL_PRODUCT_NAME} ${PROJECT_VERSION}")
  set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/kivrel.ico)
  set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/kivrel.ico)
  set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\\\kivrel.exe")
  set(CPACK_NSIS_URL_INFO_ABOUT ${KIVREL_WEB_ADDRESS})
  # The staging script runs windeployqt on the staged program.
  find_package(Qt6 REQUIRED COMPONENTS Core)
  find_program(KIVREL_WINDEPLOYQT windeployqt HINTS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS})
  set(CPACK_KIVREL_WINDEPLOYQT ${KIVREL_WINDEPLOYQT})
  set(CPACK_KIVREL_QT_TRANSLATIONS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS})
  if(MSVC)
    # The compiler's run-time libraries themselves, not windeployqt's redistributable.
    set(CMAKE_INSTALL_SYSTEM_RUNTIME_DESTINATION bin)
    include(InstallRequiredSystemLibraries)
    set(CPACK_KIVREL_WINDEPLOYQT_OPTIONS --no-compiler-runtime)
  endif()
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION misc)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # What the program needs at run time that no library link shows: the German texts of
  # Qt's dialogs, a sans-serif font, and xdg-email and xdg-open for mail and web link.
  # The SVG icon plugins come with libqt6svg6, which the link already pulls in.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-liberation, xdg-utils")

  # The staging script adds these to the package's documentation folder.
  set(CPACK_KIVREL_DEBIAN_DOCS ${CMAKE_BINARY_DIR}/packaging)
  string(TIMESTAMP KIVREL_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
  configure_file(${PROJECT_SOURCE_DIR}/resources/debian/changelog.in
                 ${CPACK_KIVREL_DEBIAN_DOCS}/changelog @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/resources/debian/copyright
                 ${CPACK_KIVREL_DEBIAN_DOCS}/copyright COPYONLY)
endif()

include(CPack)
