#!/bin/sh
# bootstrap.sh: installs the Debian packages this project builds with, when any is missing.
# Runs apt-get as root (directly, or through sudo when available). Safe to run repeatedly.
set -eu
packages="cmake g++ make pkg-config git libgtest-dev libgmock-dev libbenchmark-dev
          liblog4cpp5-dev libcairo2-dev libfontconfig-dev nlohmann-json3-dev libpugixml-dev
          clang-format-14 binutils clang-14 libclang-rt-14-dev gcovr abigail-tools
          doxygen dpkg-dev file"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
    missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "bootstrap: installing$missing"
if [ "$(id -u)" -eq 0 ]; then as_root=""; else as_root="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$as_root apt-get update -q
# shellcheck disable=SC2086
$as_root apt-get install -y -q --no-install-recommends $missing
