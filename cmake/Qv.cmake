# Helpers shared by the subsystems' CMakeLists.

# qv_flavour(<target> DESKTOP|BOARD): the build flavour is a compile definition.
function(qv_flavour target flavour)
  if(flavour STREQUAL "BOARD")
    target_compile_definitions(${target} PRIVATE QV_BOARD_BUILD=1)
  else()
    target_compile_definitions(${target} PRIVATE QV_BOARD_BUILD=0)
  endif()
endfunction()

# qv_board_output(<target>): put a board-flavour program or library under ce/.
function(qv_board_output target)
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${QV_BIN_DIR}/ce
    LIBRARY_OUTPUT_DIRECTORY ${QV_LIB_DIR}/ce)
endfunction()

# qv_test(<name> SOURCES ... LIBS ... [ENV ...] [TIMEOUT s]): one GoogleTest binary, one CTest entry,
# with the test-support library (testing/) linked.
function(qv_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} qv_testsupport GTest::gtest GTest::gtest_main
                        Threads::Threads)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QV_BUILD_DIR=${PROJECT_BINARY_DIR};QV_SOURCE_DIR=${PROJECT_SOURCE_DIR};${T_ENV}")
endfunction()

# qv_add_subfolders(): every sub-folder of the current folder is one component with its own
# CMakeLists.txt; a sub-folder without one fails the configuration (nothing is skipped).
function(qv_add_subfolders)
  file(GLOB _entries LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT _entries)
  foreach(s ${_entries})
    if(NOT IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${s} OR s MATCHES "^\\.")
      continue()
    endif()
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${s}/CMakeLists.txt)
      message(FATAL_ERROR "${CMAKE_CURRENT_SOURCE_DIR}/${s}: a component folder without CMakeLists.txt")
    endif()
    add_subdirectory(${s})
  endforeach()
endfunction()

# qv_require_sources(<folder> <file>...): fails the configuration when a listed source is missing.
function(qv_require_sources folder)
  foreach(src ${ARGN})
    if(NOT EXISTS ${folder}/${src})
      message(FATAL_ERROR "${folder}/${src}: listed as a source but missing")
    endif()
  endforeach()
endfunction()

# qv_link_everywhere(<interface target>): links it privately into every library and program
# defined in this source tree, in every folder, so that no target can miss it.
function(qv_link_everywhere lib)
  set(_dirs ${PROJECT_SOURCE_DIR})
  while(_dirs)
    list(POP_FRONT _dirs _dir)
    get_property(_subdirs DIRECTORY ${_dir} PROPERTY SUBDIRECTORIES)
    list(APPEND _dirs ${_subdirs})
    get_property(_targets DIRECTORY ${_dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(_t ${_targets})
      get_target_property(_type ${_t} TYPE)
      if(_type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
        target_link_libraries(${_t} PRIVATE ${lib})
      endif()
    endforeach()
  endwhile()
endfunction()
