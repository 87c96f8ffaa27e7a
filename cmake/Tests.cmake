# GoogleTest: the system's build natively, built from its source for cross and 32-bit builds.
# ostrel_add_test(name SOURCES ... LIBS ...) adds a gtest executable and registers it with ctest,
# run through OSTREL_TEST_RUNNER when one is set.
if(OSTREL_TESTS)
  if(CMAKE_CROSSCOMPILING OR OSTREL_BUILD_GTEST)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    set(OSTREL_GTEST gtest_main)
  else()
    find_package(GTest REQUIRED)
    set(OSTREL_GTEST GTest::gtest_main)
  endif()
endif()

# Registers a test command; under Wine in the build folder's prefix, holding the lock "cores".
function(ostrel_register_test name)
  add_test(NAME ${name} COMMAND ${OSTREL_TEST_RUNNER} ${ARGN})
  if(WIN32)
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix" RESOURCE_LOCK cores SKIP_RETURN_CODE 77)
  endif()
endfunction()

function(ostrel_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${OSTREL_GTEST} ostrel_warnings)
  if(WIN32)
    target_link_options(${name} PRIVATE -static)  # no C++ runtime DLLs lie beside it under Wine
  endif()
  ostrel_register_test(${name} $<TARGET_FILE:${name}>)
endfunction()
