# Cross-builds Windows x86-64 DLLs and programs with Debian's MinGW-w64
# toolchain (package g++-mingw-w64-x86-64-posix: the posix threads variant,
# whose libstdc++ has std::thread and std::mutex).
#
# Programs built here run under Wine: CMAKE_CROSSCOMPILING_EMULATOR makes
# ctest (and test discovery) start them through it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_qax_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_qax_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_qax_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${_qax_mingw}-windres)

# Libraries and headers come from the toolchain's own root only: nothing of
# the Linux system (serd, GoogleTest's Linux build) may leak into the DLLs.
set(CMAKE_FIND_ROOT_PATH /usr/${_qax_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(QAX_WINE NAMES wine wine64)
if(QAX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QAX_WINE})
endif()
