# Coverage builds: -DADVICEPATH_COVERAGE=ON instruments every target of ours for gcov (g++),
# without optimisation so that branches map to the source. scripts/coverage.sh builds such a
# tree, runs the tests and reports with gcovr.
#
# Function-local statics are built without the thread-safe guard here: the guard's branch for
# "another thread finished the initialisation meanwhile" cannot be taken by single-threaded
# tests and is no branch of our source. (The tests start no threads.)
if(ADVICEPATH_COVERAGE)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    message(FATAL_ERROR "ADVICEPATH_COVERAGE needs g++ (gcov data for gcovr)")
  endif()
  add_compile_options(--coverage -O0 -fno-threadsafe-statics)
  add_link_options(--coverage)
endif()
