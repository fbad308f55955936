#!/bin/sh
# coverage.sh [BUILD_DIR] [-- CTEST_ARGS...]: builds the library and its tests with gcov
# instrumentation (g++, -DADVICEPATH_COVERAGE=ON; benchmarks left out) in BUILD_DIR (default
# build-coverage), runs the tests, and reports branch coverage with gcovr: one table per
# area, file by file, and its summary. Branches the compiler adds for exceptions and branches
# on lines without code are not counted.
#
# Fails (status 1) when the tests fail, or when branch coverage is below 95 % in
# source/render/ (edges/ included) or below 90 % in source/outside/; both areas are always
# reported. Arguments after -- go to ctest (for example -- -E fuzz). The tests labelled
# "threads" are left out: gcov's counters and the build's function-local statics are not
# thread-safe (scripts/tsan.sh runs those tests).
set -eu
cd "$(dirname "$0")/.."
build=build-coverage
if [ $# -gt 0 ] && [ "$1" != "--" ]; then build=$1; shift; fi
[ $# -gt 0 ] && [ "$1" = "--" ] && shift
jobs=${CI_JOBS:-2}

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DADVICEPATH_COVERAGE=ON \
  -DADVICEPATH_BUILD_BENCHMARKS=OFF -DADVICEPATH_WERROR=ON
cmake --build "$build" -j"$jobs"
# Counts from earlier runs would add up with this one.
find "$build" -name '*.gcda' -delete
ctest --test-dir "$build" --output-on-failure -j"$jobs" -LE threads "$@"

# report AREA MINIMUM: the table and summary of AREA; false below MINIMUM % of branches.
report() {
  echo "== branch coverage of $1 (gate: $2 %)"
  gcovr --root . --filter "$1" --exclude-throw-branches --exclude-unreachable-branches \
    --txt --branches --sort-percentage --print-summary --fail-under-branch "$2" "$build"
}
status=0
report source/render/ 95 || status=1
report source/outside/ 90 || status=1
[ "$status" -eq 0 ] && echo "== coverage gate passed" || echo "== coverage gate FAILED"
exit "$status"
