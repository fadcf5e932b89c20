#!/usr/bin/env bash
# Builds the Debian package (debian/, Debian's compiler flags) from a clean copy of the source
# tree: the files git knows, as they are in the working tree, so no earlier build can leak in.
# Leaves it and its debug symbols (the -dbgsym package) in build-package/ and prints the .deb's
# path as the last line; the rest of the output goes to stderr, so that
# deb=$(bash scripts/package.sh) takes the path alone.
#   bash scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh >&2

out=$PWD/build-package
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src"
git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
    tar --null --files-from=- -cf - | tar -xf - -C "$work/src"

(cd "$work/src" && dpkg-buildpackage -us -uc -b -j"$(nproc)") >&2

version=$(dpkg-parsechangelog -l debian/changelog -S Version)
arch=$(dpkg-architecture -qDEB_HOST_ARCH)
deb=korvel-video-setup_${version}_$arch.deb
mkdir -p "$out"
mv "$work/$deb" "$work/korvel-video-setup-dbgsym_${version}_$arch.deb" "$out/"
echo "$out/$deb"
