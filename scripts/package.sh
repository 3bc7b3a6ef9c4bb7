#!/usr/bin/env bash
# Builds the Debian package of Tellavin, tellavin_VERSION-1_ARCH.deb, in
# build/package/ and prints its path: a Release build of both programs for
# /usr, hardened with Debian's build flags, without the tests. Installs what
# building it needs first. A second run builds only what changed.
#   scripts/package.sh
#   sudo apt-get install ./build/package/tellavin_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh package

build=build/package
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX=/usr \
  "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)" \
  -DTELLAVIN_BUILD_TESTS=OFF \
  -DTELLAVIN_DEBIAN_PACKAGE=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
# Only the package is left in the folder: an old version's goes.
rm -f "$build"/tellavin_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$PWD/$build"/tellavin_*.deb
