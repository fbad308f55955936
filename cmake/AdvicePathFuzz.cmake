# Fuzzing builds: -DADVICEPATH_FUZZ=ON with -DCMAKE_CXX_COMPILER=clang++-14 (Debian packages
# clang-14 and libclang-rt-14-dev). Every target of ours is compiled with libFuzzer's coverage
# instrumentation and AddressSanitizer and UndefinedBehaviorSanitizer (no recovery); the fuzz
# targets under fuzz/ link libFuzzer's main. Build only those targets in such a build
# (`--target fuzz_frame fuzz_route_file`): with clang the shared library's --no-undefined
# link cannot see the sanitizer runtime, which only executables carry.
#
# Without the option the fuzz targets still build, with any compiler, as replay programs
# that run a corpus once (fuzz/replay_main.cpp).
if(ADVICEPATH_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "ADVICEPATH_FUZZ needs clang++ (-DCMAKE_CXX_COMPILER=clang++-14)")
  endif()
  if(ADVICEPATH_SANITIZE)
    message(FATAL_ERROR "ADVICEPATH_FUZZ brings its own sanitizers: leave ADVICEPATH_SANITIZE empty")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
