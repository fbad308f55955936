#!/bin/sh
# check_guide_snippets.sh [GUIDE]: every code block that the guide (default
# docs/host-guide.md) quotes from a file must equal that file's marked region, so that the
# guide shows only code that CI builds and runs. A quoted block follows a line
#   <!-- snippet: PATH NAME -->
# (PATH from the project root) and is the fenced block right after it; the region is the
# lines between "[guide:NAME]" and "[/guide:NAME]" comment lines in PATH (// or #).
# Prints a diff and fails (status 1) for each block that differs or whose region is missing.
set -eu
cd "$(dirname "$0")/.."
guide=${1:-docs/host-guide.md}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Writes each quoted block to $work/N.block and "N PATH NAME" to $work/list.
awk -v work="$work" '
  /^<!-- snippet: [^ ]+ [^ ]+ -->$/ { n++; path = $3; name = $4; want = 1; next }
  want && /^```/ { want = 0; inside = 1; print n, path, name > (work "/list");
                   printf "" > (work "/" n ".block"); next }
  want { print "check_guide_snippets: no code block after snippet " path " " name;
         exit 1 }
  inside && /^```$/ { inside = 0; next }
  inside { print > (work "/" n ".block") }
' "$guide"
[ -s "$work/list" ] || { echo "check_guide_snippets: $guide quotes no file"; exit 1; }

failed=0
count=0
while read -r n path name; do
  count=$((count + 1))
  [ -f "$path" ] || { echo "check_guide_snippets: $path does not exist"; failed=1; continue; }
  awk -v name="$name" '
    $0 ~ "^[ \t]*(//|#) \\[/guide:" name "\\]$" { inside = 0; found = 1 }
    inside { print }
    $0 ~ "^[ \t]*(//|#) \\[guide:" name "\\]$" { inside = 1 }
    END { if (!found) exit 1 }
  ' "$path" > "$work/$n.region" ||
    { echo "check_guide_snippets: $path has no region $name"; failed=1; continue; }
  if ! diff -u "$work/$n.region" "$work/$n.block" > "$work/$n.diff"; then
    echo "check_guide_snippets: $guide quotes $path $name differently:"
    sed -e "s|$work/$n.region|$path [$name]|" -e "s|$work/$n.block|$guide|" "$work/$n.diff"
    failed=1
  fi
done < "$work/list"
[ "$failed" -eq 0 ] && echo "check_guide_snippets: $count quoted blocks match their files"
exit "$failed"
