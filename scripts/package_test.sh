#!/bin/sh
# package_test.sh [BUILD_DIR]
# Builds the Debian packages (CPack) from scripts/dist_build.sh's tree in BUILD_DIR (default
# build-dist), checks their control data, installs them with dpkg into an empty root whose
# package database is a copy of this machine's (so that dpkg checks every dependency against
# the packages really installed here), then builds the examples against the installed files
# through CMake and pkg-config, runs them, and runs the installed advicepath program.
# Needs root (dpkg), dpkg-shlibdeps (Debian package dpkg-dev) and the build's own packages.
set -eu
cd "$(dirname "$0")/.."
source=$(pwd)
build=${1:-build-dist}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package_test: $*"; exit 1; }

scripts/dist_build.sh "$build" > "$work/build.log" || { cat "$work/build.log"; exit 1; }
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB) > "$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
runtime="$build/libadvicepathrender1_${version}_amd64.deb"
devel="$build/libadvicepathrender-dev_${version}_amd64.deb"
program="$build/advicepath_${version}_amd64.deb"
for deb in "$runtime" "$devel" "$program"; do [ -f "$deb" ] || fail "no $deb"; done

echo "== control data"
# field DEB NAME: one field of a package's control file.
field() { dpkg-deb -f "$1" "$2"; }
field "$runtime" Depends | grep -q 'liblog4cpp5v5' || fail "runtime does not depend on log4cpp"
field "$devel" Depends | grep -q "libadvicepathrender1 (= $version)" ||
  fail "devel does not depend on its own runtime"
field "$devel" Depends | grep -q 'liblog4cpp5-dev' || fail "devel does not depend on log4cpp's"
field "$program" Depends | grep -q "libadvicepathrender1 (= $version)" ||
  fail "the program does not depend on the runtime"
field "$program" Depends | grep -q 'libcairo2' || fail "the program does not depend on Cairo"
dpkg-deb -e "$runtime" "$work/control"
grep -q -x 'activate-noawait ldconfig' "$work/control/triggers" || fail "no ldconfig trigger"
grep -q -x "libadvicepathrender 1 libadvicepathrender1 (>= $version)" "$work/control/shlibs" &&
  grep -q -x "libadvicepathoutside 1 libadvicepathrender1 (>= $version)" "$work/control/shlibs" ||
  fail "shlibs does not name both so-names"

echo "== install into an empty root"
root="$work/root"
admin="$root/var/lib/dpkg"
mkdir -p "$admin/info" "$admin/updates" "$admin/triggers"
# This machine's installed packages, without the triggers they may still await: the root
# has none of their maintainer scripts to run.
awk 'BEGIN { RS = ""; ORS = "\n\n" } /\nStatus: install ok installed\n/' /var/lib/dpkg/status |
  grep -v -E '^Triggers-(Pending|Awaited):' > "$admin/status"
: > "$admin/available"
# The maintainer scripts run outside the root, where the ldconfig they call would rebuild
# this machine's cache: an ldconfig that does nothing stands in for it.
mkdir "$work/bin"
printf '#!/bin/sh\nexit 0\n' > "$work/bin/ldconfig"
chmod +x "$work/bin/ldconfig"
PATH="$work/bin:$PATH" dpkg --root="$root" --force-script-chrootless --log=/dev/null \
  -i "$runtime" "$devel" "$program" > "$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; exit 1; }
libdir=$(dirname "$(find "$root/usr/lib" -name 'libadvicepathrender.so.1' | head -n 1)")
[ -f "$libdir/libadvicepathrender.so.1" ] || fail "libadvicepathrender.so.1 not installed"
for so in libadvicepathrender.so.1 libadvicepathoutside.so.1; do
  readelf -d "$libdir/$so" | grep -q "SONAME.*\[$so\]" || fail "$so has another so-name"
done
"$source/scripts/check_exports.sh" "$libdir/libadvicepathrender.so.1" > /dev/null

echo "== examples against the installed package"
export LD_LIBRARY_PATH="$libdir"
cmake -S examples -B "$work/cmake" -DCMAKE_PREFIX_PATH="$root/usr" > "$work/cfg.log" 2>&1 ||
  { cat "$work/cfg.log"; exit 1; }
grep -q "^advicepathrender_DIR:PATH=$root/usr/lib" "$work/cmake/CMakeCache.txt" ||
  fail "CMake found the package outside the root"
cmake --build "$work/cmake" > "$work/cmake.log" 2>&1 || { cat "$work/cmake.log"; exit 1; }
examples/run_examples.sh "$work/cmake"
# pkg-config reads the installed file; the sysroot puts its /usr paths inside the root.
export PKG_CONFIG_PATH="$libdir/pkgconfig" PKG_CONFIG_SYSROOT_DIR="$root"
mkdir "$work/pc"
for example in advicepath_example host_frame_loop log_setup svg_frame; do
  file=$example.cpp
  [ "$example" = advicepath_example ] && file=example.cpp
  # shellcheck disable=SC2046
  c++ -std=c++17 -o "$work/pc/$example" "examples/$file" \
    $(pkg-config --cflags --libs advicepathrender log4cpp)
done
examples/run_examples.sh "$work/pc"

echo "== the advicepath program"
"$root/usr/bin/advicepath" render --out "$work/route.png" > /dev/null
[ -s "$work/route.png" ] || fail "advicepath wrote no picture"

echo "package_test: passed ($(cd "$build" && ls ./*.deb | tr '\n' ' '))"
