# qax_debian_copyright(<license file> <output file>)
#
# Writes the Debian package's copyright file, in Debian's machine-readable
# format (copyright-format 1.0), from the repository's license: its
# "Copyright (c) YEARS HOLDER" line gives the Copyright field, the text after
# that line the license's text. The license must be the MIT ("Expat" in
# Debian's names) license: another one stops the configuration rather than
# ship a file that names the wrong license.
function(qax_debian_copyright license output)
  # Split into lines, blank ones kept; a ';' would part list items, so it
  # is held as a byte that no text holds until the file is written.
  string(ASCII 31 _semicolon)
  file(READ "${license}" _content)
  string(REPLACE ";" "${_semicolon}" _content "${_content}")
  string(REGEX REPLACE "\n$" "" _content "${_content}")
  string(REPLACE "\n" ";" _lines "${_content}")
  list(GET _lines 0 _title)
  if(NOT _title STREQUAL "MIT License")
    message(FATAL_ERROR "${license} starts with '${_title}', not 'MIT License': "
                        "cmake/DebianCopyright.cmake names the license Expat")
  endif()
  set(_holder "")
  set(_text "")
  foreach(_line IN LISTS _lines)
    if(_holder STREQUAL "")
      if(_line MATCHES "^Copyright \\(c\\) (.+)$")
        set(_holder "${CMAKE_MATCH_1}")
      endif()
    elseif(_line STREQUAL "")
      # Paragraphs of a field's text are parted by a line holding " .";
      # blank lines before the text are not part of it.
      if(NOT _text STREQUAL "")
        string(APPEND _text " .\n")
      endif()
    else()
      string(APPEND _text " ${_line}\n")
    endif()
  endforeach()
  if(_holder STREQUAL "" OR _text STREQUAL "")
    message(FATAL_ERROR "${license} has no 'Copyright (c) ...' line followed by the license's text")
  endif()
  string(REPLACE "${_semicolon}" ";" _text "${_text}")
  file(WRITE "${output}"
       "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
       "Upstream-Name: ${PROJECT_NAME}\n"
       "Upstream-Contact: ${CPACK_PACKAGE_CONTACT}\n"
       "\n"
       "Files: *\n"
       "Copyright: ${_holder}\n"
       "License: Expat\n"
       "\n"
       "License: Expat\n"
       "${_text}")
endfunction()
