#!/usr/bin/env bash
# Installs what is missing, builds a Release build if needed and starts Lumivert.
# Usage: ./run.sh [PHOTO_FOLDER]
set -euo pipefail
cd "$(dirname "$0")"
tools/deps.sh $(cat tools/build-packages.txt)
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DLUMIVERT_TESTS=OFF >/dev/null
cmake --build build-release --parallel "$(nproc)" --target lumivert lumivert-cli lumivert_data
exec build-release/bin/lumivert "$@"
