# Build helpers shared by every folder.

include(${CMAKE_CURRENT_LIST_DIR}/TolvenicStack.cmake)

# Subsystem folders under src/ (and their tests under tests/), in dependency order.
set(TV_SUBSYSTEMS "")
foreach(level IN LISTS TV_STACK)
  string(REPLACE " " ";" folders "${level}")
  list(APPEND TV_SUBSYSTEMS ${folders})
endforeach()

# tv_library(<name> [LIBS <targets>...])
# A static library of every .cpp in the calling folder but main.cpp and the KeyboardDlg*.cpp
# files (src/app's library takes those of every folder); src/ is on the include path.
function(tv_library name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  list(FILTER sources EXCLUDE REGEX "/KeyboardDlg[^/]*\\.cpp$")
  add_library(${name} STATIC ${sources} ${headers})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# tv_test(<name> [LIBS <targets>...])
# A GoogleTest program of every .cpp in the calling folder, run through ctest.
# tests/support supplies main(): offscreen Qt and XDG folders inside the build tree.
function(tv_test name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE tv_test_main ${ARG_LIBS} GTest::gtest GTest::gmock)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 300)
endfunction()
