#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the encoder library and its concurrency tests with ThreadSanitizer
# and runs them: the exports and the worker, cancellation, the decoding
# graph's streaming threads, the sample callbacks, the chunk encoding worker,
# the message queue, and the device-change watch and portable-device notices
# of the player code.
# FFmpeg decodes on the streaming thread alone in this build (see
# encoder/graph/media_source.cpp), so every report is about our own code.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KDX_TSAN_BUILD_DIR:-$root/build-tsan}
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKDX_TSAN=ON -DKDX_BUILD_CONVERTER=OFF -DBUILD_TESTING=ON
cmake --build "$build" --target test_media transcoder_tests stress_tests graph_tests video_tests audio_tests platform_tests \
  devices_tests player_platform_tests writer_tests
cd "$build"
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
# Every run is several times slower here: a quarter of the cancellations.
export KDX_STRESS_SCALE=0.25
ctest --output-on-failure -j2 \
  -R '^(Outcomes|Conversion|Frames|Stop|Cancellation|DecodingGraph|VideoGrabber|ChunkEncodeWorker|Preview|AudioGrabber|MessageQueue|MountTableWatch|DeviceChangeNotices|PortableDetection|RunFolder)'
