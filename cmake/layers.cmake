# Layers: each of our targets compiles against one include root that holds
# only the source folders its layer may use, so an include of a forbidden
# folder fails to compile. Include statements stay root-relative
# ("engine/voice.h", "plugin/iparam.h").
#
#   vorn_layer(<target> <layer>)            a library of one of our layers
#   vorn_layer(<target> USES <folder>...)   a tool, test or benchmark, with the
#                                           folders of what it links
#
#   engine  -> engine                    the sound engine knows nothing else
#   plugin  -> plugin                    nor does the plug-in frame and binding
#   raster  -> raster                    nor does the drawing layer
#   editor  -> editor raster plugin
#   product -> product engine plugin editor raster
#
# A new library in editor/ or product/ declares its layer with one line, for
# example vorn_layer(vorn_editor_core editor). Every target also sees the
# generated headers (vorn_version.h).
set(vorn_layer_engine engine)
set(vorn_layer_plugin plugin)
set(vorn_layer_raster raster)
set(vorn_layer_editor editor raster plugin)
set(vorn_layer_product product engine plugin editor raster)

set(VORN_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)

# The include root for a set of folders: a folder of links to them.
function(vorn_include_root folders out)
  list(SORT folders)
  list(JOIN folders "-" name)
  set(root ${CMAKE_BINARY_DIR}/include-roots/${name})
  foreach(folder IN LISTS folders)
    if(NOT IS_DIRECTORY ${PROJECT_SOURCE_DIR}/${folder})
      message(FATAL_ERROR "vorn_layer: no source folder '${folder}'")
    endif()
    if(NOT IS_SYMLINK ${root}/${folder})
      file(MAKE_DIRECTORY ${root})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
    endif()
  endforeach()
  set(${out} ${root} PARENT_SCOPE)
endfunction()

function(vorn_layer target layer)
  if(layer STREQUAL "USES")
    set(folders ${ARGN})
  elseif(DEFINED vorn_layer_${layer})
    set(folders ${vorn_layer_${layer}})
  else()
    message(FATAL_ERROR "vorn_layer(${target}): unknown layer '${layer}'")
  endif()
  vorn_include_root("${folders}" root)
  # PRIVATE: a layer's include root never leaks to the targets that link it.
  target_include_directories(${target} PRIVATE ${root} ${VORN_GENERATED_DIR})
endfunction()
