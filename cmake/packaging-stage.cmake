# Run by CPack on the staged files, before it packs them: what a package needs beyond
# `cmake --install`.
set(stage "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")

if(CPACK_GENERATOR STREQUAL "DEB")
  # Debian wants the copyright file and a changelog in the documentation folder, and
  # changelog and manual pages compressed with gzip -9n (no name, no time stamp).
  set(prefix "${stage}${CPACK_PACKAGING_INSTALL_PREFIX}")
  set(docs "${prefix}/share/doc/kivrel")
  file(MAKE_DIRECTORY "${docs}")
  file(COPY "${CPACK_KIVREL_DEBIAN_DOCS}/copyright" "${CPACK_KIVREL_DEBIAN_DOCS}/changelog"
       DESTINATION "${docs}" FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  file(GLOB_RECURSE pages "${prefix}/share/man/*.[1-9]")
  foreach(file "${docs}/changelog" ${pages})
    execute_process(COMMAND gzip -9nf "${file}" COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
endif()
