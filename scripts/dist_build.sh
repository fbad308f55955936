#!/bin/sh
# dist_build.sh [BUILD_DIR] [TARGET...]: configures and builds the tree that the Debian
# packages and the recorded ABI come from, in BUILD_DIR (default build-dist): RelWithDebInfo
# (optimised, with the debug information abidw reads), installed under /usr (libraries in
# the multiarch directory), warnings as errors, without tests and benchmarks. Builds the
# TARGETs only when given, else everything. package_test.sh and abi_check.sh both call it,
# so that one configuration serves both and the second call builds nothing new.
set -eu
cd "$(dirname "$0")/.."
build=${1:-build-dist}
[ $# -gt 0 ] && shift
jobs=${CI_JOBS:-2}

mkdir -p "$build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DADVICEPATH_BUILD_TESTS=OFF -DADVICEPATH_BUILD_BENCHMARKS=OFF -DADVICEPATH_WERROR=ON \
  > "$build/configure.log" || { cat "$build/configure.log"; exit 1; }
if [ $# -gt 0 ]; then
  # shellcheck disable=SC2046
  cmake --build "$build" -j"$jobs" $(printf -- '--target %s ' "$@")
else
  cmake --build "$build" -j"$jobs"
fi
