# The Windows program folder: kivrel.exe beside the Qt libraries and plugins it loads, the
# compiler's run-time libraries, Qt's German texts and a qt.conf that names the folder as
# Qt's home. `cmake --install` puts it together; the target `installer` packs it with NSIS
# (makensis) into Kivrel-VERSION-setup.exe in the build folder.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets PrintSupport)

install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
              $<TARGET_FILE:Qt6::PrintSupport> DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
install(FILES ${PROJECT_SOURCE_DIR}/resources/windows/qt.conf DESTINATION .)

# Qt's own dialogs in German. A Qt built without its translations (as the cross-built one)
# takes them from the system's Qt: .qm files are the same on every platform.
find_file(KIVREL_QTBASE_DE qtbase_de.qm
          PATHS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS} /usr/share/qt6/translations
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT KIVREL_QTBASE_DE)
  message(FATAL_ERROR "Qt's German translation qtbase_de.qm was not found")
endif()
install(FILES ${KIVREL_QTBASE_DE} DESTINATION translations)

if(MINGW)
  foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
      message(FATAL_ERROR "The compiler's ${dll} was not found")
    endif()
    install(FILES ${path} DESTINATION .)
  endforeach()
elseif(MSVC)
  set(CMAKE_INSTALL_SYSTEM_RUNTIME_DESTINATION .)
  include(InstallRequiredSystemLibraries)
endif()

find_program(KIVREL_MAKENSIS makensis)
if(KIVREL_MAKENSIS)
  foreach(text KIVREL_LEGAL_COPYRIGHT)
    get_directory_property(${text} DIRECTORY ${PROJECT_SOURCE_DIR}/src/app DEFINITION ${text})
  endforeach()
  set(KIVREL_RESOURCES_DIR ${PROJECT_SOURCE_DIR}/resources)
  set(KIVREL_INSTALLER_DIR ${CMAKE_BINARY_DIR}/installer)
  set(KIVREL_INSTALLER_FILE ${CMAKE_BINARY_DIR}/Kivrel-${PROJECT_VERSION}-setup.exe)
  configure_file(${KIVREL_RESOURCES_DIR}/windows/kivrel.nsi.in ${KIVREL_INSTALLER_DIR}/kivrel.nsi
                 @ONLY)
  set(stage ${KIVREL_INSTALLER_DIR}/stage)
  add_custom_target(
    installer
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
    COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${stage} --strip
    COMMAND ${CMAKE_COMMAND} -DSTAGE=${stage} -DOUT=${KIVREL_INSTALLER_DIR} -DSTRIP=${CMAKE_STRIP}
            -P ${CMAKE_CURRENT_LIST_DIR}/windows-installer-files.cmake
    COMMAND ${KIVREL_MAKENSIS} -V2 -INPUTCHARSET UTF8 ${KIVREL_INSTALLER_DIR}/kivrel.nsi
    DEPENDS kivrel
    COMMENT "Packing Kivrel-${PROJECT_VERSION}-setup.exe"
    VERBATIM)
endif()
