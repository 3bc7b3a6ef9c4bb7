#!/usr/bin/env bash
# Times reading a Chromium "Bookmarks" file against reading an Opera hotlist
# of the same links, as whole tellavin-cli processes, and prints time per
# byte of file and peak memory.
#
#   bench/chromium.sh [SIZE...]        sizes in links, default: 100k 1M
#
# Both files come from bench/generate.py with the same arguments, so they
# hold the same folders and links (the Chromium file has its bookmarks bar
# beside them, the hotlist its Trash). `count` reads a store and counts it;
# `convert` also builds the tree and writes it as a Netscape-format file.
# Each command runs once to warm the page cache, then REPEAT times (default
# 3); the fastest run counts, with /usr/bin/time -v's maximum resident set
# size as its peak.
#
# TELLAVIN_CLI=PATH measures that tellavin-cli (such as one built from the
# commit before a change) instead of building a release one.
set -euo pipefail
cd "$(dirname "$0")/.."

repeat=${REPEAT:-3}
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(100k 1M)
data=bench/data
mkdir -p "$data"
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tellavin-bench.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

if [ -n "${TELLAVIN_CLI:-}" ]; then
    cli=$(realpath "$TELLAVIN_CLI")
else
    echo "== building tellavin-cli (release)" >&2
    cmake --preset release -DTELLAVIN_BUILD_GUI=OFF >/dev/null
    cmake --build --preset release -j 2 --target tellavin-cli >&2
    cli=$PWD/build/release/bin/tellavin-cli
fi

# generate FORMAT SIZE PATH: writes the collection unless it is there, with
# the generator's summary (folders, links, bytes) beside it.
generate() {
    if [ ! -e "$3.json" ] || [ bench/generate.py -nt "$3.json" ]; then
        echo "== generating $1 $2" >&2
        python3 bench/generate.py "$1" --links "$2" --out "$3" >"$3.json"
    fi
}
bytes_of() {
    python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["bytes"])' "$1.json"
}

declare -A seconds peak
# measure KEY CMD...: the fastest of REPEAT runs after a warm-up run.
measure() {
    local key=$1 best="" i start end elapsed
    shift
    "$@" >/dev/null
    for ((i = 0; i < repeat; i++)); do
        start=$EPOCHREALTIME
        /usr/bin/time -v -o "$scratch/time" "$@" >/dev/null
        end=$EPOCHREALTIME
        elapsed=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", b - a }')
        if [ -z "$best" ] || awk -v x="$elapsed" -v y="$best" 'BEGIN { exit !(x < y) }'; then
            best=$elapsed
            peak[$key]=$(awk '/Maximum resident set size/ { print $NF }' "$scratch/time")
        fi
    done
    seconds[$key]=$best
}

echo "| links | file | command | time | ns / byte | peak | peak / file | per byte / hotlist count |"
echo "|---|---|---|---|---|---|---|---|"
for size in "${sizes[@]}"; do
    generate chromium "$size" "$data/chromium-$size"
    generate opera "$size" "$data/opera-$size.adr"
    declare -A files=([chromium]="$data/chromium-$size" [opera]="$data/opera-$size.adr")
    for kind in opera chromium; do
        file=${files[$kind]}
        measure "$kind/count" "$cli" count "$kind:$file"
        measure "$kind/convert" sh -c 'rm -f "$3"; exec "$1" convert "$2" "netscape:$3"' _ \
            "$cli" "$kind:$file" "$scratch/out.html"
    done
    opera_per_byte=$(awk -v s="${seconds[opera/count]}" -v b="$(bytes_of "${files[opera]}")" \
        'BEGIN { print s / b }')
    for key in opera/count opera/convert chromium/count chromium/convert; do
        kind=${key%%/*}
        bytes=$(bytes_of "${files[$kind]}")
        awk -v size="$size" -v key="$key" -v s="${seconds[$key]}" -v k="${peak[$key]}" \
            -v b="$bytes" -v o="$opera_per_byte" 'BEGIN {
                printf "| %s | %d MB | %s | %.3f s | %.2f | %d MB | %.2f | %.2f |\n",
                    size, b / 1000000, key, s, s / b * 1e9, k / 1024, k * 1024 / b, s / b / o }'
    done
done
