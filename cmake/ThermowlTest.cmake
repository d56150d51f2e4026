# thermowl_add_test(<name> SOURCES <files...> [LIBS <targets...>] [LOCKS <names...>] [TIMEOUT <s>]
#                   [RUNNER <command...>])
# Builds a GoogleTest executable and registers it with ctest; ctest runs it under Wine, or runs
# RUNNER with the executable and its arguments appended (a runner that sets up Wine itself).
# LOCKS names shared resources ("sysdir" for the service files in the system directory,
# "registry" for the program's registry keys, "desktop" for tests that need the foreground),
# so tests that share one never run at the same time.
function(thermowl_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LOCKS;RUNNER" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${THERMOWL_DEPS}/include ${CMAKE_SOURCE_DIR}/tests/support)
  target_link_libraries(${name} PRIVATE ${T_LIBS} test_support
    ${THERMOWL_DEPS}/lib/libgmock.a ${THERMOWL_DEPS}/lib/libgtest.a)
  if(T_RUNNER)
    add_test(NAME ${name} COMMAND ${T_RUNNER} $<TARGET_FILE:${name}> --gtest_color=no)
  else()
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 240)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_LOCKS)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
  endif()
endfunction()
