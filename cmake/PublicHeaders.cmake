# qax_public_headers(OUT ROOT...): the headers an integrator's code reaches
# from the ROOT headers (paths relative to the project root), the roots
# included: every `#include "..."` of a reached header is reached in turn.
# Only quoted includes count; system headers are the compiler's business.
# Generated export headers count as project files (cmake/ExportHeader.cmake). A
# quoted include that names no file of the project is an error, so that an
# installed header never names one that is not installed.
#
# The walk visits each header once, so it ends after at most as many steps
# as the project has headers (QAX_MAX_PUBLIC_HEADERS, a guard against a
# runaway list; docs/limits.md).
set(QAX_MAX_PUBLIC_HEADERS 500)

function(qax_public_headers out)
  set(reached ${ARGN})
  set(pending ${ARGN})
  list(LENGTH pending count)
  while(count GREATER 0)
    list(POP_FRONT pending header)
    qax_header_file(file "${header}")
    if(file STREQUAL "")
      message(FATAL_ERROR "public header ${header} does not exist")
    endif()
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" included "${line}")
      qax_header_file(included_file "${included}")
      if(included_file STREQUAL "")
        message(FATAL_ERROR "${header} includes \"${included}\", which is no project file")
      endif()
      if(NOT included IN_LIST reached)
        list(APPEND reached "${included}")
        list(APPEND pending "${included}")
      endif()
    endforeach()
    list(LENGTH reached total)
    if(total GREATER QAX_MAX_PUBLIC_HEADERS)
      message(FATAL_ERROR "public headers reach more than ${QAX_MAX_PUBLIC_HEADERS} headers")
    endif()
    list(LENGTH pending count)
  endwhile()
  list(SORT reached)
  set(${out} ${reached} PARENT_SCOPE)
endfunction()
