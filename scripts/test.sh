#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test. Exits non-zero on the
# first failure.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

echo "== Core without Qt"
cmake --preset core
cmake --build --preset core -j"$jobs"
ctest --preset core -j"$jobs"

echo "== Program and tests"
cmake --preset default
cmake --build --preset default -j"$jobs"
ctest --preset default -j"$jobs"

echo "== Core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan
cmake --build --preset asan -j"$jobs"
ctest --preset asan -j"$jobs"

echo "== Fuzzing the number texts (clang, libFuzzer), over the seed corpus and for 60 s"
bash fuzz/run.sh 60
