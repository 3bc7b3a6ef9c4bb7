#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz preset: clang with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS seconds, one after
# the other.
#
#   scripts/fuzz.sh SECONDS [TARGET...]     e.g. scripts/fuzz.sh 60 netscape_reader_fuzz
#
# Each target starts from seeds: its files from the shared corpus beside the
# checkout (when present), our fixtures in tests/data and small collections
# from bench/generate.py. What a run discovers is kept in
# build/fuzz/corpus/TARGET and grows from run to run. An input that crashes
# a target is saved as build/fuzz/crashes/TARGET-crash-... and the script
# exits non-zero after the remaining targets ran.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 1 ] || ! [[ $1 =~ ^[0-9]+$ ]]; then
    echo "usage: scripts/fuzz.sh SECONDS [TARGET...]" >&2
    exit 2
fi
seconds=$1
shift

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j 2 >/dev/null

build=build/fuzz
corpus=../shared/corpus
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for program in "$build"/fuzz/*_fuzz; do
        targets+=("$(basename "$program")")
    done
fi

# seed TARGET DIR: fills DIR with the target's starting inputs.
seed() {
    local target=$1 dir=$2
    rm -rf "$dir"
    mkdir -p "$dir"
    copy() { for file in "$@"; do [ -f "$file" ] && cp "$file" "$dir/" || true; done; }
    case $target in
    internet_shortcut_fuzz)
        copy "$corpus"/url/* tests/data/url/*
        python3 bench/generate.py favorites --links 30 --fanout 2 --out "$dir/tree" >/dev/null
        find "$dir/tree" -name '*.url' -exec mv {} "$dir/" \;
        rm -rf "$dir/tree"
        ;;
    ini_document_fuzz | *setting*_fuzz)
        copy "$corpus"/ini/* "$corpus"/url/* tests/data/settings/* tests/data/url/*
        ;;
    netscape*_fuzz)
        copy "$corpus"/netscape/* tests/data/netscape/*
        python3 bench/generate.py netscape --links 60 --fanout 3 --out "$dir/generated.html" >/dev/null
        ;;
    chromium*_fuzz)
        copy "$corpus"/chromium/* tests/data/browsers/*.json
        ;;
    firefox_backup*_fuzz)
        copy "$corpus"/firefox-backup/* tests/data/browsers/firefox-backup/*
        ;;
    xbel*_fuzz)
        copy "$corpus"/xbel/* tests/data/xbel/*
        ;;
    safari*_fuzz)
        copy "$corpus"/safari/* tests/data/safari/*.plist
        ;;
    opera*_fuzz)
        copy "$corpus"/opera/* tests/data/opera/*
        python3 bench/generate.py opera --links 60 --fanout 3 --out "$dir/generated.adr" >/dev/null
        ;;
    *)
        copy "$corpus"/netscape/* "$corpus"/opera/*
        ;;
    esac
}

failed=()
mkdir -p "$build/crashes"
for target in "${targets[@]}"; do
    program=$build/fuzz/$target
    if [ ! -x "$program" ]; then
        echo "no fuzz target $target" >&2
        exit 2
    fi
    seeds=$build/seeds/$target
    seed "$target" "$seeds"
    mkdir -p "$build/corpus/$target"
    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536
        -print_final_stats=1 -artifact_prefix="$build/crashes/$target-")
    dict=fuzz/${target%_fuzz}.dict
    [ -f "$dict" ] && options+=(-dict="$dict")
    echo "== $target: $seconds s"
    if ! "$program" "${options[@]}" "$build/corpus/$target" "$seeds" >"$build/$target.log" 2>&1; then
        failed+=("$target")
        tail -n 40 "$build/$target.log"
    fi
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ +DONE)' \
        "$build/$target.log" || true
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz targets that failed: ${failed[*]} (inputs in $build/crashes/)" >&2
    exit 1
fi
echo "all ${#targets[@]} fuzz targets ran $seconds s clean"
