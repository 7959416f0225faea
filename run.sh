#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it, on the sample survey when no file is given.
# Usage: ./run.sh [file.sp2]
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target vornsp2dp
file="${1:-examples/sample.sp2}"
exec build/views/vornsp2dp "$file"
