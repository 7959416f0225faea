# Helpers that keep each folder's CMakeLists to a line or two: sources are globbed, so adding a unit
# to a folder needs no edit of a shared file. Units are compiled in batches (unity build); there are no
# precompiled headers: loading one of Qt's size costs GCC more than parsing what a batch includes.

set(VSP_CMAKE_DIR ${CMAKE_CURRENT_LIST_DIR})

# Test code is compiled without optimisation or debug info (it is most of the build's time); the libraries
# it tests keep the build type's flags. The sanitizer build keeps its own flags everywhere: its randomised
# edit tests run their checks in test code, several times slower when that is unoptimised.
if(VSP_SANITIZE)
  set(VSP_TEST_FLAGS "")
else()
  set(VSP_TEST_FLAGS -O0 -g0)
endif()

# The tests find their fixtures through one function compiled in one generated file, so that no other
# compile line holds the checkout's path (ccache then hits for a checkout in any folder); test_data.h,
# included in every test unit, declares it.
set(VSP_TEST_DATA_DEF "VSP_TEST_DATA=VspTestDataDir()")

# Unity build: a target's units are compiled in batches of about VSP_UNITY_KB kilobytes of source, each batch
# one generated file that includes its units by their path from the checkout's root. (CMake's own unity
# files name the units by absolute path, which would make every checkout's files differ for ccache.) A
# unit that cannot share a batch is marked in its folder's CMakeLists before the target is made:
# set_source_files_properties(Unit.cpp PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON).
set(VSP_UNITY_KB 96 CACHE STRING "Kilobytes of source per unity batch")
# A type of a unit's anonymous namespace is no longer in the main file of a batch: GCC's warning about
# such types in headers does not apply.
if(VSP_UNITY AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  set(VSP_UNITY_FLAGS -Wno-subobject-linkage)
endif()

# Writes the batch gathered so far as the next generated file (a macro: it works on its caller's variables).
macro(vsp_unity_flush)
  if(NOT batch STREQUAL "")
    set(file ${CMAKE_CURRENT_BINARY_DIR}/${target}_unity/${group}${index}.cpp)
    file(GENERATE OUTPUT ${file} CONTENT "// Generated: one batch of ${target}'s units.\n${batch}")
    list(APPEND result ${file})
    set(batch "")
    set(bytes 0)
    math(EXPR index "${index} + 1")
  endif()
endmacro()

# vsp_unity_sources(<out-var> <target> <group> sources...): the files to compile in place of the sources.
function(vsp_unity_sources out target group)
  if(NOT VSP_UNITY)
    set(${out} ${ARGN} PARENT_SCOPE)
    return()
  endif()
  set(result "")
  set(batch "")
  set(bytes 0)
  set(index 0)
  math(EXPR limit "${VSP_UNITY_KB} * 1024")
  foreach(src IN LISTS ARGN)
    get_source_file_property(alone ${src} SKIP_UNITY_BUILD_INCLUSION)
    if(alone)
      list(APPEND result ${src})
      continue()
    endif()
    file(SIZE ${src} size)
    file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${src})
    string(APPEND batch "#include \"${rel}\"\n")
    math(EXPR bytes "${bytes} + ${size}")
    if(bytes GREATER_EQUAL limit)
      vsp_unity_flush()
    endif()
  endforeach()
  vsp_unity_flush()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# The library that tells the tests where their fixtures are.
function(vsp_make_test_data)
  if(NOT TARGET vsp_test_data)
    file(WRITE ${CMAKE_BINARY_DIR}/vsp_test_data.cpp.in
         "const char* VspTestDataDir() { return \"@VSP_DATA_DIR@\"; }\n")
    set(VSP_DATA_DIR ${CMAKE_SOURCE_DIR}/tests/data)
    configure_file(${CMAKE_BINARY_DIR}/vsp_test_data.cpp.in ${CMAKE_BINARY_DIR}/vsp_test_data.cpp @ONLY)
    add_library(vsp_test_data STATIC ${CMAKE_BINARY_DIR}/vsp_test_data.cpp)
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
# current folder. QT marks a folder that may include Qt (platform layer, form code). FORMS names the form
# units of a folder whose other units stay free of Qt.
function(vsp_library name)
  cmake_parse_arguments(ARG "QT" "" "DEPS;FORMS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  # Form units are batched apart, so that Qt reaches no plain unit through a batch.
  set(forms ${ARG_FORMS})
  list(TRANSFORM forms PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  set(plain ${srcs})
  if(forms)
    list(REMOVE_ITEM plain ${forms})
  endif()
  vsp_unity_sources(plain_units ${name} u ${plain})
  vsp_unity_sources(form_units ${name} form ${forms})
  add_library(${name} STATIC ${plain_units} ${form_units})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  target_compile_options(${name} PRIVATE ${VSP_UNITY_FLAGS})
  if(ARG_QT OR ARG_FORMS)
    target_link_libraries(${name} PRIVATE Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport)
  endif()
endfunction()

# vsp_tests(<name> [QT] DEPS libs...): one GoogleTest executable of every .cpp in the current folder.
function(vsp_tests name)
  cmake_parse_arguments(ARG "QT" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  vsp_unity_sources(units ${name} u ${srcs})
  add_executable(${name} ${units})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} vsp_test_data GTest::gtest GTest::gtest_main)
  target_compile_options(${name} PRIVATE ${VSP_TEST_FLAGS} ${VSP_UNITY_FLAGS} -include ${VSP_CMAKE_DIR}/test_data.h)
  target_compile_definitions(${name} PRIVATE ${VSP_TEST_DATA_DEF})
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" DISCOVERY_TIMEOUT 60)
endfunction()
