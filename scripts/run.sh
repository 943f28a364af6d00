#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The main job: installs what is missing, builds the programs (no tests),
# converts the bundled sample clip (made on first use) with the default player
# model and shows the inspector's summary of the result.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KDX_BUILD_DIR:-$root/build}
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
cmake --build "$build"

sample_dir=$build/sample
sample=$sample_dir/norvik_sample.mp4
if [ ! -s "$sample" ]; then
  mkdir -p "$sample_dir"
  ffmpeg -hide_banner -loglevel error -nostdin -y \
    -f lavfi -i testsrc2=size=640x480:rate=25:duration=10 \
    -f lavfi -i sine=frequency=440:sample_rate=44100:duration=10 -ac 2 \
    -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac -shortest "$sample_dir/tmp.mp4"
  mv "$sample_dir/tmp.mp4" "$sample"
fi

output=$build/sample/output
"$build/bin/kdxconvert" --overwrite --output "$output" "$sample"
result=$(find "$output" -name 'norvik_sample.kdx' | head -n 1)
"$build/bin/kdxinfo" "$result"
