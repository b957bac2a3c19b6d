# The Win32 engine: one static library per engine folder (cmake/layers.cmake), the GUI program
# above them and, in test builds, the Win32 tests that run under wine64.
include(cmake/layers.cmake)

# The user interface's hooks for the layers below it: the fatal-error box, the message box of the
# platform operations and the message pump while a process runs.
set(QUORVEX_HOOK_SOURCES ui/messages.cpp ui/ui_seam.cpp ui/message_pump.cpp)
list(TRANSFORM QUORVEX_HOOK_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/)

foreach(layer IN LISTS QUORVEX_LAYERS)
  quorvex_sources(layer_sources_${layer} ${layer})
endforeach()
list(FILTER layer_sources_core EXCLUDE REGEX "/core/fatal_stderr\\.cpp$")
list(REMOVE_ITEM layer_sources_ui ${QUORVEX_HOOK_SOURCES})
set(hook_objects quorvex_hooks)
quorvex_layer_libraries(quorvex_engine)

target_compile_definitions(quorvex_engine_flags INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501)
target_link_libraries(quorvex_engine_flags INTERFACE comctl32 ole32 uuid shell32 gdi32 user32 advapi32 version)
if(QUORVEX_TEST_SEAM)
  target_compile_definitions(quorvex_engine_flags INTERFACE QUORVEX_TEST_SEAM=1)
endif()
# Small, self-contained images: only system DLLs are imported.
target_compile_options(quorvex_engine_flags INTERFACE -ffunction-sections -fdata-sections)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # Without exceptions the 32-bit image needs no unwind tables (64-bit Windows does, for SEH).
  target_compile_options(quorvex_engine_flags INTERFACE -fno-asynchronous-unwind-tables -fno-unwind-tables)
  # The 32-bit systems it runs on load an executable at its preferred base (they know no address
  # space randomisation), so its relocations would only take room: about 8 KB. The image asks for
  # Windows 4.0, where lld would ask for Vista, and is not marked terminal-server aware.
  target_link_options(quorvex_engine_flags INTERFACE -Wl,--disable-dynamicbase -Wl,--Xlink=-fixed
    -Wl,--major-os-version=4 -Wl,--minor-os-version=0 -Wl,--major-subsystem-version=4
    -Wl,--minor-subsystem-version=0 -Wl,--disable-tsaware)
endif()
target_link_options(quorvex_engine_flags INTERFACE -static -Wl,--gc-sections)
# A size build makes the cold code as small as the compiler can (-Oz); the decoder and the
# checksum, which go over every byte of the archive, are built for speed in it.
if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel")
  target_compile_options(quorvex_engine_flags INTERFACE -Oz)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    # The whole engine is one program at link time, so a virtual function that no call can reach
    # (most of each collection's interface) is left out with the rest of the unused code.
    set(whole_program -flto -fwhole-program-vtables -fvirtual-function-elimination)
    target_compile_options(quorvex_engine_flags INTERFACE ${whole_program})
    target_link_options(quorvex_engine_flags INTERFACE ${whole_program})
  endif()
  set_source_files_properties(${PROJECT_SOURCE_DIR}/archive/decompress_fast.cpp
                              ${PROJECT_SOURCE_DIR}/core/checksum.cpp PROPERTIES COMPILE_OPTIONS -O2)
endif()

add_library(quorvex_hooks OBJECT ${QUORVEX_HOOK_SOURCES})
quorvex_layer_include_dir(ui hooks_include_dir)
target_include_directories(quorvex_hooks PRIVATE ${hooks_include_dir})
target_compile_options(quorvex_hooks PRIVATE ${QUORVEX_WARNINGS})
target_link_libraries(quorvex_hooks PRIVATE quorvex_engine_flags)

add_executable(quorvex WIN32 ${PROJECT_SOURCE_DIR}/program/winmain.cpp ${PROJECT_SOURCE_DIR}/res/quorvex.rc)
target_compile_options(quorvex PRIVATE ${QUORVEX_WARNINGS})
target_link_libraries(quorvex PRIVATE quorvex_engine)
set_target_properties(quorvex PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
if(NOT QUORVEX_TEST_SEAM)
  # The link map names every function's section with its size (-ffunction-sections):
  # scripts/engine-size reads it to say what takes the space.
  target_link_options(quorvex PRIVATE -s -Wl,-Map=${CMAKE_BINARY_DIR}/quorvex.map)
endif()

include(cmake/gallery.cmake)

if(QUORVEX_TESTS)
  set(wine_run ${PROJECT_SOURCE_DIR}/scripts/wine-run)
  set(wine_env ${PROJECT_SOURCE_DIR}/scripts/wine-session)
  # One prefix, one X server and one wineserver for the whole ctest run.
  add_test(NAME wine_start COMMAND ${wine_env} start ${CMAKE_BINARY_DIR})
  add_test(NAME wine_stop COMMAND ${wine_env} stop ${CMAKE_BINARY_DIR})
  set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine)
  set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine)

  # The end-to-end tests build their installers with the builder's own writer.
  quorvex_sources(writer_sources tools/codec tools/archive_writer)
  if(writer_sources)
    add_library(quorvex_archive_writer STATIC ${writer_sources})
    target_compile_options(quorvex_archive_writer PRIVATE ${QUORVEX_WARNINGS})
    target_link_libraries(quorvex_archive_writer PUBLIC quorvex_engine)
  else()
    add_library(quorvex_archive_writer INTERFACE)
  endif()

  quorvex_sources(support_sources tests/support)
  add_library(quorvex_test_support STATIC ${support_sources})
  target_compile_options(quorvex_test_support PRIVATE ${QUORVEX_WARNINGS})
  target_link_libraries(quorvex_test_support PUBLIC quorvex_engine GTest::gtest)

  # win32_tests has its own main (tests/win32/main.cpp); e2e_tests drives quorvex.exe.
  set(win32_main)
  set(e2e_main GTest::gtest_main quorvex_archive_writer)
  # The number texts come from the engine's own printf: the Win32 test program runs their tables
  # too, on the formatter as the Windows compiler builds it (32-bit long, Windows' va_list).
  set(win32_shared_tests size_text_test format_decimal_test number_words_test)
  list(TRANSFORM win32_shared_tests PREPEND ${PROJECT_SOURCE_DIR}/tests/native/)
  list(TRANSFORM win32_shared_tests APPEND .cpp)
  foreach(suite win32 e2e)
    quorvex_sources(suite_sources tests/${suite})
    if(suite STREQUAL "win32")
      list(APPEND suite_sources ${win32_shared_tests})
    endif()
    file(GLOB suite_resources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${suite}/*.rc)
    list(APPEND suite_sources ${suite_resources})
    if(suite_sources)
      add_executable(${suite}_tests ${suite_sources})
      target_compile_options(${suite}_tests PRIVATE ${QUORVEX_WARNINGS})
      target_link_libraries(${suite}_tests PRIVATE quorvex_test_support ${${suite}_main})
      set_target_properties(${suite}_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
      add_test(NAME ${suite}_tests COMMAND ${wine_run} ${CMAKE_BINARY_DIR} $<TARGET_FILE:${suite}_tests>)
      set_tests_properties(${suite}_tests PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 900)
    endif()
  endforeach()
  if(TARGET e2e_tests)
    add_dependencies(e2e_tests quorvex)
  endif()

  # The end-to-end tests once more, on the engine as the shipped one is compiled and linked (for
  # x86_64 and with the test seam, built in a tree of its own with cmake/clang-x86_64.cmake).
  set(QUORVEX_SHIPPED_BUILD_ENGINE "" CACHE FILEPATH
      "quorvex.exe built as the shipped engine is, for a second run of the end-to-end tests")
  if(QUORVEX_SHIPPED_BUILD_ENGINE AND TARGET e2e_tests)
    string(REPLACE "/" "\\" shipped_build_engine "Z:${QUORVEX_SHIPPED_BUILD_ENGINE}")
    add_test(NAME e2e_tests_shipped_build
             COMMAND ${wine_run} ${CMAKE_BINARY_DIR} $<TARGET_FILE:e2e_tests>)
    set_tests_properties(e2e_tests_shipped_build PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 900
                         ENVIRONMENT "QUORVEX_E2E_ENGINE=${shipped_build_engine}")
  endif()

  # Libraries the file-rule tests read the version of and install: a COM server and two plain
  # libraries, each with a version resource of its own (written beside the test programs).
  set(fixture_libraries com_server:com_server plain_library:plain_library
                        unicode_table_library:plain_library)
  foreach(fixture IN LISTS fixture_libraries)
    string(REPLACE ":" ";" parts ${fixture})
    list(GET parts 0 name)
    list(GET parts 1 source)
    add_library(fixture_${name} SHARED ${PROJECT_SOURCE_DIR}/tests/fixtures/${source}.cpp
                                       ${PROJECT_SOURCE_DIR}/tests/fixtures/${name}.rc)
    set_target_properties(fixture_${name} PROPERTIES PREFIX "" OUTPUT_NAME quorvex_${name}
                          RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
    target_link_options(fixture_${name} PRIVATE -static)
    foreach(suite win32 e2e)
      if(TARGET ${suite}_tests)
        add_dependencies(${suite}_tests fixture_${name})
      endif()
    endforeach()
  endforeach()
endif()
