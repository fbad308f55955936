#!/bin/sh
# readme_command.sh PROGRAM
# Runs the README's command, "advicepath render --out route.png", in a fresh empty directory
# (so nothing but the program itself is at hand) and checks that it wrote an 800 x 600 PNG
# and nothing else.
set -eu
program=${1:?usage: readme_command.sh PROGRAM}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$program" render --out route.png
# The PNG signature, then the IHDR chunk's width and height as 32-bit big-endian numbers.
header=$(od -An -tx1 -N24 route.png | tr -d ' \n')
[ "${header%"${header#????????????????}"}" = 89504e470d0a1a0a ] ||
  { echo "readme_command: route.png is no PNG ($header)"; exit 1; }
size=$(echo "$header" | cut -c33-48)
[ "$size" = 0000032000000258 ] || { echo "readme_command: route.png is not 800x600 ($size)"; exit 1; }
[ "$(ls -A)" = route.png ] || { echo "readme_command: left behind: $(ls -A)"; exit 1; }
echo "readme_command: route.png written"
