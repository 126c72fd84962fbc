# The Vorn plug-in class: parameter table, state record and the engine behind
# the plug-in frame.
add_library(vorn_synth STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/vorn.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/vorn_parameters.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/vorn_state.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/vorn_factory.cpp
  ${PROJECT_SOURCE_DIR}/product/editor/vorn_editor.cpp)
vorn_warnings(vorn_synth)
target_link_libraries(vorn_synth PUBLIC vorn_engine vorn_product vorn_product_editor vorn_editor_images
                                         vorn_vst2 vorn_frame)
