#!/bin/sh
# switch_combinations.sh [BUILD_DIR]: configures and builds BUILD_DIR (default build) with
# every combination of ADVICEPATH_BUILD_TESTS and ADVICEPATH_BUILD_BENCHMARKS, then puts
# both switches back as they were. The other settings of the tree stay, so its object files
# serve every combination and only what a combination adds is compiled: after a full build
# the four take about a minute. Fails on the first combination that does not build.
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
jobs=${CI_JOBS:-2}
[ -f "$build/CMakeCache.txt" ] || { echo "switch_combinations: $build is not configured"; exit 2; }

# setting NAME: a BOOL from the tree's cache.
setting() { sed -n "s/^$1:BOOL=//p" "$build/CMakeCache.txt"; }
tests=$(setting ADVICEPATH_BUILD_TESTS)
benchmarks=$(setting ADVICEPATH_BUILD_BENCHMARKS)

for combination in "OFF ON" "OFF OFF" "ON OFF" "${tests:-ON} ${benchmarks:-ON}"; do
  set -- $combination
  echo "== ADVICEPATH_BUILD_TESTS=$1 ADVICEPATH_BUILD_BENCHMARKS=$2"
  cmake -S . -B "$build" -DADVICEPATH_BUILD_TESTS="$1" -DADVICEPATH_BUILD_BENCHMARKS="$2" \
    > "$build/combination.log" || { cat "$build/combination.log"; exit 1; }
  cmake --build "$build" -j"$jobs" > "$build/combination.log" 2>&1 ||
    { cat "$build/combination.log"; exit 1; }
done
echo "switch_combinations: every combination builds"
