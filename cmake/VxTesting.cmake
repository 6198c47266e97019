# GoogleTest from the sources of Debian's googletest package, for native and cross builds alike.
set(VX_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
if(NOT TARGET gtest_main)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${VX_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  # Nobody steps into GoogleTest: without optimisation or debug information it compiles in half
  # the time.
  target_compile_options(gtest PRIVATE -O0 -g0)
  target_compile_options(gtest_main PRIVATE -O0 -g0)
endif()

# A test program that dies part-way may still end with exit code 0 under Wine (seen with a stack
# overflow in a window procedure): a run passes only when GoogleTest wrote its summary of passed
# tests and no failure.
function(vx_require_gtest_summary test)
  set_tests_properties(${test} PROPERTIES PASS_REGULAR_EXPRESSION "\\[  PASSED  \\]"
                       FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
endfunction()

# vx_add_gtest(NAME [OWN_DISPLAY [SHARDS n]] SOURCES files... LIBS libs... [LABELS labels...]): one
# test program, one ctest entry. Cross-compiled programs run through CMAKE_CROSSCOMPILING_EMULATOR
# (the Wine wrapper). OWN_DISPLAY: on a display and prefix of its own (scripts/with-display, label
# own-display), so that it can run beside the tests that share the session's display; with SHARDS,
# as n entries NAME_1..NAME_n, each running its share of the cases, side by side.
function(vx_add_gtest name)
  cmake_parse_arguments(ARG "OWN_DISPLAY" "SHARDS" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  set(command ${name} --gtest_brief=1)
  if(ARG_OWN_DISPLAY)
    set(command ${CMAKE_SOURCE_DIR}/scripts/with-display 1024x768x24 --
                ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}> --gtest_brief=1)
    list(APPEND ARG_LABELS own-display)
  endif()
  if(NOT ARG_SHARDS)
    vx_add_gtest_entry(${name} "${command}" "${ARG_LABELS}" "")
    return()
  endif()
  foreach(shard RANGE 1 ${ARG_SHARDS})
    math(EXPR index "${shard} - 1")
    vx_add_gtest_entry(${name}_${shard} "${command}" "${ARG_LABELS}"
                       "GTEST_TOTAL_SHARDS=${ARG_SHARDS};GTEST_SHARD_INDEX=${index}")
    # Sharded because slow: such runs start first.
    set_tests_properties(${name}_${shard} PROPERTIES COST 100)
  endforeach()
endfunction()

function(vx_add_gtest_entry test command labels environment)
  add_test(NAME ${test} COMMAND ${command})
  vx_require_gtest_summary(${test})
  if(labels)
    set_tests_properties(${test} PROPERTIES LABELS "${labels}")
  endif()
  if(environment)
    set_tests_properties(${test} PROPERTIES ENVIRONMENT "${environment}")
  endif()
endfunction()
