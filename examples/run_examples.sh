#!/bin/sh
# run_examples.sh DIR: runs the examples built in DIR and checks what each prints. Fails
# (status 1) with the program's output when one fails or prints something else.
set -eu
dir=${1:?usage: run_examples.sh DIR}

# expect PROGRAM PATTERN...: PROGRAM succeeds and prints a line matching each PATTERN.
expect() {
  program=$1
  shift
  out=$("$dir/$program") || { echo "run_examples: $program failed:"; echo "$out"; exit 1; }
  for pattern in "$@"; do
    printf '%s\n' "$out" | grep -q -E -- "$pattern" ||
      { echo "run_examples: $program printed no line like '$pattern':"; echo "$out"; exit 1; }
  done
}

expect advicepath_example '^DrawPolygon count=3 '
# The arrow at scale indices 0 and 1 and not at 2 (the table's largest arrow scale is 1), none
# once hidden, no route after Clear, the red line throughout. At 1 m per pixel the arrow
# reaches 40 m before the turn and the whole 111 m exit road plus 30 + 1.1 x 15 m after it.
expect host_frame_loop \
  '^frame 0: 10 route edges, 6 arrow strokes, 1 head outlines, 1 head fills, 1 red lines, arrow 51 x 158 px$' \
  '^frame 2: 10 route edges, 6 arrow strokes, 1 head outlines, 1 head fills, 1 red lines, arrow 50 x 101 px$' \
  '^frame 3: 10 route edges, 0 arrow strokes, 0 head outlines, 0 head fills, 1 red lines$' \
  '^frame 4: 10 route edges, 4 arrow strokes, 1 head outlines, 1 head fills, 1 red lines' \
  '^frame 6: 10 route edges, 0 arrow strokes, 0 head outlines, 0 head fills, 1 red lines$' \
  '^frame 7: 0 route edges, 0 arrow strokes, 0 head outlines, 0 head fills, 1 red lines$'
expect log_setup \
  '^[0-9:,]+ ERROR  pathRender source/render/advicepathrender.cpp:[0-9]+ AdvicePathRender::SetSize: AdvicePathSizeSetting is NULL$' \
  '^[0-9:,]+ ERROR  pathRender source/render/advicepathrender.cpp:[0-9]+ AdvicePathRender::DrawPath: mp_Path->GetFirstPosition\(\) failed$'
# Route and strokes as polylines; the head closed twice: its outline 3 px wide, then filled
# in the arrow colour (white).
expect svg_frame '^<svg ' "<polygon points='[^']*' fill='none' stroke='#000000' stroke-width='3'/>" \
  "<polygon points='[^']*' fill='#ffffff'/>" "<polyline points='[^']*' fill='none' stroke='#1b1292'"
lines=$("$dir/log_setup" | wc -l)
[ "$lines" -eq 2 ] || { echo "run_examples: log_setup printed $lines lines, not 2"; exit 1; }
echo "run_examples: passed"
