#!/usr/bin/env bash
# Installs what building, running, testing and packaging need on Debian 12. Safe to run again.
set -euo pipefail

packages=(
    build-essential cmake git
    qt6-base-dev qt6-qpa-plugins libgl-dev fonts-dejavu-core fonts-dejavu-extra
    libgtest-dev libgmock-dev libbenchmark-dev
    clang clang-format clang-tidy libclang-rt-14-dev
    xvfb xauth xdotool x11-utils imagemagick libx11-dev
    dpkg-dev debhelper lintian appstream desktop-file-utils man-db
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
