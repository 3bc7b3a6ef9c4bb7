#!/usr/bin/env bash
# Installs what is missing, builds Tellavin and runs it: the desktop
# application when there is a display, else the command line on the bundled
# sample Favorites folder.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/default/bin/tellavin
fi

cli=build/default/bin/tellavin-cli
samples=resources/samples
echo "== Sample Favorites folder"
"$cli" count "favorites:$samples/Favorites"
"$cli" tree "favorites:$samples/Favorites"
echo "== Sample Opera hotlist"
"$cli" tree "$samples/hotlist.adr"
