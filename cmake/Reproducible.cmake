# Builds that anyone can repeat byte for byte: one date for the whole build, the commit's, and no
# absolute path of this machine in what the compiler writes.
# The date: SOURCE_DATE_EPOCH from the environment, else the commit time of the source tree's HEAD,
# else none, and the build dates itself as compilers and linkers do by default. It is read when the
# build folder is configured; a release is built from a freshly configured clone.
set(OSTREL_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
if(OSTREL_SOURCE_DATE_EPOCH STREQUAL "")
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} -C ${PROJECT_SOURCE_DIR} log -1 --format=%ct
                    OUTPUT_VARIABLE OSTREL_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE git_failed ERROR_QUIET)
    if(git_failed)
      set(OSTREL_SOURCE_DATE_EPOCH "")
    endif()
  endif()
endif()
if(NOT OSTREL_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  message(STATUS "Build date: none fixed (no SOURCE_DATE_EPOCH, no git history): outputs carry today's")
  set(OSTREL_SOURCE_DATE_EPOCH "")
else()
  message(STATUS "Build date: SOURCE_DATE_EPOCH=${OSTREL_SOURCE_DATE_EPOCH}")
  # GCC's __DATE__ and __TIME__ and the PE time stamp that GNU ld writes both follow
  # SOURCE_DATE_EPOCH. Launchers hand it to every compile and link of every target, and to nothing
  # else, so the variable need not be set in whatever shell runs the build.
  set(date_env ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${OSTREL_SOURCE_DATE_EPOCH})
  foreach(lang C CXX)
    set(CMAKE_${lang}_COMPILER_LAUNCHER ${date_env} ${CMAKE_${lang}_COMPILER_LAUNCHER})
    set(CMAKE_${lang}_LINKER_LAUNCHER ${date_env} ${CMAKE_${lang}_LINKER_LAUNCHER})
  endforeach()
  # A launcher's change rebuilds nothing: the date is in the compile flags too, so that a new one
  # recompiles every object, and in a file for the custom commands that use it.
  add_compile_definitions(OSTREL_SOURCE_DATE_EPOCH=${OSTREL_SOURCE_DATE_EPOCH})
endif()
set(OSTREL_SOURCE_DATE_FILE ${PROJECT_BINARY_DIR}/source-date-epoch.txt)
file(CONFIGURE OUTPUT ${OSTREL_SOURCE_DATE_FILE} CONTENT "${OSTREL_SOURCE_DATE_EPOCH}\n")

# __FILE__ (assert, GoogleTest's messages) and debug information name sources relative to the
# source tree and the build folder. GCC tries the last given map first: the build folder, which
# may lie inside the source tree, comes last.
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/= -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
