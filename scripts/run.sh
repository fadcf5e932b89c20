#!/usr/bin/env bash
# Installs what is needed, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default
cmake --build --preset default --target korvel-video-setup -j"$(nproc)"
exec ./build/bin/korvel-video-setup
