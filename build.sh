#!/bin/bash
# Builds everything: installs what is missing, then the native tools and the
# 32-bit Windows deliverables, dist/ZARO.gau and dist/gauge-host.exe.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j2

echo
echo "Built:"
ls -l dist/
echo "Artwork previews: build/artwork/face.png, build/artwork/knob.png"
