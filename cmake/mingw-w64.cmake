# Cross-building for 64-bit Windows with Debian's MinGW-w64 (the POSIX-threads flavour, whose
# libstdc++ has std::thread and std::mutex):
#   cmake -S <source> -B <build> -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VORLU_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VORLU_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VORLU_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VORLU_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VORLU_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own run-time (libgcc, libstdc++, winpthread) linked in, so an executable runs
# on a bare Windows, or under Wine, without the toolchain's DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Where Wine is at hand, cross-built programs (test discovery, for one) run under it.
find_program(VORLU_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT VORLU_WINE64)
  find_program(VORLU_WINE64 NAMES wine64 wine)
endif()
if(VORLU_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VORLU_WINE64})
endif()
