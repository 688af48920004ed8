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
