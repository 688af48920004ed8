# Release archives of what cmake/Install.cmake installs, made with CPack in
# a build folder:
#
#   cpack -G DEB   qaxontologyitem_VERSION_ARCH.deb, installed under /usr,
#                  with /usr/share/doc/qaxontologyitem/copyright and the
#                  manual page compressed
#   cpack -G TGZ   qaxontologyitem-VERSION-Linux.tar.gz
#   cpack -G ZIP   (windows preset) the DLLs, their import libraries, the GCC
#                  runtime DLLs and the headers
set(CPACK_PACKAGE_NAME qaxontologyitem)
set(CPACK_PACKAGE_VENDOR "The QAXOntologyItem authors")
set(CPACK_PACKAGE_CONTACT "The QAXOntologyItem authors <qaxontologyitem@example.org>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Ontology item channel module, its engine SDK and ontology service stand-ins, and qax-host")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_RESOURCE_FILE_README "${PROJECT_SOURCE_DIR}/README.md")
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/build/" "/\\\\.git/" "/\\\\.cache/")

# What CPack adds or changes in the staged files before making a package
# (cmake/PackageFinish.cmake): the Debian package's copyright file and
# compressed manual pages, an archive's relocatable pkg-config file.
include(cmake/DebianCopyright.cmake)
qax_debian_copyright("${PROJECT_SOURCE_DIR}/LICENSE" "${PROJECT_BINARY_DIR}/debian/copyright")
set(CPACK_QAX_COPYRIGHT "${PROJECT_BINARY_DIR}/debian/copyright")
set(CPACK_QAX_MANDIR "${CMAKE_INSTALL_MANDIR}")
set(CPACK_QAX_PC_FILE "${CMAKE_INSTALL_LIBDIR}/pkgconfig/qaxontologyitem.pc")
set(CPACK_PRE_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/cmake/PackageFinish.cmake")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "graphviz")
# The run-time dependencies (serd, raptor, libcurl, the C++ runtime) come from the
# binaries themselves when dpkg-shlibdeps is at hand; the package's own
# libraries are found where they are staged, in their private folder.
find_program(QAX_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(QAX_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
      "${CMAKE_BINARY_DIR}/_CPack_Packages/Linux/DEB/${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-Linux/usr/${QAX_INSTALL_PRIVATE_LIBDIR}")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libc6, libstdc++6, libgcc-s1, libserd-0-0, libraptor2-0, libpcre2-8-0, libcurl3-gnutls")
endif()

include(CPack)
