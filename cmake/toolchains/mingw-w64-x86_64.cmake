# Cross build of the 64-bit Windows deliverable (vorn64.dll) with Debian's
# mingw-w64:
#   cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake ...
set(VORN_MINGW_TRIPLE x86_64-w64-mingw32)
set(VORN_MINGW_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
