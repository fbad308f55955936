#!/bin/sh
# check_exports.sh LIBRARY
# Fails (exit 1) when the shared library exports a defined dynamic symbol that is not part of
# the renderer's public interface: the two settings records' operations, the handle class
# (members, virtual table, type info) and the three free functions. Symbols the toolchain
# defines in every library (_init, _fini, the version node) are allowed.
set -eu
lib=${1:?usage: check_exports.sh LIBRARY}
[ -r "$lib" ] || { echo "check_exports: cannot read $lib" >&2; exit 2; }
symbols=$(nm -D --defined-only -C "$lib" | sed -E -e 's/^[0-9a-fA-F]+ [A-Za-z] //' -e 's/@@?[A-Za-z0-9_.]+$//') || {
  echo "check_exports: nm failed on $lib" >&2; exit 2; }
[ -n "$symbols" ] || { echo "check_exports: $lib exports nothing" >&2; exit 1; }
stray=$(printf '%s\n' "$symbols" | grep -v -E \
  -e '^AdvicePathClrSetting::' \
  -e '^AdvicePathSizeSetting::' \
  -e '^AdvicePathRenderEx::' \
  -e '^(vtable|typeinfo|typeinfo name) for AdvicePathRenderEx$' \
  -e '^NewPathRender\(CNavPath\*, void\*\)$' \
  -e '^ClosePathRender\(AdvicePathRenderEx\*\)$' \
  -e '^GetAdvicePath\(\)$' \
  -e '^(_init|_fini|_edata|_end|__bss_start)$' \
  -e '^ADVICEPATHRENDER_[0-9.]+$' || true)
if [ -n "$stray" ]; then
  echo "check_exports: $lib exports symbols outside the public interface:" >&2
  printf '  %s\n' "$stray" >&2
  exit 1
fi
for required in 'NewPathRender(CNavPath*, void*)' 'ClosePathRender(AdvicePathRenderEx*)' \
                'GetAdvicePath()' 'vtable for AdvicePathRenderEx' \
                'AdvicePathRenderEx::Draw(bool, bool)'; do
  printf '%s\n' "$symbols" | grep -q -x -F "$required" || {
    echo "check_exports: $lib does not export $required" >&2; exit 1; }
done
echo "check_exports: $lib exports exactly the public interface"
