#!/bin/sh
# abi_check.sh record|check [BUILD_DIR]
# abi_check.sh compare OLD NEW
#
# The ABI of the two shared libraries is a promise to hosts that do not rebuild. Both modes
# first build the libraries with scripts/dist_build.sh in BUILD_DIR (default build-dist).
#   record   writes their ABI (abidw) to abi/<so-name>.abi, for example
#            abi/libadvicepathrender.so.1.abi. Run it once a change of the ABI is deliberate,
#            and commit the files with the change.
#   check    compares each library with its recorded ABI (abidiff) and prints the report.
#            Fails (status 1) on an incompatible change: a function or variable removed, or a
#            change to one, its types included (a record's layout, a virtual table). Added
#            functions and variables are compatible: reported, and the check passes. A
#            library whose so-name has no recorded ABI fails too: a deliberate break bumps
#            the so-name, records the new ABI and says so in CHANGELOG.md.
#   compare  the same decision for two ABIs, each an .abi file or a library.
# abi/suppressions.abignore lists what is left out of the comparison. Needs abidw and
# abidiff (Debian package abigail-tools).
set -eu
cd "$(dirname "$0")/.."
usage="usage: abi_check.sh record|check [BUILD_DIR] | compare OLD NEW"
mode=${1:?$usage}
suppressions=abi/suppressions.abignore

# abi_of LIBRARY OUT: the library's ABI, the types of its installed headers only.
abi_of() {
  abidw --no-corpus-path --no-comp-dir-path --short-locs --type-id-style hash \
    --drop-private-types --hd include --hd source/outside --suppressions "$suppressions" \
    --out-file "$2" "$1"
}

# compare OLD NEW [NAME]: abidiff's report; false on an incompatible change.
compare() {
  name=${3:-$2}
  status=0
  report=$(abidiff --suppressions "$suppressions" --no-show-locs "$1" "$2") || status=$?
  [ -n "$report" ] && printf '%s\n' "$report"
  # abidiff's status is a bit set: 1 error, 2 usage error, 4 a change, 8 an incompatible one.
  if [ $((status & 3)) -ne 0 ]; then
    echo "abi_check: abidiff failed (status $status) on $1 and $2"; return 1
  fi
  if [ $((status & 8)) -ne 0 ]; then
    echo "abi_check: INCOMPATIBLE: $name removes or changes what $1 offered"; return 1
  fi
  if [ $((status & 4)) -ne 0 ]; then
    # A change abidiff does not call incompatible by itself: a changed type is one, only
    # additions are not. The summary lines count both.
    if printf '%s\n' "$report" | grep -E 'changes summary:' |
         grep -q -E '[1-9][0-9]* (Removed|Changed)'; then
      echo "abi_check: INCOMPATIBLE: $name changes what $1 offered"; return 1
    fi
    echo "abi_check: compatible: $name only adds to $1"
    return 0
  fi
  echo "abi_check: $name keeps the ABI of $1"
}

libraries() {
  echo "$1/source/render/libadvicepathrender.so.1"
  echo "$1/source/outside/libadvicepathoutside.so.1"
}

case "$mode" in
  compare)
    [ $# -eq 3 ] || { echo "$usage"; exit 2; }
    compare "$2" "$3"
    exit $?
    ;;
  record | check) ;;
  *) echo "$usage"; exit 2 ;;
esac

build=${2:-build-dist}
scripts/dist_build.sh "$build" advicepathrender advicepath_outside
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for lib in $(libraries "$build"); do
  soname=$(readelf -d "$lib" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
  [ -n "$soname" ] || { echo "abi_check: $lib has no so-name"; exit 1; }
  abi_of "$lib" "$work/$soname.abi"
  if [ "$mode" = record ]; then
    cp "$work/$soname.abi" "abi/$soname.abi"
    echo "abi_check: recorded abi/$soname.abi"
    continue
  fi
  echo "== $soname"
  if [ ! -f "abi/$soname.abi" ]; then
    echo "abi_check: no recorded ABI for $soname: a new so-name needs"
    echo "  scripts/abi_check.sh record, and an entry in CHANGELOG.md"
    failed=1
    continue
  fi
  compare "abi/$soname.abi" "$work/$soname.abi" "$lib" || failed=1
done
exit "$failed"
