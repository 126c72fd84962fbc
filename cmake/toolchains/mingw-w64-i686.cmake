# Cross build of the 32-bit Windows deliverable (vorn.dll) with Debian's
# mingw-w64:
#   cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-i686.cmake ...
# cmake/platform.cmake makes this build compute with SSE2 rather than x87.
set(VORN_MINGW_TRIPLE i686-w64-mingw32)
set(VORN_MINGW_PROCESSOR X86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
