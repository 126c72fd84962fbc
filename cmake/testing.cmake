# vorn_add_test(<name> SOURCES ... USES <folder>... [LIBS ...] [LABELS ...])
#   A GoogleTest program registered with CTest, one CTest entry per test case;
#   USES names the source folders it may include (cmake/layers.cmake).
# vorn_add_fuzzer(<name> SOURCES ... USES <folder>... [LIBS ...])
#   A libFuzzer target, built only in the fuzzing configuration. The smoke run
#   (scripts/fuzz-smoke.sh) runs every fuzz_<x> it finds, seeded by seed_<x>
#   when that program exists: seed_<x> <dir> writes a corpus made by our own
#   writers into <dir>.
include(GoogleTest)
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

function(vorn_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS;USES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  vorn_warnings(${name})
  vorn_layer(${name} USES ${ARG_USES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  if(ARG_LABELS)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 PROPERTIES LABELS "${ARG_LABELS}")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120)
  endif()
endfunction()

function(vorn_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;USES" ${ARGN})
  if(NOT VORN_FUZZ)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  vorn_layer(${name} USES ${ARG_USES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()
