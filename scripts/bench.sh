#!/usr/bin/env bash
# Builds the release preset, runs every benchmark and writes the figures to
# docs/benchmarks.md: the core's handlers (Google Benchmark) and the program's start-up
# against the floor Qt program, both started in turn in a private Xvfb without a window
# manager (the benchmark takes the map requests).
#   bash scripts/bench.sh [start-up runs of each program, default 41]
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C
runs=${1:-41}
bash scripts/install-deps.sh

cmake --preset release
cmake --build --preset release -j2
bin=build-release/bin
out=docs/benchmarks.md
work=$(mktemp -d)
xvfb=""
cleanup() {
    if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
# The build is of the working tree: say so when it differs from the commit named.
changed=$(git status --porcelain --untracked-files=no | wc -l)
tree="commit \`$(git rev-parse --short HEAD)\`"
[ "$changed" -eq 0 ] || tree="$tree with uncommitted changes in $changed files"

echo "== Handlers"
"$bin/korvel_bench_handlers" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$work/handlers.csv" --benchmark_out_format=csv

echo "== Start-up, $runs runs of each program"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { cat "$work/xvfb.log"; echo "Xvfb did not start" >&2; exit 1; }
mkdir -m 700 "$work/runtime"
DISPLAY=":$(cat "$work/display")" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
    "$bin/korvel_bench_startup" "$runs" "$bin/korvel-video-setup" "$bin/korvel-floor" >"$work/startup.md"
cat "$work/startup.md"

load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# Medians of the five repetitions, against the targets (50 us for start-up, 5 us for the rest).
handlers=$(awk -F, '
    /_median"/ {
        name = $1; gsub(/"/, "", name); sub(/_median$/, "", name)
        time = $3; unit = $5
        ns = time * (unit == "us" ? 1000 : unit == "ms" ? 1000000 : 1)
        target = (name ~ /^Form_Load/) ? 50000 : 5000
        printf "| `%s` | %.0f ns | %.2f us | %s |\n", name, ns, target / 1000, ns < target ? "met" : "**missed**"
    }' "$work/handlers.csv")

{
    echo "# Benchmarks"
    echo
    echo "Written by \`bash scripts/bench.sh $runs\` on $(date -u +%Y-%m-%d), $tree;" \
        "$(nproc) cores ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')), $(. /etc/os-release && echo "$PRETTY_NAME")."
    echo "Load average (1, 5, 15 min) before: $load_before; after: $load_after."
    echo
    echo "## Handlers of the core"
    echo
    echo "Google Benchmark, median of 5 repetitions, the loaded model without a view."
    echo
    echo "| Handler | Time | Target | |"
    echo "|---|---|---|---|"
    echo "$handlers"
    echo
    echo "## Start-up"
    echo
    echo "From exec until the program asks Xvfb to map its top-level window, and the resident"
    echo "memory (VmRSS) at that moment; the program and the floor program take turns, run by run."
    echo
    cat "$work/startup.md"
    echo
    cat bench/notes.md
} >"$out"
echo "== Wrote $out"
