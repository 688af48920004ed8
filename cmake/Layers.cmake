# The layers of the project and the include roots that enforce them.
#
# Every header is included by its path from the repository's root
# ("host/sdk/HighPoly.h", "module/Diagnostics.h"), so putting the root on a
# target's include path would let it include any folder, a layer above its
# own included. Instead each library gets an include root of its own: a
# folder in the build tree that holds symbolic links to the source folders
# that library may include and to nothing else. Whatever a library includes
# from a folder that is not linked there does not build ("No such file or
# directory"), whichever file of the library includes it. A library's root
# holds its own folders; the roots of the libraries it links come with them
# as usage requirements, so a layer sees the layers below it and none above.
#
# The folders, bottom up (each may include the ones before it, nothing else):
#   host/files    reading and writing files             qax_files
#   host/sdk      the engine's SDK                       HighPoly
#   host/qax/model  the ontology service's model         qax_model   } QAX
#   host/qax/rdf    RDF read into models, item writers   qax_rdf     }
#   host/qax/shacl  validation                           qax_shacl   }
#   module        export macro, diagnostics, type GUID   qax_module_base
#   channel_extension                                     qax_channel_extension
#   multimode                                             qax_multimode
#   ontology_item                                         qax_ontology_item
#   entry         the entry points and static state      QAXOntologyItem
# host/sdk uses host/files privately; the service's model does not use it,
# its RDF layer reads files with it and hands its file source on to
# validation. host/sdk and host/qax never use each other. The links are made at configure time, so a new folder needs a new
# configure; the links point into the sources, so edits need none.

set(QAX_LAYER_ROOTS "${CMAKE_BINARY_DIR}/include-roots")

# qax_include_root(TARGET SCOPE FOLDER...): gives TARGET an include root with
# a link to each FOLDER (a path relative to the repository root), in SCOPE
# (PUBLIC, PRIVATE or INTERFACE). A root of that name made before is made
# again from nothing, so that a folder taken out of the list goes.
function(qax_include_root target scope)
  set(root "${QAX_LAYER_ROOTS}/${target}")
  file(REMOVE_RECURSE "${root}")
  foreach(folder IN LISTS ARGN)
    if(NOT IS_DIRECTORY "${PROJECT_SOURCE_DIR}/${folder}")
      message(FATAL_ERROR "qax_include_root: ${folder} is no folder of the project")
    endif()
    get_filename_component(parent "${root}/${folder}" DIRECTORY)
    file(MAKE_DIRECTORY "${parent}")
    file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${folder}" "${root}/${folder}" SYMBOLIC)
  endforeach()
  target_include_directories(${target} ${scope} $<BUILD_INTERFACE:${root}>)
endfunction()

# qax_layer_headers(TARGET FOLDER): compiles every header of FOLDER (not of
# its subfolders) with what TARGET gives its users and nothing more, in one
# object library of the default build. A header that includes a folder above
# its layer is refused there too, even where no source file of its own layer
# includes it (a header-only layer's, or one that only the layers above
# include, where their include roots would otherwise let it pass).
function(qax_layer_headers target folder)
  file(GLOB headers RELATIVE "${PROJECT_SOURCE_DIR}" CONFIGURE_DEPENDS
       "${PROJECT_SOURCE_DIR}/${folder}/*.h")
  list(SORT headers)
  set(content "// Every header of ${folder}, with the include roots of ${target} alone.\n")
  foreach(header IN LISTS headers)
    string(APPEND content "#include \"${header}\"\n")
  endforeach()
  set(source "${CMAKE_BINARY_DIR}/layer-headers/${target}.cpp")
  file(CONFIGURE OUTPUT "${source}" CONTENT "${content}")
  add_library(${target}_headers OBJECT "${source}")
  target_link_libraries(${target}_headers PRIVATE ${target} qax::project_options)
endfunction()

# qax_host_library(TARGET FOLDER HEADER MACRO BUILDING): the shared library
# TARGET (qax::TARGET) of the host folder FOLDER, which includes FOLDER and
# privately host/files; its export header FOLDER/HEADER defines MACRO
# (cmake/ExportHeader.cmake).
function(qax_host_library target folder header macro building)
  add_library(qax::${target} ALIAS ${target})
  qax_include_root(${target} PUBLIC ${folder})
  target_compile_features(${target} PUBLIC cxx_std_17)
  qax_export_header(${target} ${folder}/${header} ${macro} ${building})
  target_link_libraries(${target} PRIVATE qax::project_options qax::files)
  qax_shared_library(${target})
  qax_layer_headers(${target} ${folder})
endfunction()

# qax_object_layer(TARGET FOLDER BUILDING [SOURCES...] [LINKS TARGET...]
#                  [PRIVATE TARGET...]): one layer of a shared library, an
# object library whose objects go into that library and so are built as the
# library's own: position independent, hidden unless exported, with the
# library's export macro in its exporting form (BUILDING defined). LINKS are
# the layers and libraries its headers use, with their include roots;
# PRIVATE what only its sources use. A layer without sources is an interface
# library: its headers and what they use.
function(qax_object_layer target folder building)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS;PRIVATE" ${ARGN})
  if(ARG_SOURCES)
    add_library(${target} OBJECT ${ARG_SOURCES})
    target_compile_definitions(${target} PRIVATE ${building})
    target_link_libraries(${target} PUBLIC ${ARG_LINKS} PRIVATE qax::project_options ${ARG_PRIVATE})
    qax_include_root(${target} PUBLIC ${folder})
  else()
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE ${ARG_LINKS})
    qax_include_root(${target} INTERFACE ${folder})
  endif()
  target_compile_features(${target} INTERFACE cxx_std_17)
  qax_layer_headers(${target} ${folder})
endfunction()

# qax_module_layer(TARGET FOLDER [SOURCES...] [LINKS TARGET...]): one layer
# of the channel module, whose objects go into the one shared module
# (QAXOntologyItem), with the module's export macro (QAXOI_BUILDING).
function(qax_module_layer target folder)
  qax_object_layer(${target} ${folder} QAXOI_BUILDING ${ARGN})
endfunction()
