# The engine's folders, lowest first. Each becomes a static library that may use only the folders
# before it: its sources see only those folders' headers (an upward include does not compile),
# and the libraries are linked highest first (an upward call does not link). The few services a
# low folder needs from a higher one are hooks: declared low, defined high, and linked into every
# program as objects of their own (see QUORVEX_HOOK_SOURCES).
set(QUORVEX_LAYERS core platform archive config ui install uninstall)

# The folders of shared headers that a layer and those above it may include as well.
set(QUORVEX_LAYER_EXTRAS_ui res)

# The include folder of a layer: links to its own folder and to every folder below it, made in
# the build tree.
function(quorvex_layer_include_dir layer out)
  set(dir ${CMAKE_BINARY_DIR}/layers/${layer})
  file(MAKE_DIRECTORY ${dir})
  set(visible)
  foreach(folder IN LISTS QUORVEX_LAYERS)
    list(APPEND visible ${folder} ${QUORVEX_LAYER_EXTRAS_${folder}})
    if(folder STREQUAL layer)
      break()
    endif()
  endforeach()
  foreach(folder IN LISTS visible)
    if(NOT EXISTS ${dir}/${folder})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${dir}/${folder} SYMBOLIC)
    endif()
  endforeach()
  set(${out} ${dir} PARENT_SCOPE)
endfunction()

# Makes PREFIX_<layer> for every layer whose sources the caller listed in layer_sources_<layer>,
# each linked to the one below it; PREFIX_flags, an interface that every layer carries (put the
# tree's compile and link options on it); and PREFIX, the interface that programs and tests link:
# every layer, the whole source tree's headers and, when hook_objects names an object library,
# its objects.
function(quorvex_layer_libraries prefix)
  add_library(${prefix}_flags INTERFACE)
  add_library(${prefix} INTERFACE)
  target_include_directories(${prefix} INTERFACE ${PROJECT_SOURCE_DIR})
  set(below)
  foreach(layer IN LISTS QUORVEX_LAYERS)
    if(NOT layer_sources_${layer})
      continue()
    endif()
    quorvex_layer_include_dir(${layer} include_dir)
    set(target ${prefix}_${layer})
    add_library(${target} STATIC ${layer_sources_${layer}})
    target_include_directories(${target} PRIVATE ${include_dir})
    target_compile_options(${target} PRIVATE ${QUORVEX_WARNINGS})
    target_link_libraries(${target} PUBLIC ${prefix}_flags ${below})
    set(below ${target})
  endforeach()
  target_link_libraries(${prefix} INTERFACE ${below})
  if(hook_objects)
    target_sources(${prefix} INTERFACE $<TARGET_OBJECTS:${hook_objects}>)
  endif()
endfunction()
