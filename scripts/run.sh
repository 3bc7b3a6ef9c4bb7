#!/usr/bin/env bash
# Installs what is missing, builds Tellavin and runs it. Without a display the
# command line shows the bundled sample Favorites folder.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"

cli=build/default/tellavin-cli
samples=resources/samples
echo "== Sample Favorites folder"
"$cli" count "favorites:$samples/Favorites"
"$cli" tree "favorites:$samples/Favorites"
echo "== Sample Opera hotlist"
"$cli" tree "$samples/hotlist.adr"
