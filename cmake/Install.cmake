# What `cmake --install` puts under the prefix, for integrators who build
# host and editor code against the module:
#
#   bin/qax-host                          the command-line host (not on Windows)
#   lib/QAXOntologyItem/QAXOntologyItem.so, libHighPoly.so, libQAX.so
#                                         in a folder of their own: the
#                                         libraries' names are generic and
#                                         unversioned (cmake/InstallLayout.cmake)
#                                         (Windows: bin/*.dll, lib/*.lib)
#   include/QAXOntologyItem/host/sdk/..., host/qax/{model,rdf,shacl,store}/..., module/...,
#           channel_extension/..., multimode/..., ontology_item/...
#                                         the headers the public ones reach, at
#                                         their paths in the repository, in a
#                                         folder of their own so that an
#                                         install under /usr claims no
#                                         folder names like "module"
#   lib/cmake/QAXOntologyItem/            the CMake package
#   lib/pkgconfig/qaxontologyitem.pc      the pkg-config file
#   share/man/man1/qax-host.1             qax-host's manual page (with help2man)
#   share/doc/QAXOntologyItem/            README, LICENSE, docs, examples/host
#
# The install can be moved as a whole: the programs and libraries find each
# other through $ORIGIN-relative run paths, the CMake package locates the
# prefix from its own folder. The pkg-config file names the prefix it was
# installed to; `pkg-config --define-prefix` takes it from the file's folder
# instead, for a moved install.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)
include(cmake/PublicHeaders.cmake)

set(QAX_PACKAGE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/${PROJECT_NAME}")
set(QAX_INCLUDE_DIR "${CMAKE_INSTALL_INCLUDEDIR}/${PROJECT_NAME}")

# The headers an integrator includes; everything they reach is installed
# with them, nothing else (the file helpers, the RDF reader's internals and
# the module's private headers stay in the repository).
# The RDF layer and validation are built with RDF support only.
set(_qax_rdf_headers)
if(QAX_WITH_RDF)
  set(_qax_rdf_headers host/qax/rdf/Rdf.h host/qax/shacl/Validator.h host/qax/shacl/DerivedShapes.h)
endif()
# The store client, where the build has it (not on Windows).
if(QAX_WITH_STORE)
  list(APPEND _qax_rdf_headers host/qax/store/StoreClient.h host/qax/store/VersionedPublish.h)
endif()
qax_public_headers(_qax_headers
  ${_qax_rdf_headers}
  host/sdk/HighPoly.h
  host/sdk/ModuleLoader.h
  host/sdk/ChannelTypeRegistry.h
  host/sdk/GroupFile.h
  host/qax/model/QAX.h
  module/Module.h
  ontology_item/Aco_QAXOntologyItem.h
  # The editor's sequence for choosing a channel's class, which no header of
  # the module includes.
  ontology_item/ClassSelection.h
  # For a host's own multi-mode channel classes: the template's definitions.
  multimode/MultiModeChannelDefinitions.h
)
foreach(_qax_header IN LISTS _qax_headers)
  get_filename_component(_qax_header_dir "${_qax_header}" DIRECTORY)
  qax_header_file(_qax_header_file "${_qax_header}")
  install(FILES "${_qax_header_file}" DESTINATION "${QAX_INCLUDE_DIR}/${_qax_header_dir}")
endforeach()

# The headers use C++17 (std::string_view among others): each library asks
# for cxx_std_17 as a usage requirement, so code that includes them is
# compiled as C++17 at least, whatever its own default.

# The libraries find each other beside themselves; qax-host finds them from
# its own folder.
set_target_properties(HighPoly QAX QAXOntologyItem PROPERTIES INSTALL_RPATH "$ORIGIN")
set_target_properties(QAXOntologyItem PROPERTIES EXPORT_NAME module)

install(TARGETS HighPoly QAX QAXOntologyItem
  EXPORT QAXOntologyItemTargets
  LIBRARY DESTINATION "${QAX_INSTALL_PRIVATE_LIBDIR}"
  ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}"
  RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}"
  INCLUDES DESTINATION "${QAX_INCLUDE_DIR}")
if(TARGET qax-host)
  set_target_properties(qax-host PROPERTIES INSTALL_RPATH "$ORIGIN/${QAX_BIN_TO_PRIVATE_LIBDIR}")
  install(TARGETS qax-host RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
endif()
if(TARGET qax-host-man)
  get_target_property(_qax_man_page qax-host-man QAX_MAN_PAGE)
  install(FILES "${_qax_man_page}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endif()
# A MinGW build's DLLs need the GCC runtime DLLs beside them.
if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  install(FILES "${CMAKE_BINARY_DIR}/bin/libstdc++-6.dll" "${CMAKE_BINARY_DIR}/bin/libgcc_s_seh-1.dll"
                "${CMAKE_BINARY_DIR}/bin/libwinpthread-1.dll"
          DESTINATION "${CMAKE_INSTALL_BINDIR}")
endif()

install(EXPORT QAXOntologyItemTargets
  NAMESPACE QAXOntologyItem::
  DESTINATION "${QAX_PACKAGE_DIR}")
configure_package_config_file(cmake/QAXOntologyItemConfig.cmake.in
  "${PROJECT_BINARY_DIR}/QAXOntologyItemConfig.cmake"
  INSTALL_DESTINATION "${QAX_PACKAGE_DIR}")
# The exported classes' layout may change with any minor version while the
# major version is 0: only the same major and minor version is compatible.
write_basic_package_version_file("${PROJECT_BINARY_DIR}/QAXOntologyItemConfigVersion.cmake"
  COMPATIBILITY SameMinorVersion)
install(FILES "${PROJECT_BINARY_DIR}/QAXOntologyItemConfig.cmake"
              "${PROJECT_BINARY_DIR}/QAXOntologyItemConfigVersion.cmake"
        DESTINATION "${QAX_PACKAGE_DIR}")

# pkg-config: the file is made when it is installed, with the prefix it is
# installed to (cmake/InstallPkgConfig.cmake): every path it gives is then
# a plain absolute one, and a program linked with its flags runs as it is.
# The module's file is in the private library folder with the libraries,
# which the flags' run path names; on Windows the DLL is in bin/ and
# programs link its import library, QAXOntologyItem.lib, from lib/ by name.
# pkglibdir is the folder that holds the libraries to load (bin/ on Windows).
if(WIN32)
  set(QAX_PC_PKGLIBDIR "${CMAKE_INSTALL_BINDIR}")
  set(QAX_PC_LIBS "-L\${libdir} -lQAXOntologyItem -lQAX -lHighPoly")
else()
  set(QAX_PC_PKGLIBDIR "${QAX_INSTALL_PRIVATE_LIBDIR}")
  set(QAX_PC_LIBS "-L\${pkglibdir} -Wl,-rpath,\${pkglibdir} \${module} -lQAX -lHighPoly")
endif()
# The prefix stays a placeholder until the install fills it in.
set(QAX_PC_PREFIX "@QAX_PC_PREFIX@")
configure_file(cmake/qaxontologyitem.pc.in "${PROJECT_BINARY_DIR}/pkgconfig/qaxontologyitem.pc.in"
               @ONLY)
install(CODE "set(QAX_PC_TEMPLATE \"${PROJECT_BINARY_DIR}/pkgconfig/qaxontologyitem.pc.in\")
set(QAX_PC_DESTINATION \"${CMAKE_INSTALL_LIBDIR}/pkgconfig\")")
install(SCRIPT cmake/InstallPkgConfig.cmake)

# What `cmake --build BUILD --target installable` builds: everything that is
# installed and nothing else (not the tests, not the benchmarks). Installing
# and packaging take what is built; they do not build everything first.
add_custom_target(installable)
add_dependencies(installable HighPoly QAX QAXOntologyItem)
if(TARGET qax-host)
  add_dependencies(installable qax-host)
endif()
if(TARGET qax-host-man)
  add_dependencies(installable qax-host-man)
endif()
if(NOT DEFINED CMAKE_SKIP_INSTALL_ALL_DEPENDENCY)
  set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
endif()

install(FILES README.md LICENSE DESTINATION "${CMAKE_INSTALL_DOCDIR}")
install(DIRECTORY docs/ DESTINATION "${CMAKE_INSTALL_DOCDIR}/docs")
install(DIRECTORY examples/host DESTINATION "${CMAKE_INSTALL_DOCDIR}/examples")
