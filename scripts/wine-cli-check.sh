#!/usr/bin/env bash
# Runs the Windows command line under Wine through all six conversions of
# the bundled samples, with the Wine prefix's own Favorites folder (as
# `discover` finds it, filled with the sample Favorites) as source and
# target, runs the POSIX command line through the same conversions on
# stores of its own, and checks that every result reads back as the same
# tree.
#   WINEPREFIX  an initialised Wine prefix (scripts/test.sh makes a fresh one)
# Needs build/default and build/windows built.
set -euo pipefail
cd "$(dirname "$0")/.."

samples=$PWD/resources/samples
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Both programs run as copies in the temporary folder, since each keeps
# its settings file beside itself and the conversions add to its total.
mkdir -p "$work/bin/windows" "$work/bin/posix"
windows_cli=$work/bin/windows/tellavin-cli.exe
posix_cli=$work/bin/posix/tellavin-cli
cp build/windows/bin/tellavin-cli.exe "$windows_cli"
cp build/default/bin/tellavin-cli "$posix_cli"

# The Windows program under Wine, its output without the CRs of text mode.
win() { wine "$windows_cli" "$@" | tr -d '\r'; }
winpath() { winepath -w "$1"; }

favorites_line=$(win discover | grep '^Favorites folder:' || true)
win_favorites=${favorites_line#Favorites folder:}
win_favorites=${win_favorites#"${win_favorites%%[![:space:]]*}"}
if [ -z "$win_favorites" ]; then
  echo "discover found no Favorites folder in the Wine prefix" >&2
  exit 1
fi
echo "Favorites folder under Wine: $win_favorites"

mkdir -p "$work/posix/Favorites" "$work/windows"
posix_favorites=$work/posix/Favorites
hotlist=$samples/hotlist.adr

# One conversion by each program: source and target for Windows, then for
# POSIX, then any options.
convert() {
  local name=$1 win_source=$2 win_target=$3 posix_source=$4 posix_target=$5
  shift 5
  echo "== $name"
  win convert -q "$win_source" "$win_target" "$@"
  "$posix_cli" convert -q "$posix_source" "$posix_target" "$@"
}

# Both Favorites folders start with the sample Favorites folder's links.
cp -r "$samples/Favorites/." "$(winepath -u "$win_favorites")/"
cp -r "$samples/Favorites/." "$posix_favorites/"

convert "Opera to Favorites" "opera:$(winpath "$hotlist")" "favorites:$win_favorites" \
  "opera:$hotlist" "favorites:$posix_favorites" --new-folder "From Opera"
convert "Favorites to Netscape" "favorites:$win_favorites" "netscape:$(winpath "$work/windows")\\fav.html" \
  "favorites:$posix_favorites" "netscape:$work/posix/fav.html"
convert "Favorites to Opera" "favorites:$win_favorites" "opera:$(winpath "$work/windows")\\fav.adr" \
  "favorites:$posix_favorites" "opera:$work/posix/fav.adr"
convert "Netscape to Opera" "netscape:$(winpath "$work/windows")\\fav.html" \
  "opera:$(winpath "$work/windows")\\netscape.adr" \
  "netscape:$work/posix/fav.html" "opera:$work/posix/netscape.adr"
convert "Opera to Netscape" "opera:$(winpath "$hotlist")" "netscape:$(winpath "$work/windows")\\opera.html" \
  "opera:$hotlist" "netscape:$work/posix/opera.html"
convert "Netscape to Favorites" "netscape:$(winpath "$work/windows")\\opera.html" "favorites:$win_favorites" \
  "netscape:$work/posix/opera.html" "favorites:$posix_favorites" --new-folder "From Netscape"

# Every result as each program reads it: the Windows one's results by both
# programs, the POSIX one's by itself; all three trees must be equal.
unix_favorites=$(winepath -u "$win_favorites")
failed=0
for result in favorites:Favorites netscape:fav.html opera:fav.adr opera:netscape.adr netscape:opera.html; do
  kind=${result%%:*}
  file=${result#*:}
  if [ "$kind" = favorites ]; then
    win_read=$(win tree "favorites:$win_favorites")
    windows_file=$unix_favorites
    posix_file=$posix_favorites
  else
    win_read=$(win tree "$kind:$(winpath "$work/windows")\\$file")
    windows_file=$work/windows/$file
    posix_file=$work/posix/$file
  fi
  posix_read_windows=$("$posix_cli" tree "$kind:$windows_file")
  posix_read=$("$posix_cli" tree "$kind:$posix_file")
  if [ "$win_read" = "$posix_read" ] && [ "$posix_read_windows" = "$posix_read" ]; then
    echo "same tree: $file ($(printf '%s\n' "$posix_read" | wc -l) lines)"
  else
    echo "DIFFERENT: $file" >&2
    diff <(printf '%s\n' "$posix_read") <(printf '%s\n' "$win_read") >&2 || true
    diff <(printf '%s\n' "$posix_read") <(printf '%s\n' "$posix_read_windows") >&2 || true
    failed=1
  fi
done
exit $failed
