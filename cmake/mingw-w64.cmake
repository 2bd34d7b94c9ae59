# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix: the
# POSIX threads variant, which std::thread and std::mutex need). Libraries and headers are looked
# up only in the MinGW system root and in the prefixes the build adds to CMAKE_FIND_ROOT_PATH
# (scripts/windows.sh adds its cache of cross-built libraries); programs are the host's.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(IW_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${IW_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${IW_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${IW_MINGW_TRIPLET}-windres)
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${IW_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
