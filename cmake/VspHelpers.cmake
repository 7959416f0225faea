# Helpers that keep each folder's CMakeLists to a line or two: sources are globbed, so adding a unit
# to a folder needs no edit of a shared file. Precompiled headers are built once and shared: one for
# the Qt-using libraries, one for the tests, one for the tests of Qt-using folders.

set(VSP_PCH_DIR ${CMAKE_CURRENT_LIST_DIR})

# Test code is compiled without optimisation or debug info (it is most of the build's time); the libraries
# it tests keep the build type's flags. The sanitizer build keeps its own flags everywhere.
if(VSP_SANITIZE)
  set(VSP_TEST_FLAGS "")
else()
  set(VSP_TEST_FLAGS -O0 -g0)
endif()

# The tests find their fixtures through one function compiled in one generated file, so that no other
# compile line holds the checkout's path (ccache then hits for a checkout in any folder).
set(VSP_TEST_DATA_DEF "VSP_TEST_DATA=VspTestDataDir()")

# The carriers of the shared precompiled headers.
function(vsp_make_pch_targets)
  if(NOT TARGET vsp_test_data)
    file(WRITE ${CMAKE_BINARY_DIR}/vsp_test_data.cpp.in
         "const char* VspTestDataDir() { return \"@VSP_DATA_DIR@\"; }\n")
    set(VSP_DATA_DIR ${CMAKE_SOURCE_DIR}/tests/data)
    configure_file(${CMAKE_BINARY_DIR}/vsp_test_data.cpp.in ${CMAKE_BINARY_DIR}/vsp_test_data.cpp @ONLY)
    add_library(vsp_test_data STATIC ${CMAKE_BINARY_DIR}/vsp_test_data.cpp)
  endif()
  if(NOT TARGET vsp_pch_test)
    add_library(vsp_pch_test STATIC ${VSP_PCH_DIR}/pch_anchor.cpp)
    target_link_libraries(vsp_pch_test PRIVATE GTest::gtest)
    target_compile_options(vsp_pch_test PRIVATE ${VSP_TEST_FLAGS})
    target_compile_definitions(vsp_pch_test PRIVATE ${VSP_TEST_DATA_DEF})
    target_precompile_headers(vsp_pch_test PRIVATE ${VSP_PCH_DIR}/test_pch.h)
  endif()
  if(NOT VSP_CORE_ONLY AND NOT TARGET vsp_pch_qt)
    add_library(vsp_pch_qt STATIC ${VSP_PCH_DIR}/pch_anchor.cpp)
    target_link_libraries(vsp_pch_qt PRIVATE Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport)
    target_precompile_headers(vsp_pch_qt PRIVATE ${VSP_PCH_DIR}/qt_pch.h)

    add_library(vsp_pch_test_qt STATIC ${VSP_PCH_DIR}/pch_anchor.cpp)
    target_link_libraries(vsp_pch_test_qt PRIVATE GTest::gtest Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport)
    target_compile_options(vsp_pch_test_qt PRIVATE ${VSP_TEST_FLAGS})
    target_compile_definitions(vsp_pch_test_qt PRIVATE ${VSP_TEST_DATA_DEF})
    target_precompile_headers(vsp_pch_test_qt PRIVATE ${VSP_PCH_DIR}/test_qt_pch.h)
  endif()
endfunction()

# Adds the library folder and, when present, its tests folder.
function(vsp_add_dir dir)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
  if(EXISTS ${CMAKE_SOURCE_DIR}/tests/${dir}/CMakeLists.txt)
    add_subdirectory(${CMAKE_SOURCE_DIR}/tests/${dir} ${CMAKE_BINARY_DIR}/tests/${dir})
  endif()
endfunction()

# vsp_library(<name> [QT] [FORMS files...] [DEPS libs...]): a static library of every .cpp in the
# current folder. QT marks a folder that may include Qt (platform layer, form code); it gets the Qt
# precompiled header. FORMS names the form units of a folder whose other units stay free of Qt: only
# those get Qt's precompiled header.
function(vsp_library name)
  cmake_parse_arguments(ARG "QT" "" "DEPS;FORMS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  if(ARG_QT OR ARG_FORMS)
    target_link_libraries(${name} PRIVATE Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport)
    target_precompile_headers(${name} REUSE_FROM vsp_pch_qt)
  endif()
  if(ARG_FORMS)
    list(TRANSFORM ARG_FORMS PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
    set(plain ${srcs})
    list(REMOVE_ITEM plain ${ARG_FORMS})
    set_source_files_properties(${plain} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
  endif()
endfunction()

# vsp_tests(<name> [QT] DEPS libs...): one GoogleTest executable of every .cpp in the current folder.
function(vsp_tests name)
  cmake_parse_arguments(ARG "QT" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${srcs})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} vsp_test_data GTest::gtest GTest::gtest_main)
  target_compile_options(${name} PRIVATE ${VSP_TEST_FLAGS})
  target_compile_definitions(${name} PRIVATE ${VSP_TEST_DATA_DEF})
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport)
    target_precompile_headers(${name} REUSE_FROM vsp_pch_test_qt)
  else()
    target_precompile_headers(${name} REUSE_FROM vsp_pch_test)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" DISCOVERY_TIMEOUT 60)
endfunction()
