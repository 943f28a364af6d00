#!/usr/bin/env bash
# Generates the clips the tests convert: several containers and codecs from
# testsrc2/sine sources, plus edge shapes. Existing clips are kept, so the
# cache in the build tree makes later builds quick.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/../../scripts/clip_cache.sh"
out=${1:?output folder}
mkdir -p "$out"
cd "$out"

video() { echo "-f lavfi -i testsrc2=size=$1:rate=$2:duration=${3:-3}"; }
audio() { echo "-f lavfi -i sine=frequency=${1:-440}:sample_rate=${2:-44100}:duration=${3:-3}"; }

# Ordinary clips, one per container.
make clip_h264_aac.mp4 $(video 640x480 25) $(audio 440 44100) -ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest
make clip_mpeg4_mp3.avi $(video 320x240 30) $(audio 660 44100) -ac 2 -c:v mpeg4 -q:v 3 -c:a libmp3lame -shortest
make clip_mpeg2_mp2.mpg $(video 640x480 25) $(audio 550 48000) -ac 2 -c:v mpeg2video -q:v 3 -c:a mp2 -shortest
make clip_wmv2_wma2.wmv $(video 320x240 15) $(audio 440 22050) -ac 2 -c:v wmv2 -q:v 3 -c:a wmav2 -shortest
make clip_h264_aac.mov $(video 320x240 24) $(audio 440 44100) -ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest
make clip_flv1_mp3.flv $(video 320x240 25) $(audio 440 44100) -ac 2 -c:v flv -q:v 3 -c:a libmp3lame -shortest
make clip_rv20_ac3.rm $(video 320x240 25) $(audio 440 44100) -ac 2 -c:v rv20 -q:v 3 -c:a ac3 -shortest

# Edge shapes.
make video_only.mp4 $(video 320x240 25) -c:v libx264 -preset ultrafast -pix_fmt yuv420p
make audio_only.mp4 $(audio 440 44100) -ac 2 -c:a aac
make six_channels.mp4 $(video 320x240 25) -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=3" \
  -filter_complex "[1:a]pan=5.1|c0=c0|c1=0.5*c0|c2=0.25*c0|c3=0.1*c0|c4=0.3*c0|c5=0.2*c0[a]" -map 0:v -map "[a]" \
  -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest
make mono_48k.mp4 $(video 320x240 25) $(audio 440 48000) -ac 1 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest
# testsrc2 rounds odd sizes down, so the odd clip scales its picture up.
make odd_321x241.avi $(video 320x240 25) $(audio 440 44100) -ac 2 -vf scale=321:241 -pix_fmt yuv444p -c:v ffv1 -c:a pcm_s16le -shortest
make tiny_64x48.mp4 $(video 64x48 25) $(audio 440 44100) -ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest
make portrait_240x320.mp4 $(video 240x320 25) $(audio 440 44100) -ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest
# A container that states no average frame rate (NUT), with slightly
# irregular time stamps: the converter must measure the rate itself.
make no_frame_rate.nut $(video 320x240 20 4) $(audio 440 44100 4) -ac 2 \
  -vf "settb=1/1000,setpts='(N/20+if(eq(mod(N\\,3)\\,0)\\,0.01\\,0))/TB'" -fps_mode passthrough \
  -c:v mpeg4 -q:v 3 -c:a libmp3lame -shortest
# The same in under half a second: the measuring pass, at the requested
# rate, writes more chunk bytes than the final pass at the source's rate.
make short_no_frame_rate.nut $(video 320x240 20 0.45) $(audio 440 44100 0.45) -ac 2 \
  -vf "settb=1/1000,setpts=N/20/TB" -fps_mode passthrough -c:v mpeg4 -q:v 3 -c:a libmp3lame -shortest
# A red square in the top-left corner of a dark picture: shows where turns
# and flips put the picture's corners.
make corner_marker.mp4 -f lavfi -i color=c=0x202020:size=320x240:rate=25:duration=2 $(audio 440 44100 2) -ac 2 \
  -vf "drawbox=x=0:y=0:w=80:h=60:color=red:t=fill" -c:v libx264 -preset ultrafast -pix_fmt yuv444p -c:a aac -shortest
# Not a video at all.
[ -s text_file.avi ] || printf 'This is a plain text file, not a video.\n' > text_file.avi
# Long enough that a stop can land in every phase of a run.
make long_320x240.mp4 $(video 320x240 25 30) $(audio 440 44100 30) -ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest
# Pictures with B-frames that nothing refers to, in groups whose odd length
# moves them between kept and dropped places from group to group; one clip
# also leaves out every seventh picture (variable rate).
make bframes_h264.mp4 $(video 320x240 30 4) $(audio 440 44100 4) -ac 2 -c:v libx264 -preset fast -bf 3 \
  -x264-params keyint=23:min-keyint=23:scenecut=0 -pix_fmt yuv420p -c:a aac -shortest
make bframes_mpeg2.mpg $(video 320x240 25 4) $(audio 550 48000 4) -ac 2 -c:v mpeg2video -bf 2 -g 11 -q:v 4 \
  -c:a mp2 -shortest
make bframes_mpeg4.mp4 $(video 320x240 30 4) $(audio 440 44100 4) -ac 2 -c:v mpeg4 -bf 2 -g 13 -q:v 4 \
  -c:a aac -shortest
make bframes_vfr.mkv $(video 320x240 30 4) $(audio 440 44100 4) -ac 2 -vf "select='not(eq(mod(n\\,7)\\,3))'" \
  -fps_mode vfr -c:v libx264 -preset fast -bf 3 -x264-params keyint=19:min-keyint=19:scenecut=0 \
  -pix_fmt yuv420p -c:a aac -shortest
