# Shared part of the mingw-w64 cross toolchains. The including file sets
# VORN_MINGW_TRIPLE and VORN_MINGW_PROCESSOR first.
#
# Debian ships two thread models of each compiler; the POSIX one is used
# because its libstdc++ has std::thread and std::mutex. Its winpthread is
# linked statically with the C++ runtime (cmake/platform.cmake), so the DLLs
# still depend only on system libraries.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${VORN_MINGW_PROCESSOR})

set(CMAKE_C_COMPILER ${VORN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VORN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VORN_MINGW_TRIPLE}-windres)

# Libraries and headers come only from the mingw sysroot and from the prefix
# of cross-built dependencies (libpng), never from the Linux system; build
# tools are still taken from the Linux system.
set(CMAKE_FIND_ROOT_PATH /usr/${VORN_MINGW_TRIPLE})
if(VORN_WIN_DEPS_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH ${VORN_WIN_DEPS_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# try_compile projects see the same search roots.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VORN_WIN_DEPS_PREFIX)

# Programs built here (vorn-render.exe, vorn-hostcheck.exe) run under Wine.
find_program(VORN_WINE wine)
if(VORN_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VORN_WINE})
endif()

# Release is -O2, as the Linux build is: at -O3 GCC 12 warns falsely
# (-Warray-bounds, -Wstringop-overflow) about inlined vector copies, and
# warnings are errors. CMake appends -O3 to any *_INIT value, so the cache
# entries are set here; a -D on the command line still wins.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of Release builds")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of Release builds")
# The plug-in libraries ship without their symbol tables, which would double
# their size.
set(CMAKE_MODULE_LINKER_FLAGS_RELEASE "-s" CACHE STRING "Linker flags of Release plug-in modules")
set(CMAKE_SHARED_LINKER_FLAGS_RELEASE "-s" CACHE STRING "Linker flags of Release libraries")
