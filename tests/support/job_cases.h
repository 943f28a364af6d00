// SPDX-License-Identifier: GPL-2.0-or-later
// The files users bring, as both front ends meet them: each case is queued
// (or named on the command line) alone, converted with the NK-128 model, and
// either converts with pictures or fails with the same reason everywhere.
#pragma once

#include <string>
#include <vector>

namespace kdxtest {

struct JobCase {
  std::string label;
  std::string clip;     // a generated clip, copied into the case's folder
  std::string source;   // its path there; "OUT/" stands for the output folder
  std::string start;    // "HH:MM:SS", empty for the whole file
  std::string end;
  std::string failure;  // the reason's beginning; empty when it converts
  bool addSilence = false;  // videos without sound get silence
};

inline const char kNoSoundTrack[] =
    "No audio codec is available for this file. Please install a correct codec (the file has no sound track).";
inline const char kNoPicture[] =
    "No video codec is available for this file. Please install a correct codec (the file holds no picture).";

inline std::string LongFolderName() { return std::string(120, 'l'); }

inline std::vector<JobCase> JobCases() {
  const std::string longPath = LongFolderName() + "/" + LongFolderName() + "/" + std::string(40, 'n') + ".mkv";
  return {
      {"mkv", "job_h264_aac.mkv", "film.mkv", "", "", ""},
      {"webm", "job_vp8_vorbis.webm", "talk.webm", "", "", ""},
      {"flv", "clip_flv1_mp3.flv", "old.flv", "", "", ""},
      {"nut", "no_frame_rate.nut", "odd.nut", "", "", ""},
      {"ts", "job_mpeg2_mp2.ts", "tv.ts", "", "", ""},
      {"path over 300 characters", "job_h264_aac.mkv", longPath, "", "", ""},
      {"non-ASCII name", "job_h264_aac.mkv", "f\xC3\xA9te \xE6\x97\xA5\xE6\x9C\xAC.mkv", "", "", ""},
      {"reversed range", "job_h264_aac.mkv", "reversed.mkv", "00:00:02", "00:00:01",
       "Nothing to convert between 00:00:02 and 00:00:01 (the file lasts 2.0 s)."},
      {"range past the end", "job_h264_aac.mkv", "late.mkv", "00:01:00", "00:01:10",
       "Nothing to convert between 00:01:00 and 00:01:10 (the file lasts 2.0 s)."},
      {"source at its destination", "job_h264_aac.mkv", "OUT/NK-128/movie.kdx", "", "", "The source file is also"},
      {"video only, no stated length", "job_video_only.m2v", "raw.m2v", "", "", kNoSoundTrack},
      {"silence added to an MP4", "video_only.mp4", "stock clip.mp4", "", "", "", true},
      {"silence added to an MPEG-2 file", "silent_mpeg2.mpg", "dvd.mpg", "", "", "", true},
      {"music with its cover picture", "cover_art.mp3", "song.mp3", "", "", kNoPicture, true},
      {"photo", "photo.jpg", "holiday.jpg", "", "", kNoPicture, true},
      {"sound nothing decodes", "undecodable_sound.mkv", "odd sound.mkv", "", "",
       "No audio codec is available for this file. Please install a correct codec (no decoder for its sound).", true},
  };
}

}  // namespace kdxtest
