# The version, written once in project(): the generated header carries it to
# the plug-in, the tools and the editor's version text.
math(EXPR VORN_VERSION_NUMBER "${PROJECT_VERSION_MAJOR} * 10000 + ${PROJECT_VERSION_MINOR} * 100 + ${PROJECT_VERSION_PATCH}")
math(EXPR VORN_VERSION_PACKED "(${PROJECT_VERSION_MAJOR} << 16) | (${PROJECT_VERSION_MINOR} << 8) | ${PROJECT_VERSION_PATCH}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/vorn_version.h.in ${VORN_GENERATED_DIR}/vorn_version.h @ONLY)
