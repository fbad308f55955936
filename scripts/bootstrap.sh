#!/bin/sh
# bootstrap.sh: installs the Debian packages this project builds with, when any is missing.
# Runs apt-get as root (directly, or through sudo when available). Safe to run repeatedly.
set -eu
packages="cmake g++ make pkg-config git libgtest-dev libgmock-dev libbenchmark-dev
          liblog4cpp5-dev libcairo2-dev libfontconfig-dev nlohmann-json3-dev libpugixml-dev
          clang-format-14 binutils clang-14 libclang-rt-14-dev gcovr abigail-tools
          doxygen dpkg-dev file"
# The studio: its web server and fast PNGs, and the browser its test drives (headless).
packages="$packages libcpp-httplib-dev zlib1g-dev chromium"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
    missing="$missing $p"
done
# The studio's browser test runs on Node.js with npm; a machine that has them from elsewhere
# keeps its own.
command -v node >/dev/null 2>&1 && command -v npm >/dev/null 2>&1 || missing="$missing nodejs npm"
[ -z "$missing" ] && exit 0
echo "bootstrap: installing$missing"
if [ "$(id -u)" -eq 0 ]; then as_root=""; else as_root="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$as_root apt-get update -q
# shellcheck disable=SC2086
$as_root apt-get install -y -q --no-install-recommends $missing
