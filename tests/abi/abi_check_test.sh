#!/bin/sh
# abi_check_test.sh SOURCE_DIR
# The ABI check's decisions on the recorded ABI of libadvicepathrender and on copies of it
# with one change each: a removed member function and a record that grew must fail it, an
# added function must pass it, and the recorded ABI must keep itself.
set -eu
source=${1:?usage: abi_check_test.sh SOURCE_DIR}
check="$source/scripts/abi_check.sh"
recorded="$source/abi/libadvicepathrender.so.1.abi"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# expect STATUS WORDS OLD NEW: the check's status (pass or fail) and a word of its verdict.
expect() {
  status=pass
  "$check" compare "$3" "$4" > "$work/out" 2>&1 || status=fail
  if [ "$status" != "$1" ] || ! grep -q -F "$2" "$work/out"; then
    echo "abi_check_test: expected $1 with '$2' for $3 -> $4, got $status:"
    cat "$work/out"; exit 1
  fi
}

# Without AdvicePathRenderEx::Draw: its symbol and its declaration gone.
awk '
  /<elf-symbol name=._ZN18AdvicePathRenderEx4DrawEbb./ { next }
  /<member-function/ { held = $0; next }
  held != "" && /mangled-name=._ZN18AdvicePathRenderEx4DrawEbb./ { skip = 1; held = "" }
  held != "" { print held; held = "" }
  skip { if (/<\/member-function>/) skip = 0; next }
  { print }' "$recorded" > "$work/no-draw.abi"
grep -q '_ZN18AdvicePathRenderEx4DrawEbb' "$work/no-draw.abi" &&
  { echo "abi_check_test: Draw still in the edited ABI"; exit 1; }

# AdvicePathClrSetting with a fifth colour before arrowBorderColor: 160 bits, the last field
# moved.
sed -e "s/\(<class-decl name='AdvicePathClrSetting' size-in-bits='\)128'/\1160'/" \
    -e "/layout-offset-in-bits='96'/{N;s/layout-offset-in-bits='96'\(.*name='arrowBorderColor'\)/layout-offset-in-bits='128'\1/;}" \
    "$recorded" > "$work/wider-colours.abi"
grep -q "size-in-bits='160'" "$work/wider-colours.abi" &&
  grep -q "offset-in-bits='128'" "$work/wider-colours.abi" ||
  { echo "abi_check_test: the colour record was not edited"; exit 1; }

expect pass "keeps the ABI" "$recorded" "$recorded"
expect fail "INCOMPATIBLE" "$recorded" "$work/no-draw.abi"
expect pass "only adds" "$work/no-draw.abi" "$recorded"
expect fail "INCOMPATIBLE" "$recorded" "$work/wider-colours.abi"
echo "abi_check_test: passed"
