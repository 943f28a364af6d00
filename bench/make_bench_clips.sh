#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Generates the benchmark's reference clips once into the given folder.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/../scripts/clip_cache.sh"
enter_clip_folder "$@"
# Moving test pattern with grain and a noisy sound bed: closer to camera
# footage than a clean synthetic picture, so JPEG and AAC work for real.
picture() { echo "testsrc2=size=$1:rate=$2:duration=$3,noise=alls=18:allf=t+u"; }
sound() { echo "sine=frequency=330:sample_rate=44100:duration=$1[s];anoisesrc=color=pink:amplitude=0.2:sample_rate=44100:duration=$1[n];[s][n]amix=inputs=2"; }

make clip_640x480_30fps_60s.mp4 -f lavfi -i "$(picture 640x480 30 60)" -filter_complex "$(sound 60),aformat=channel_layouts=stereo[a]" \
  -map 0:v -map "[a]" -c:v libx264 -preset veryfast -crf 23 -pix_fmt yuv420p -c:a aac -b:a 128k
# A short clip of the same kind: start-up and the end of a run weigh most.
make clip_640x480_30fps_10s.mp4 -f lavfi -i "$(picture 640x480 30 10)" -filter_complex "$(sound 10),aformat=channel_layouts=stereo[a]" \
  -map 0:v -map "[a]" -c:v libx264 -preset veryfast -crf 23 -pix_fmt yuv420p -c:a aac -b:a 128k
make clip_1280x720_25fps_60s.mp4 -f lavfi -i "$(picture 1280x720 25 60)" -filter_complex "$(sound 60),aformat=channel_layouts=stereo[a]" \
  -map 0:v -map "[a]" -c:v libx264 -preset veryfast -crf 23 -pix_fmt yuv420p -c:a aac -b:a 128k
# The same kind of clip at a fifth of the length: memory must not grow with
# the length of the clip.
make clip_320x240_25fps_60s.avi -f lavfi -i "$(picture 320x240 25 60)" -filter_complex "$(sound 60),aformat=channel_layouts=stereo[a]" \
  -map 0:v -map "[a]" -c:v mpeg4 -q:v 4 -c:a libmp3lame -b:a 128k
make clip_320x240_25fps_300s.avi -f lavfi -i "$(picture 320x240 25 300)" -filter_complex "$(sound 300),aformat=channel_layouts=stereo[a]" \
  -map 0:v -map "[a]" -c:v mpeg4 -q:v 4 -c:a libmp3lame -b:a 128k
