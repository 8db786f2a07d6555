#!/usr/bin/env bash
# Installs what is missing, builds with tests and runs every test; exits non-zero on any failure.
# Usage: ./test.sh            (set LUMIVERT_SANITIZE=address,undefined for a sanitizer build)
set -euo pipefail
cd "$(dirname "$0")"
tools/deps.sh $(cat tools/build-packages.txt) libgtest-dev xvfb xauth
dir=build-test
[ -n "${LUMIVERT_SANITIZE:-}" ] && dir="build-${LUMIVERT_SANITIZE//,/-}"
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMIVERT_TESTS=ON \
  -DLUMIVERT_SANITIZE="${LUMIVERT_SANITIZE:-}" >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)" --timeout 600
