# Cross-build for 64-bit Windows with Debian's MinGW-w64 (the POSIX thread
# model, which std::thread and the C++20 library need). The programs are
# linked statically, so they run without any DLL of the compiler beside
# them; tests and tools run under Wine (the emulator below).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VELO_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VELO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Debian's wine64 package keeps its loader out of PATH.
find_program(VELO_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(VELO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VELO_WINE})
endif()
