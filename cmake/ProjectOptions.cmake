# Compiler settings shared by every target of the project, applied through an
# interface target so that each target opts in explicitly.
add_library(qax_project_options INTERFACE)
add_library(qax::project_options ALIAS qax_project_options)

target_compile_options(qax_project_options INTERFACE -Wall -Wextra -Wpedantic)
if(QAX_WARNINGS_AS_ERRORS)
  target_compile_options(qax_project_options INTERFACE -Werror)
endif()

if(QAX_SANITIZE)
  set(_qax_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_compile_options(qax_project_options INTERFACE ${_qax_san})
  # Bounds-checked standard containers: an index past the end aborts even
  # where it stays inside the container's own allocation.
  target_compile_definitions(qax_project_options INTERFACE _GLIBCXX_ASSERTIONS)
  target_link_options(qax_project_options INTERFACE ${_qax_san})
endif()

# Coverage for libFuzzer in every target; the fuzz programs add the fuzzer's
# own main (fuzz/CMakeLists.txt).
if(QAX_FUZZ)
  target_compile_options(qax_project_options INTERFACE -fsanitize=fuzzer-no-link)
  target_link_options(qax_project_options INTERFACE -fsanitize=fuzzer-no-link)
endif()

# qax_shared_library(TARGET): what every shared library of the project
# shares. On ELF, a library's calls to functions that it defines itself
# (the standard templates it instantiates included) bind to its own
# definitions: otherwise a library loaded with a module binds them to the
# module's copies, and the loader then keeps the module loaded for as long
# as the library is, whatever its host closes.
function(qax_shared_library target)
  if(NOT WIN32 AND NOT APPLE)
    target_link_options(${target} PRIVATE -Wl,-Bsymbolic-functions)
  endif()
  qax_windows_library_names(${target})
endfunction()

# qax_windows_library_names(TARGET): on Windows, the DLL and its import
# library carry the engine's names, "NAME.dll" and "NAME.lib", without the
# "lib" prefix that MinGW gives by default.
function(qax_windows_library_names target)
  if(WIN32)
    set_target_properties(${target} PROPERTIES PREFIX "" IMPORT_PREFIX "" IMPORT_SUFFIX ".lib")
  endif()
endfunction()

# A MinGW build links the GCC runtime as DLLs, one copy shared by every DLL
# and program of the process (C++ objects and exceptions cross between
# them); they are put beside the binaries so that Windows, and Wine, find
# them the way an installation does.
if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  foreach(_qax_dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${_qax_dll}
                    OUTPUT_VARIABLE _qax_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT EXISTS "${_qax_path}")
      message(FATAL_ERROR "the MinGW runtime ${_qax_dll} is not where ${CMAKE_CXX_COMPILER} says")
    endif()
    file(COPY "${_qax_path}" DESTINATION "${CMAKE_BINARY_DIR}/bin")
  endforeach()
endif()
