#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test: the core alone without
# Qt, everything built with clang under the sanitizers, the fuzz target, the Debian package with the program
# run from it, then the program with all tests and the format and tidy checks; then all of that
# again on the other supported Debian release, in a fresh chroot of it (scripts/test-in.sh).
# Each part says how long it took. Exits non-zero on the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
part=$SECONDS
took() { echo "-- $((SECONDS - part)) s"; part=$SECONDS; }
bash scripts/install-deps.sh
jobs=$(nproc)
took

echo "== Core without Qt"
cmake --preset core
cmake --build --preset core -j"$jobs"
ctest --preset core -j"$jobs"
took

echo "== Program and all tests, built with clang, under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan
cmake --build --preset asan -j"$jobs"
ctest --preset asan -j"$jobs"
took

echo "== Fuzzing the number texts (clang, libFuzzer), over the seed corpus and for 60 s"
bash fuzz/run.sh 60
took

echo "== Debian package: lintian, desktop entry, AppStream, manual page, files; its program in Xvfb"
deb=$(bash scripts/package.sh)
bash tests/e2e/Package.sh "$deb" scripts/xvfb.sh
# debian/tests on the installed package, only where installing it harms nothing: in the chroot.
[ -z "${KORVEL_IN_CHROOT:-}" ] || autopkgtest "$deb" . -- null
took

echo "== Program and all tests, with the format and tidy checks"
cmake --preset default
cmake --build --preset default -j"$jobs"
bash scripts/lint.sh build
ctest --preset default -j"$jobs"
took

# Once on each release: not again from inside the chroot.
if [ -z "${KORVEL_IN_CHROOT:-}" ]; then
    # shellcheck source=/dev/null
    other=$(. /etc/os-release && [ "$VERSION_CODENAME" = trixie ] && echo bookworm || echo trixie)
    echo "== All of the above on Debian $other, in a fresh chroot"
    bash scripts/test-in.sh "$other"
    took
fi
echo "== Passed in $((SECONDS - started)) s"
