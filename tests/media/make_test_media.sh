#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Generates the clips the tests convert: several containers and codecs from
# testsrc2/sine sources, plus edge shapes. Existing clips are kept, so the
# cache in the build tree makes later builds quick.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/clip_cache.sh"
enter_clip_folder "$@"

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
# Containers that carry no length per stream, or that the old extension list left out.
make clip_h264_aac.mkv $(video 320x240 25 2) $(audio 440 44100 2) -ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest
make clip_vp8_vorbis.webm $(video 160x120 25 2) $(audio 440 44100 2) -ac 2 -c:v libvpx -deadline realtime -b:v 200k -c:a libvorbis -shortest
make clip_mpeg2_mp2.ts $(video 320x240 25 2) $(audio 440 48000 2) -ac 2 -c:v mpeg2video -q:v 3 -c:a mp2 -shortest
make clip_mpeg4_aac.m4v $(video 320x240 25 2) $(audio 440 44100 2) -ac 2 -c:v mpeg4 -q:v 3 -c:a aac -shortest -f mp4
make clip_h263_aac.3gp $(video 176x144 15 2) $(audio 440 22050 2) -ac 1 -c:v h263 -q:v 5 -c:a aac -shortest

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
# A few pixels: the colour conversion's vector stores run past such rows.
make tiny_6x6.mp4 $(video 6x6 30) $(audio 440 44100) -ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest
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
# Shorter than a second, and whole seconds plus a fraction: both convert to their end.
make short_0.6s.mp4 $(video 320x240 25 0.6) $(audio 440 44100 0.6) -ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest
make fraction_10.4s.mp4 $(video 320x240 25 10.4) $(audio 440 44100 10.4) -ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest
# Streams and a duration, but the media data ends before its first packet:
# the file opens and nothing decodes.
if [ ! -s no_media_data.mp4 ]; then
  make tmp.whole.mp4 $(video 320x240 25) $(audio 440 44100) -ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p \
    -c:a aac -shortest -movflags +faststart
  data=$(grep -obUa mdat tmp.whole.mp4 | head -1 | cut -d: -f1)
  head -c $((data + 4)) tmp.whole.mp4 > tmp.no_media_data.mp4
  mv tmp.no_media_data.mp4 no_media_data.mp4
  rm tmp.whole.mp4
fi
# The same marker in a clip a phone marks as portrait: shown turned a
# quarter turn clockwise, the marker at the top right.
if [ ! -s turned_corner_marker.mp4 ]; then
  ff -f lavfi -i color=c=0x202020:size=320x240:rate=25:duration=2 $(audio 440 44100 2) -ac 2 \
    -vf "drawbox=x=0:y=0:w=80:h=60:color=red:t=fill" -c:v libx264 -preset ultrafast -pix_fmt yuv444p -c:a aac \
    -shortest tmp.turned_corner_marker.mp4
  python3 "$here/../../scripts/turn_mp4_track.py" tmp.turned_corner_marker.mp4
  mv tmp.turned_corner_marker.mp4 turned_corner_marker.mp4
fi
# AVI headers damaged as users' files come: a time base 786433 times too
# long spreads 75 pictures over 27 days; lengths claimed that the streams
# do not hold (an hour, and more frames than a KDX file counts).
damaged_avi() { # name header-changes...
  local name=$1
  shift
  [ -s "$name" ] && return 0
  ff $(video 160x120 25) $(audio 440 22050) -ac 1 -c:v mpeg4 -q:v 5 -c:a pcm_s16le -shortest "tmp.$name"
  python3 "$here/../../scripts/damage_header.py" "tmp.$name" "$@"
  mv "tmp.$name" "$name"
}
damaged_avi damaged_time_base.avi scale=786433
damaged_avi claims_an_hour.avi length=90000
damaged_avi claims_30m_frames.avi length=30000000
# An ASF header that states no length: the packets still tell it.
if [ ! -s asf_no_length.wmv ]; then
  ff $(video 320x240 15) $(audio 440 22050) -ac 2 -c:v wmv2 -q:v 3 -c:a wmav2 -shortest tmp.asf_no_length.wmv
  python3 "$here/../../scripts/damage_header.py" tmp.asf_no_length.wmv duration=0
  mv tmp.asf_no_length.wmv asf_no_length.wmv
fi
# The same marker under every other display matrix a file may carry:
# turns and mirrors.
for turn in half counter mirror upside-down transpose antitranspose; do
  [ -s "corner_marker_$turn.mp4" ] && continue
  cp corner_marker.mp4 "tmp.corner_marker_$turn.mp4"
  python3 "$here/../../scripts/turn_mp4_track.py" "tmp.corner_marker_$turn.mp4" "$turn"
  mv "tmp.corner_marker_$turn.mp4" "corner_marker_$turn.mp4"
done
# A recording of two channels, as DVB broadcasts carry them: the second
# channel's sound has the higher bit rate, so only its program ties the
# first channel's sound to its picture.
make two_programs.ts $(video 320x240 25) $(audio 440 44100) -f lavfi -i testsrc=size=160x120:rate=25:duration=3 \
  $(audio 1000 48000) -map 0:v -map 1:a -map 2:v -map 3:a -c:v mpeg2video -q:v 3 -c:a mp2 -ac:a:0 1 -b:a:0 64k \
  -ac:a:1 2 -b:a:1 256k -program title=One:st=0:st=1 -program title=Two:st=2:st=3 -shortest
# A widescreen DVD picture: 720x480 stored, 16:9 shown.
make anamorphic_720x480.mpg $(video 720x480 30000/1001) $(audio 550 48000) -ac 2 -vf setsar=32/27 -c:v mpeg2video \
  -q:v 3 -c:a mp2 -shortest
# Not a video at all.
[ -s text_file.avi ] || printf 'This is a plain text file, not a video.\n' > text_file.avi
# Long enough that a stop can land in every phase of a run.
make long_320x240.mp4 $(video 320x240 25 30) $(audio 440 44100 30) -ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest
# Pictures with B-frames that nothing refers to, in groups whose odd length
# moves them between kept and dropped places from group to group; one clip
# also leaves out every seventh picture (variable rate).
make bframes_h264.mp4 $(video 320x240 30 4) $(audio 440 44100 4) -ac 2 -c:v libx264 -preset fast -bf 3 \
  -x264-params keyint=23:min-keyint=23:scenecut=0 -pix_fmt yuv420p -c:a aac -shortest
# The same in MPEG-TS: its H.264 units follow start codes instead of lengths.
make bframes_h264.ts $(video 320x240 30 4) $(audio 440 44100 4) -ac 2 -c:v libx264 -preset fast -bf 3 \
  -x264-params keyint=23:min-keyint=23:scenecut=0 -pix_fmt yuv420p -c:a aac -shortest
make bframes_mpeg2.mpg $(video 320x240 25 4) $(audio 550 48000 4) -ac 2 -c:v mpeg2video -bf 2 -g 11 -q:v 4 \
  -c:a mp2 -shortest
make bframes_mpeg4.mp4 $(video 320x240 30 4) $(audio 440 44100 4) -ac 2 -c:v mpeg4 -bf 2 -g 13 -q:v 4 \
  -c:a aac -shortest
make bframes_vfr.mkv $(video 320x240 30 4) $(audio 440 44100 4) -ac 2 -vf "select='not(eq(mod(n\\,7)\\,3))'" \
  -fps_mode vfr -c:v libx264 -preset fast -bf 3 -x264-params keyint=19:min-keyint=19:scenecut=0 \
  -pix_fmt yuv420p -c:a aac -shortest
# Surround sound, a tone at -18 dB in chosen channels: only the centre of a
# 5.1 layout (AAC, as films carry it); different tones left and right; a
# tone of its own in every channel of 4.0 and 7.1 layouts (PCM, read back
# with the usual layout for the count).
tone() { echo "0.125*sin(2*PI*$1*t)"; }
surround() { echo "-f lavfi -i aevalsrc=exprs=$2:channel_layout=$1:sample_rate=48000:duration=2"; }
make centre_tone_5_1.mp4 $(video 320x240 25 2) $(surround 5.1 "0|0|$(tone 1000)|0|0|0") \
  -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -b:a 384k -shortest
make left_right_5_1.mkv $(video 320x240 25 2) $(surround 5.1 "$(tone 500)|$(tone 1300)|0|0|0|0") \
  -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a pcm_s16le -shortest
make tones_4_0.mkv $(video 320x240 25 2) $(surround 4.0 "$(tone 400)|$(tone 700)|$(tone 1000)|$(tone 1300)") \
  -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a pcm_s16le -shortest
make tones_7_1.mkv $(video 320x240 25 2) \
  $(surround 7.1 "$(tone 400)|$(tone 700)|$(tone 1000)|$(tone 80)|$(tone 1300)|$(tone 1600)|$(tone 1900)|$(tone 2200)") \
  -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a pcm_s16le -shortest
# Sound rates far from the output's.
for rate in 1000 8000 192000 384000; do
  make rate_${rate}.mkv $(video 320x240 25 2) $(audio 300 $rate 2) -ac 2 \
    -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a pcm_s16le -shortest
done
# Time-line clips: each picture shows its number + 1 as nine bars (bit 0 at
# the left, bright for 1), and the sound beeps for 0.1 s at every whole
# second of its own time, so a test can see which picture is shown while
# which second's beep plays.
coded() { # rate seconds
  echo "-f lavfi -i color=c=black:size=180x120:rate=$1:duration=$2,format=yuv420p,geq=lum='if(bitand(N+1\\,pow(2\\,floor(X*9/W)))\\,235\\,16)':cb=128:cr=128"
}
beeps() { # seconds [samples per buffer]
  echo "-f lavfi -i aevalsrc=exprs='if(lt(mod(t\\,1)\\,0.1)\\,0.5*sin(2*PI*1000*t)\\,0)':s=44100:d=$1:n=${2:-1024}"
}
make timeline_holes.mp4 $(coded 30 7) $(beeps 7) -vf "select='not(between(t,2,4))'" -fps_mode passthrough \
  -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac
make timeline_rate_drop.mp4 $(coded 30 8) $(beeps 8) -vf "select='lt(t,5)+eq(mod(n,3),0)'" -fps_mode passthrough \
  -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac
make timeline_late_sound.mkv $(coded 25 7) -itsoffset 2 $(beeps 5) -c:v libx264 -preset ultrafast -pix_fmt yuv420p \
  -c:a pcm_s16le
make timeline_late_pictures.mkv -itsoffset 2 $(coded 25 5) $(beeps 7) -c:v libx264 -preset ultrafast \
  -pix_fmt yuv420p -c:a pcm_s16le
make timeline_sound_hole.mkv $(coded 25 6) $(beeps 6) -af "aselect='not(between(t,1.9,3.5))'" -c:v libx264 \
  -preset ultrafast -pix_fmt yuv420p -c:a pcm_s16le
# Sound in buffers of 0.68 s.
make timeline_long_buffers.mkv $(coded 25 6) $(beeps 6 30000) -c:v libx264 -preset ultrafast -pix_fmt yuv420p \
  -c:a pcm_s16le
make timeline_30fps.mkv $(coded 30 4) $(beeps 4) -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a pcm_s16le
# 10 fps with slightly irregular times in a container that states no rate.
make timeline_10fps_no_rate.nut $(coded 10 16) $(beeps 16) \
  -vf "settb=1/1000,setpts='(N/10+if(eq(mod(N\\,3)\\,0)\\,0.01\\,0))/TB'" -fps_mode passthrough -c:v mpeg4 -q:v 3 \
  -c:a pcm_s16le

# The containers users bring besides the classic ones, for the conversion
# job's table: lengths stated only by the container, or not at all.
make job_h264_aac.mkv $(video 160x120 25 2) $(audio 440 44100 2) -ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest
make job_vp8_vorbis.webm $(video 160x120 25 2) $(audio 440 44100 2) -ac 2 -c:v libvpx -b:v 300k -c:a libvorbis -shortest
make job_mpeg2_mp2.ts $(video 160x120 25 2) $(audio 440 48000 2) -ac 2 -c:v mpeg2video -q:v 3 -c:a mp2 -shortest
make job_video_only.m2v $(video 160x120 25 2) -c:v mpeg2video -q:v 3 -f mpeg2video

# Engine time-line cases: whole and odd source rates, a still picture with
# long sound, a clip shorter than a chunk, and recordings joined from two
# 3 s parts (cut from one 6 s clip, so numbers and beeps run on) whose time
# stamps start again (TS and PS joined with cat), change the sound's rate,
# or change the picture's size.
x264="-c:v libx264 -preset ultrafast -pix_fmt yuv420p"
for rate in 6 11 13 15 25 30; do make timeline_${rate}fps.mp4 $(coded $rate 3) $(beeps 3) $x264 -c:a aac; done
make timeline_still.mp4 $(coded 25 0.04) $(beeps 10) $x264 -c:a aac
make timeline_0.1s.mp4 $(coded 25 0.1) $(beeps 0.1) $x264 -c:a aac
joined() { # name first-part-options second-part-options
  local name=$1 a=$2 b=$3
  [ -s "$name" ] && return 0
  ff $(coded 25 6) $(beeps 6) -t 3 $a "tmp.a.$name"
  ff $(coded 25 6) $(beeps 6) -ss 3 -t 3 $b "tmp.b.$name"
  cat "tmp.a.$name" "tmp.b.$name" > "tmp.$name"
  rm "tmp.a.$name" "tmp.b.$name"
  mv "tmp.$name" "$name"
}
mpeg2="-c:v mpeg2video -q:v 4 -c:a mp2"
joined timeline_joined.ts "$mpeg2 -f mpegts" "$mpeg2 -f mpegts"
joined timeline_joined.mpg "$mpeg2 -f mpeg" "$mpeg2 -f mpeg"
joined timeline_sound_rate_change.ts "$x264 -c:a aac -ar 22050 -f mpegts" \
  "$x264 -c:a aac -ar 48000 -output_ts_offset 3 -f mpegts"
joined timeline_size_change.ts "$x264 -c:a aac -f mpegts" "$x264 -vf scale=120:120,setsar=1 -c:a aac -output_ts_offset 3 -f mpegts"
# HD without colour tags, red 200,30,30 stored with the HD matrix.
make untagged_709_red.mp4 -f lavfi -i color=c=0xC81E1E:size=1280x720:rate=25:duration=1 $(beeps 1) \
  -vf "scale=out_color_matrix=bt709:out_range=tv,format=yuv420p" $x264 -c:a aac
# Interlaced: each frame's top field shows picture 2n and its bottom field
# picture 2n + 1 of a 50 fps clip, flagged interlaced (top field first).
make timeline_interlaced.mp4 $(coded 50 6) $(beeps 3) -vf tinterlace=interleave_top $x264 -x264-params tff=1 \
  -c:a aac -t 3

# Files without one of the two streams: videos without sound (one the
# pictures of a clip whose sound starts with them), music with its cover, a
# photo; and streams nothing decodes (their Matroska codec names unknown).
make silent_mpeg2.mpg $(video 320x240 25 2) -c:v mpeg2video -q:v 3 -f mpeg
make timeline_30fps_silent.mkv -i timeline_30fps.mkv -map 0:v -c copy
make cover_art.mp3 $(audio 440 44100 2) -f lavfi -i color=c=red:size=200x200:duration=1 -map 0:a -map 1:v -frames:v 1 \
  -c:a libmp3lame -c:v mjpeg -disposition:v attached_pic
make photo.jpg -f lavfi -i testsrc2=size=320x240 -frames:v 1
if [ ! -s undecodable_sound.mkv ] || [ ! -s undecodable_pictures.mkv ]; then
  ff $(video 160x120 25 2) $(audio 440 44100 2) $x264 -c:a pcm_s16le -shortest tmp.pcm.mkv
  LC_ALL=C sed 's|A_PCM/INT/LIT|A_NKDX/NO/DEC|' tmp.pcm.mkv > tmp.undecodable_sound.mkv
  LC_ALL=C sed 's|V_MPEG4/ISO/AVC|V_NKDX/NO/DECOD|' tmp.pcm.mkv > tmp.undecodable_pictures.mkv
  mv tmp.undecodable_sound.mkv undecodable_sound.mkv
  mv tmp.undecodable_pictures.mkv undecodable_pictures.mkv
  rm tmp.pcm.mkv
fi
