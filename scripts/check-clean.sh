#!/usr/bin/env bash
# Checks that a test run left nothing behind, as tests write only into
# temporary folders. Fails, listing what it found, when git status shows
# anything in the checkout, or when a settings file of the programs
# (tellavin.ini, ColorPreset.ini, or a file named after one, such as a
# lock) below build/ is newer than MARKER, a file made before the tests
# ran. Older settings files there are left alone: the programs keep their
# settings beside themselves, so running one from the build by hand makes
# them.
#   scripts/check-clean.sh MARKER
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -ne 1 ] || [ ! -e "$1" ]; then
  echo "usage: scripts/check-clean.sh MARKER (a file made before the tests ran)" >&2
  exit 2
fi
marker=$1

clean=true
changes=$(git status --porcelain)
if [ -n "$changes" ]; then
  echo "The tests left the checkout changed:" >&2
  echo "$changes" >&2
  clean=false
fi
settings=""
if [ -d build ]; then
  settings=$(find build \( -name 'tellavin.ini*' -o -name 'ColorPreset.ini*' \) \
    -newer "$marker" -print | sort)
fi
if [ -n "$settings" ]; then
  echo "The tests left settings files in the build:" >&2
  echo "$settings" >&2
  clean=false
fi
$clean
