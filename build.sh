#!/bin/bash
# Builds everything: installs what is missing, then the native tools and the
# 32-bit Windows deliverables, dist/ZARO.gau and dist/gauge-host.exe; then
# runs the demo scenario on them under Wine, as an animated PNG too, and
# draws day and night strips of the knob from full left to full right, into
# out/demo/.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j2

host() { dist/gauge-host "$@"; }  # under Wine, in the user's own prefix
host run dist/ZARO.gau examples/demo.scenario --out out/demo
# Again at half size as an animation; its events and snapshots go aside.
host run dist/ZARO.gau examples/demo.scenario --out out/demo/animation --scale 0.5 --animation out/demo/demo.png |
    tail -1
mkdir -p out/demo/strip
for light in day night; do
    frames=()
    # Clicks of 100 on the left half (150, 300) or the right (450, 300): -16000 to 16000.
    for clicks in "150 300 160" "150 300 80" "" "450 300 80" "450 300 160"; do
        frames+=("out/demo/strip/$light-${#frames[@]}.png")
        host snapshot dist/ZARO.gau "${frames[-1]}" ${clicks:+--click $clicks} --scale 0.5 --light $light >/dev/null
    done
    convert "${frames[@]}" +append +repage "out/demo/strip-$light.png"
done

echo
echo "Built:"
ls -l dist/
echo "Artwork previews: build/artwork/face.png, build/artwork/knob.png"
echo "Demo: out/demo/events.csv, its snapshots out/demo/{zero,middle,full-right,full-left}.png"
echo "The demo animated (APNG, half size): out/demo/demo.png"
echo "Strips, full left to full right: out/demo/strip-day.png, out/demo/strip-night.png"
