#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Generates the fidelity benchmark's clips once into the given folder:
# screen content with small text, natural-looking grain, a widescreen DVD
# picture stored at 720x480, and a phone clip marked as portrait.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../scripts/clip_cache.sh"
enter_clip_folder "$@"
sound="sine=frequency=440:sample_rate=44100:duration=6"

# A window of a desktop program: title bar, side panel, a page of small
# text that scrolls.
if [ ! -s screen_text.txt ]; then
  for i in $(seq 1 40); do
    echo "$i. Scaled pictures keep small text legible ($i)"
  done > screen_text.txt
fi
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
make screen_text_512x286.mp4 -f lavfi -i "color=c=white:size=512x286:rate=30:duration=6" -f lavfi -i "$sound" \
  -vf "drawtext=fontfile=$font:textfile=screen_text.txt:fontsize=11:fontcolor=black:line_spacing=7:x=140:y=30-t*12,drawbox=x=0:y=0:w=512:h=22:color=0x3050a0:t=fill,drawtext=fontfile=$font:text='Norvik KDX Video Converter':fontsize=12:fontcolor=white:x=8:y=5,drawbox=x=0:y=22:w=128:h=264:color=0xe8e8e8:t=fill,drawbox=x=10:y=34:w=108:h=18:color=0x808080:t=2" \
  -c:v libx264 -preset veryfast -crf 16 -pix_fmt yuv420p -c:a aac -shortest
make grain_640x360.mp4 -f lavfi -i "gradients=size=640x360:rate=30:duration=6:speed=0.05,noise=alls=30:allf=t+u" \
  -f lavfi -i "$sound" -c:v libx264 -preset veryfast -crf 20 -pix_fmt yuv420p -c:a aac -shortest
make widescreen_dvd_720x480.mpg -f lavfi -i "testsrc2=size=720x480:rate=30000/1001:duration=6" -f lavfi -i "$sound" \
  -vf setsar=32/27 -c:v mpeg2video -b:v 6M -maxrate 8M -bufsize 1835k -c:a mp2 -shortest
if [ ! -s phone_portrait_640x360.mp4 ]; then
  ff -f lavfi -i "testsrc2=size=640x360:rate=30:duration=6" -f lavfi -i "$sound" -c:v libx264 -preset veryfast \
    -crf 20 -pix_fmt yuv420p -c:a aac -shortest tmp.phone_portrait_640x360.mp4
  python3 "$here/../scripts/turn_mp4_track.py" tmp.phone_portrait_640x360.mp4
  mv tmp.phone_portrait_640x360.mp4 phone_portrait_640x360.mp4
fi
