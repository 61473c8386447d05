#!/bin/bash
# Runs every test: installs what is missing, builds, then the native unit
# tests and the Wine integration tests (build/), and the native tests again
# with clang under AddressSanitizer and UndefinedBehaviorSanitizer, with the
# bounded libFuzzer runs (build-sanitize/).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2 -LE bench  # benchmarks: -L bench

CC=clang CXX=clang++ cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSANITIZE=ON -DFUZZ=ON -DBUILD_WINDOWS=OFF
cmake --build build-sanitize -j2
ctest --test-dir build-sanitize --output-on-failure -j2
