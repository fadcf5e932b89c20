#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test: the core alone without
# Qt, everything built with clang under the sanitizers, the fuzz target, the Debian package with the program
# run from it, then the program with all tests and the format and tidy checks. Exits
# non-zero on the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

echo "== Core without Qt"
cmake --preset core
cmake --build --preset core -j"$jobs"
ctest --preset core -j"$jobs"

echo "== Program and all tests, built with clang, under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan
cmake --build --preset asan -j"$jobs"
ctest --preset asan -j"$jobs"

echo "== Fuzzing the number texts (clang, libFuzzer), over the seed corpus and for 60 s"
bash fuzz/run.sh 60

echo "== Debian package: lintian, desktop entry, AppStream, manual page, files; its program in Xvfb"
deb=$(bash scripts/package.sh)
bash tests/e2e/Package.sh "$deb" scripts/xvfb.sh

echo "== Program and all tests, with the format and tidy checks"
cmake --preset default
cmake --build --preset default -j"$jobs"
bash scripts/lint.sh build
ctest --preset default -j"$jobs"

