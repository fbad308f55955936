#!/bin/sh
# fuzz.sh [SECONDS] [TARGET...]: builds the libFuzzer targets with clang++-14 in build-fuzz
# (only the fuzz targets; -DADVICEPATH_FUZZ=ON) and runs each TARGET (default: fuzz_frame,
# fuzz_route_file, then fuzz_polyline) for SECONDS (default 60), one job at a time, from its committed
# corpus fuzz/corpus/<target>/. New inputs go to a scratch directory, not into the corpus.
# A crash, leak, hang (an input over 25 s) or broken invariant stops the run: its input is
# kept as build-fuzz/artifacts/<target>/crash-* (or leak-*, timeout-*) and the script fails.
#
# FUZZ_BUILD names another build directory; FUZZ_ARGS adds libFuzzer options.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=${*:-fuzz_frame fuzz_route_file fuzz_polyline}
build=${FUZZ_BUILD:-build-fuzz}
jobs=${CI_JOBS:-2}

mkdir -p "$build"
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 -DADVICEPATH_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DADVICEPATH_BUILD_TESTS=OFF \
  -DADVICEPATH_BUILD_BENCHMARKS=OFF -DADVICEPATH_WERROR=ON > "$build/configure.log" ||
  { cat "$build/configure.log"; exit 1; }
# shellcheck disable=SC2086
cmake --build "$build" -j"$jobs" --target $targets

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for target in $targets; do
  echo "== $target: $seconds s from fuzz/corpus/$target"
  mkdir -p "$scratch/$target" "$build/artifacts/$target"
  # shellcheck disable=SC2086
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout=25 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$target/" ${FUZZ_ARGS:-} \
    "$scratch/$target" "fuzz/corpus/$target" 2>"$scratch/$target.log" ||
    { tail -n 60 "$scratch/$target.log"; echo "== $target FAILED"; exit 1; }
  grep -E '^(#[0-9]+[[:space:]]+DONE|stat::)' "$scratch/$target.log" || true
done
