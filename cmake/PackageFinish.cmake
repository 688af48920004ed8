# Run by CPack (CPACK_PRE_BUILD_SCRIPTS) after it has installed the files
# into its staging folder and before it makes the package of them:
#
#   DEB       adds /usr/share/doc/<package>/copyright (CPACK_QAX_COPYRIGHT,
#             made by cmake/DebianCopyright.cmake) and compresses the manual
#             pages with gzip -9n, as Debian's policy wants (-n: no name or
#             time stamp, so that the same build gives the same bytes)
#   others    archives, unpacked wherever their user likes: the pkg-config
#             file, which names the staging folder as its prefix, takes it
#             from its own folder instead (${pcfiledir}/../..); the flags it
#             gives are then plain paths with `pkg-config --define-prefix`
#
# Variables from CPack: CPACK_GENERATOR, CPACK_TEMPORARY_INSTALL_DIRECTORY,
# CPACK_PACKAGING_INSTALL_PREFIX, CPACK_PACKAGE_NAME, and the CPACK_QAX_*
# ones that cmake/Packaging.cmake sets.
set(_root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
if(NOT CPACK_PACKAGING_INSTALL_PREFIX STREQUAL "/")
  string(APPEND _root "${CPACK_PACKAGING_INSTALL_PREFIX}")
endif()

if(CPACK_GENERATOR STREQUAL "DEB")
  # file(COPY), not file(INSTALL): DESTDIR, which CPack has set to the
  # staging folder, is already part of _root.
  file(COPY "${CPACK_QAX_COPYRIGHT}" DESTINATION "${_root}/share/doc/${CPACK_PACKAGE_NAME}"
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  file(GLOB_RECURSE _pages "${_root}/${CPACK_QAX_MANDIR}/*")
  list(FILTER _pages EXCLUDE REGEX "\\.gz$")
  foreach(_page IN LISTS _pages)
    execute_process(COMMAND gzip -9nf "${_page}" RESULT_VARIABLE _gzip)
    if(NOT _gzip EQUAL 0)
      message(FATAL_ERROR "gzip -9nf ${_page} failed: ${_gzip}")
    endif()
  endforeach()
else()
  set(_pc "${_root}/${CPACK_QAX_PC_FILE}")
  if(EXISTS "${_pc}")
    get_filename_component(_pc_dir "${CPACK_QAX_PC_FILE}" DIRECTORY)
    file(RELATIVE_PATH _up "/${_pc_dir}" "/")
    string(REGEX REPLACE "/$" "" _up "${_up}")
    file(READ "${_pc}" _content)
    string(REGEX REPLACE "\nprefix=[^\n]*\n" "\nprefix=\${pcfiledir}/${_up}\n" _content "${_content}")
    file(WRITE "${_pc}" "${_content}")
  endif()
endif()
