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

# A German locale (decimal comma) generated into the build folder, so that
# tests can check that numbers ignore the host's locale without touching the
# system's locales. Tests that switch to it get VORN_LOCALE_ENVIRONMENT.
find_program(VORN_LOCALEDEF localedef REQUIRED)
set(vorn_locale_dir ${CMAKE_BINARY_DIR}/locales)
add_custom_command(OUTPUT ${vorn_locale_dir}/de_DE.UTF-8/LC_NUMERIC
  COMMAND ${CMAKE_COMMAND} -E make_directory ${vorn_locale_dir}
  COMMAND ${VORN_LOCALEDEF} -i de_DE -f UTF-8 ${vorn_locale_dir}/de_DE.UTF-8
  COMMENT "Generating the de_DE.UTF-8 locale for the tests")
add_custom_target(vorn_test_locale ALL DEPENDS ${vorn_locale_dir}/de_DE.UTF-8/LC_NUMERIC)
set(VORN_LOCALE_ENVIRONMENT LOCPATH=${vorn_locale_dir})

function(vorn_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS;USES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  vorn_warnings(${name})
  vorn_layer(${name} USES ${ARG_USES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  add_dependencies(${name} vorn_test_locale)
  if(ARG_LABELS)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120
      PROPERTIES LABELS "${ARG_LABELS}" ENVIRONMENT "${VORN_LOCALE_ENVIRONMENT}")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 PROPERTIES ENVIRONMENT "${VORN_LOCALE_ENVIRONMENT}")
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
