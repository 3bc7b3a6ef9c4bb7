#!/usr/bin/env bash
# Takes screenshots of the main window at both levels, with a path window
# open, of the about box and of the selection window (a Favorites folder
# with icons, a bookmark file with favicons), on a virtual X display with a window manager,
# into screenshots/ (ignored by git).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
extras=(xvfb xauth openbox)
missing=()
for p in "${extras[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake --preset default >/dev/null
cmake --build --preset default -j2 --target tellavin_screenshots

mkdir -p screenshots
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash -c '
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
  status=0
  build/default/tests/gui/tellavin_screenshots screenshots || status=$?
  kill "$wm" 2>/dev/null || true
  exit "$status"
'
