# One switch decides which platform files a target compiles: VORN_PLATFORM is
# "win32" for the mingw cross builds and "linux" otherwise.
if(WIN32)
  set(VORN_PLATFORM win32)
  # Both Windows deliverables compute with SSE2 so they produce the same numbers.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    add_compile_options(-msse2 -mfpmath=sse)
  endif()
  add_link_options(-static-libgcc -static-libstdc++ -static)
else()
  set(VORN_PLATFORM linux)
endif()
