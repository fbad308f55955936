#!/bin/sh
# tsan.sh [BUILD_DIR]: builds the tests labelled "threads" (the thread_tests program: two
# handles drawing on two threads, log lines written from two threads) under ThreadSanitizer
# (g++, -fsanitize=thread through -DADVICEPATH_SANITIZE=thread; no benchmarks, no program)
# in BUILD_DIR (default build-tsan), and runs them. Only that program and what it links are
# built.
#
# Fails on a failed test and on the first race ThreadSanitizer reports (halt_on_error=1):
# the report is in the test's output.
set -eu
cd "$(dirname "$0")/.."
build=${1:-build-tsan}
jobs=${CI_JOBS:-2}

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DADVICEPATH_WERROR=ON \
  -DADVICEPATH_SANITIZE=thread -DADVICEPATH_BUILD_BENCHMARKS=OFF -DADVICEPATH_BUILD_TOOLS=OFF
cmake --build "$build" -j"$jobs" --target thread_tests
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ${TSAN_OPTIONS:-}" \
  ctest --test-dir "$build" --output-on-failure -j"$jobs" -L threads
