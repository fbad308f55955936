#!/bin/sh
# install_test.sh BUILD_DIR SOURCE_DIR [with-program|without-program]
# Installs the build into a fresh prefix, then builds the examples against the installed
# package twice, through CMake's find_package and through pkg-config, each with warnings as
# errors, and runs them (examples/run_examples.sh checks what they print). Fails when a
# header, a library, a dependency or the SONAME is missing from the install.
set -eu
build=${1:?usage: install_test.sh BUILD_DIR SOURCE_DIR}
source=${2:?usage: install_test.sh BUILD_DIR SOURCE_DIR}
program=${3:-with-program}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
# What the examples must build cleanly with, headers included.
example_flags="-Wall -Wextra -Wpedantic -Werror -Wzero-as-null-pointer-constant"

cmake --install "$build" --prefix "$prefix" > "$work/install.log"
lib=$(find "$prefix" -name 'libadvicepathrender.so.*.*' | head -n 1)
libdir=$(dirname "$lib")
[ -n "$lib" ] || { echo "install_test: libadvicepathrender not installed"; exit 1; }
readelf -d "$lib" | grep -q 'SONAME.*\[libadvicepathrender\.so\.1\]' ||
  { echo "install_test: no SONAME libadvicepathrender.so.1"; readelf -d "$lib"; exit 1; }
if [ "$program" = with-program ] && [ ! -x "$prefix/bin/advicepath" ]; then
  echo "install_test: advicepath not installed"; exit 1
fi

# Every library of ours that a program needs must resolve inside the prefix.
check_ldd() {
  if ldd "$1" | grep -E 'libadvicepath' | grep -v -F "$prefix/" ; then
    echo "install_test: $1 resolves a library of ours outside $prefix"; exit 1
  fi
  if ldd "$1" | grep -q 'not found'; then
    echo "install_test: $1 has unresolved libraries"; ldd "$1"; exit 1
  fi
}

examples="advicepath_example host_frame_loop log_setup svg_frame"

echo "== CMake package"
# The installed headers are compiled as the examples' own (not as system headers), so that a
# warning they would give a host's build fails here.
cmake -S "$source/examples" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_NO_SYSTEM_FROM_IMPORTED=ON -DCMAKE_CXX_FLAGS="$example_flags" > "$work/cfg.log" ||
  { cat "$work/cfg.log"; exit 1; }
cmake --build "$work/cmake-build" > "$work/build.log" || { cat "$work/build.log"; exit 1; }
for example in $examples; do check_ldd "$work/cmake-build/$example"; done
"$source/examples/run_examples.sh" "$work/cmake-build"

echo "== pkg-config"
export PKG_CONFIG_PATH="$libdir/pkgconfig"
mkdir "$work/pc"
for example in $examples; do
  case $example in
    advicepath_example) file=example.cpp ;;
    *) file=$example.cpp ;;
  esac
  # The link line the host's guide gives: log4cpp's flags for a host that sets up logging.
  # shellcheck disable=SC2046,SC2086
  c++ -std=c++17 $example_flags -o "$work/pc/$example" "$source/examples/$file" \
    $(pkg-config --cflags --libs advicepathrender log4cpp) -Wl,-rpath,"$libdir"
  check_ldd "$work/pc/$example"
done
"$source/examples/run_examples.sh" "$work/pc"

# The headers are reached only through their directory, so that names such as path.h or
# logging.h cannot collide with another library's on the same include path.
echo "== include prefix"
printf '#include <path.h>\n' > "$work/bare.cpp"
# shellcheck disable=SC2046
if c++ -std=c++17 -fsyntax-only $(pkg-config --cflags advicepathrender) "$work/bare.cpp" \
     2> /dev/null; then
  echo "install_test: <path.h> is reachable without the advicepathrender/outside/ prefix"; exit 1
fi
if grep 'INTERFACE_INCLUDE_DIRECTORIES' "$libdir/cmake/advicepathrender/advicepathrenderTargets.cmake" |
     grep -q 'include/advicepathrender'; then
  echo "install_test: the CMake package puts a directory inside include/ on the include path"; exit 1
fi

[ "$program" = with-program ] && check_ldd "$prefix/bin/advicepath"
echo "install_test: passed"
