#!/usr/bin/env bash
# Installs what building, running, testing and packaging need on Debian 12 (bookworm) or
# Debian 13 (trixie), by each release's package names. Safe to run again.
set -euo pipefail

# shellcheck source=/dev/null
. /etc/os-release
case "${VERSION_CODENAME:-}" in
    # The sanitizer and fuzzer runtimes of the release's clang; GTK 3 renamed by the 64-bit time_t change.
    bookworm) release=(libclang-rt-14-dev libgtk-3-0) ;;
    trixie) release=(libclang-rt-19-dev libgtk-3-0t64) ;;
    *)
        echo "install-deps.sh: supported are Debian 12 (bookworm) and 13 (trixie), not ${PRETTY_NAME:-this system}" >&2
        exit 1
        ;;
esac
packages=(
    "${release[@]}"
    build-essential cmake git
    qt6-base-dev qt6-qpa-plugins libgl-dev fonts-dejavu-core fonts-dejavu-extra
    libgtest-dev libgmock-dev libbenchmark-dev
    clang clang-format clang-tidy
    xvfb xauth xdotool x11-utils imagemagick libx11-dev xclip
    qt6-gtk-platformtheme gnome-themes-extra qt6ct weston qt6-wayland locales
    dpkg-dev debhelper lintian appstream desktop-file-utils man-db debootstrap autopkgtest
    python3-pyatspi at-spi2-core dbus-daemon orca speech-dispatcher
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
    "${sudo[@]}" apt-get update
    "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
# The end-to-end test runs the program once in a locale that writes decimals with a comma.
if ! locale -a | grep -qix 'de_DE.utf-\?8'; then
    "${sudo[@]}" sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || "${sudo[@]}" sh -c 'echo "de_DE.UTF-8 UTF-8" >>/etc/locale.gen'
    "${sudo[@]}" locale-gen
fi
