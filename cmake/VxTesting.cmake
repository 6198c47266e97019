# GoogleTest from the sources of Debian's googletest package, for native and cross builds alike.
set(VX_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
if(NOT TARGET gtest_main)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${VX_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

# vx_add_gtest(NAME SOURCES files... LIBS libs...): one test program, one ctest entry.
# Cross-compiled programs run through CMAKE_CROSSCOMPILING_EMULATOR (the Wine wrapper).
function(vx_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  # A program that crashes under Wine can end with exit code 0: only the closing summary passes.
  set_tests_properties(${name} PROPERTIES PASS_REGULAR_EXPRESSION "\\[  PASSED  \\]"
                                          FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
  if(ARG_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
endfunction()
