#!/bin/sh
# run_browser_test.sh PROGRAM SOURCE_DIR WORK_DIR [--screenshot FILE]
# The studio in a real browser: installs puppeteer-core with `npm ci` from the committed lock
# file into WORK_DIR (once per lock file; it never downloads a browser), then runs
# browser_test.mjs against the system's Chromium. Exit status 77 (skipped) only when Chromium
# is not installed; scripts/bootstrap.sh installs it, so in CI the test runs.
set -eu
program=${1:?usage: run_browser_test.sh PROGRAM SOURCE_DIR WORK_DIR [--screenshot FILE]}
source=${2:?source directory}
work=${3:?work directory}
shift 3
chromium=${ADVICEPATH_CHROMIUM:-/usr/bin/chromium}
if [ ! -x "$chromium" ]; then
  echo "browser test: $chromium is not installed (scripts/bootstrap.sh installs it): skipped"
  exit 77
fi
here="$source/tests/studio"
mkdir -p "$work"
if ! cmp -s "$here/package-lock.json" "$work/package-lock.json" ||
   [ ! -d "$work/node_modules/puppeteer-core" ]; then
  cp "$here/package.json" "$here/package-lock.json" "$work/"
  (cd "$work" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund \
     --loglevel=error)
fi
cp "$here/browser_test.mjs" "$work/"
exec node "$work/browser_test.mjs" --program "$program" --style "$source/data/style.json" \
  --chromium "$chromium" "$@"
