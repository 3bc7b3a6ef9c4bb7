#!/usr/bin/env bash
# Installs what is missing, checks the include order of the core, runs each
# fuzz target for a short while, then builds (warnings as errors) and runs
# every test twice: in the default build and in the debug
# build with AddressSanitizer and UndefinedBehaviorSanitizer.
#   FUZZ_SECONDS   seconds per fuzz target (default 60; 0 skips fuzzing)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

echo "== include order of the core"
scripts/check-includes.py

fuzz_seconds=${FUZZ_SECONDS:-60}
echo "== fuzz targets"
probe=$(mktemp)
if [ "$fuzz_seconds" -gt 0 ] && command -v clang++ >/dev/null &&
    echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
    clang++ -x c++ -fsanitize=fuzzer -o "$probe" - 2>/dev/null; then
    rm -f "$probe"
    scripts/fuzz.sh "$fuzz_seconds"
else
    rm -f "$probe"
    echo "skipped (FUZZ_SECONDS=$fuzz_seconds, or clang with libFuzzer is not installed)"
fi

jobs=$(nproc)
for preset in default debug; do
  echo "== $preset build"
  # Warnings fail the build here, so none slips into the code.
  cmake --preset "$preset" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done
