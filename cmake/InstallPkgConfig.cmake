# Run by `cmake --install` (and by CPack, which installs the same way):
# writes the pkg-config file with the prefix being installed to, and
# installs it to QAX_PC_DESTINATION under that prefix.
#
#   QAX_PC_TEMPLATE     the file configured by cmake/Install.cmake, whose
#                       only placeholder left is @QAX_PC_PREFIX@
#   QAX_PC_DESTINATION  its folder relative to the prefix (lib/pkgconfig)
#
# The prefix is made absolute and plain (no "." or "..", no trailing "/"),
# so that the paths pkg-config gives, and the run path it puts into the
# programs linked with them, are the folders themselves. A prefix of "/"
# gives "" (${prefix}/lib is /lib). DESTDIR is not part of it: a package
# staged under DESTDIR is installed to the prefix itself.
cmake_path(ABSOLUTE_PATH CMAKE_INSTALL_PREFIX NORMALIZE OUTPUT_VARIABLE QAX_PC_PREFIX)
string(REGEX REPLACE "/+$" "" QAX_PC_PREFIX "${QAX_PC_PREFIX}")
# Written beside the template, in the build folder, then installed from there
# so that the install's manifest lists it.
string(REGEX REPLACE "\\.in$" "" _qax_pc_file "${QAX_PC_TEMPLATE}")
configure_file("${QAX_PC_TEMPLATE}" "${_qax_pc_file}" @ONLY)
file(INSTALL "${_qax_pc_file}" DESTINATION "${CMAKE_INSTALL_PREFIX}/${QAX_PC_DESTINATION}")
