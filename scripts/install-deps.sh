#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Tellavin need;
# with "package", only those that building its Debian package needs.
# Idempotent: packages already present are skipped. Needs root (or sudo) when
# something is missing.
#   scripts/install-deps.sh [package]
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libcli11-dev libutfcpp-dev libsqlite3-dev nlohmann-json3-dev
  libpugixml-dev libplist-dev liblz4-dev
  qt6-base-dev qt6-svg-dev
  dpkg-dev
)
if [ "${1:-}" != package ]; then
  packages+=(
    libgtest-dev libgmock-dev libbenchmark-dev
    python3 desktop-file-utils
    chromium firefox-esr fonts-dejavu-core nodejs
    clang libclang-rt-14-dev
    g++-mingw-w64-x86-64-posix mingw-w64 googletest wine wine64
    lintian appstream man-db
    xvfb openbox
  )
  # The browser tests take playwright-core from the npm registry; npm comes
  # with some Node.js builds, Debian packages it apart.
  command -v npm >/dev/null 2>&1 || packages+=(npm)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
