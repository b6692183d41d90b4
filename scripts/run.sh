#!/usr/bin/env bash
# Installs what the program needs, builds the program alone and starts it.
# The tests and benchmarks and their packages belong to scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh program
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target vormek
exec ./build/src/vormek "$@"
