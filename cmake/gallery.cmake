# The window gallery (tools/ui_gallery) that scripts/screenshots photographs: a Win32 test-build
# program over the engine library and its resources. Included by the Win32 tree.
if(QUORVEX_TESTS)
  add_executable(ui_gallery WIN32 ${PROJECT_SOURCE_DIR}/tools/ui_gallery/ui_gallery.cpp
                                  ${PROJECT_SOURCE_DIR}/res/quorvex.rc)
  target_compile_options(ui_gallery PRIVATE ${QUORVEX_WARNINGS})
  target_link_libraries(ui_gallery PRIVATE quorvex_engine)
  set_target_properties(ui_gallery PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endif()
