#!/usr/bin/env bash
# Builds the fuzz target with clang into build-fuzz/, runs it over the seed corpus, then
# fuzzes for a bounded time (seconds, default 60). Exits non-zero on the first fault found;
# the input that caused it is left in build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build-fuzz

cmake -S fuzz -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DKORVEL_WERROR=ON \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
cmake --build "$build" -j2 --target korvel_fuzz_numbers

mkdir -p "$build/corpus" "$build/artifacts"
fuzzer=("$build/korvel_fuzz_numbers" -artifact_prefix="$build/artifacts/" -max_len=512)
echo "== Fuzz: the seed corpus"
"${fuzzer[@]}" -runs=0 fuzz/corpus
echo "== Fuzz: ${seconds} s"
# New inputs go to the build folder; the committed seed corpus stays as it is.
"${fuzzer[@]}" -max_total_time="$seconds" -print_final_stats=1 "$build/corpus" fuzz/corpus
