# Where an installation puts the project's files, relative to its prefix;
# included before the programs, which need to know where an installed copy
# finds the module.
#
#   QAX_INSTALL_PRIVATE_LIBDIR  lib/QAXOntologyItem: the module and the two
#                               libraries it needs. "libQAX.so" and
#                               "libHighPoly.so" are generic, unversioned
#                               names: kept out of the folders that the
#                               linker and the loader search, they clash with
#                               nothing, and whatever uses them finds them
#                               through a run path or the .pc file's flags.
#                               On Windows the DLLs are in bin/ and their
#                               import libraries in lib/ instead.
#   QAX_BIN_TO_PRIVATE_LIBDIR   the same folder seen from bin/, for the run
#                               path of an installed qax-host and its default
#                               module path ("../lib/QAXOntologyItem")
include(GNUInstallDirs)

set(QAX_INSTALL_PRIVATE_LIBDIR "${CMAKE_INSTALL_LIBDIR}/${PROJECT_NAME}")
file(RELATIVE_PATH QAX_BIN_TO_PRIVATE_LIBDIR "/${CMAKE_INSTALL_BINDIR}"
     "/${QAX_INSTALL_PRIVATE_LIBDIR}")
