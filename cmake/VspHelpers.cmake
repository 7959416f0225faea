# Helpers that keep each folder's CMakeLists to a line or two: sources are globbed, so adding a unit
# to a folder needs no edit of a shared file.

# Adds the library folder and, when present, its tests folder.
function(vsp_add_dir dir)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
  if(EXISTS ${CMAKE_SOURCE_DIR}/tests/${dir}/CMakeLists.txt)
    add_subdirectory(${CMAKE_SOURCE_DIR}/tests/${dir} ${CMAKE_BINARY_DIR}/tests/${dir})
  endif()
endfunction()

# vsp_library(<name> [QT] [DEPS libs...]): a static library of every .cpp in the current folder.
# QT marks a folder that may include Qt (platform layer, form code); it gets the Qt precompiled header.
function(vsp_library name)
  cmake_parse_arguments(ARG "QT" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport)
    target_precompile_headers(${name} PRIVATE ${CMAKE_SOURCE_DIR}/cmake/qt_pch.h)
  endif()
endfunction()

# vsp_tests(<name> [QT] DEPS libs...): one GoogleTest executable of every .cpp in the current folder.
function(vsp_tests name)
  cmake_parse_arguments(ARG "QT" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${srcs})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE VSP_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport)
    target_precompile_headers(${name} PRIVATE ${CMAKE_SOURCE_DIR}/cmake/qt_pch.h)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" DISCOVERY_TIMEOUT 60)
endfunction()
