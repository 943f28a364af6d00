// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/kdxinfo/kdx_report.h"

#include <cstdio>
#include <string>

namespace {

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f s", seconds);
  return text;
}

std::string Hex4(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", value);
  return text;
}

}  // namespace

void PrintKdxReport(std::ostream& out, const kdxreader::KdxFile& file) {
  const auto& sound = file.sound;
  if (sound.present) {
    out << "Sound part: " << kdxreader::FormatTagName(sound.formatTag) << " (format tag " << Hex4(sound.formatTag)
        << "), " << sound.channels << " channel(s), " << sound.sampleRate << " Hz, " << Seconds(sound.seconds) << ", "
        << sound.byteCount << " bytes\n";
  } else {
    out << "Sound part: none\n";
  }
  const auto& h = file.header;
  out << "Header at offset " << file.headerOffset << ": width " << h.width << ", height " << h.height
      << ", chunk size " << h.chunkSize << ", frames per second " << h.framesPerSecond << ", frame count "
      << h.frameCount << ", frames per chunk " << h.framesPerChunk << "\n";
  const auto& g = file.geometry;
  out << "Geometry: W " << g.W << ", H " << g.H << ", P " << g.P << ", F " << g.F << ", C " << g.C << ", S " << g.S
      << ", N " << g.N << "\n";
  out << "Chunk records: " << file.chunks.size() << "\n";
  out << "Playing time: " << Seconds(file.playingSeconds) << "\n";
  out << "Valid KDX file.\n";
}

void WriteKdxReport(JsonWriter& json, const kdxreader::KdxFile& file) {
  const auto& sound = file.sound;
  json.Key("sound");
  if (sound.present) {
    json.BeginObject();
    json.Key("format").String(kdxreader::FormatTagName(sound.formatTag));
    json.Key("format_tag").Integer(sound.formatTag);
    json.Key("channels").Integer(sound.channels);
    json.Key("sample_rate").Integer(sound.sampleRate);
    json.Key("seconds").Number(sound.seconds);
    json.Key("bytes").Integer(static_cast<int64_t>(sound.byteCount));
    json.EndObject();
  } else {
    json.Null();
  }
  const auto& h = file.header;
  json.Key("header").BeginObject();
  json.Key("offset").Integer(static_cast<int64_t>(file.headerOffset));
  json.Key("width").Integer(h.width);
  json.Key("height").Integer(h.height);
  json.Key("chunk_size").Integer(h.chunkSize);
  json.Key("frames_per_second").Integer(h.framesPerSecond);
  json.Key("frame_count").Integer(h.frameCount);
  json.Key("frames_per_chunk").Integer(h.framesPerChunk);
  json.EndObject();
  const auto& g = file.geometry;
  json.Key("geometry").BeginObject();
  for (const auto& [name, value] : {std::pair{"W", g.W}, {"H", g.H}, {"P", g.P}, {"F", g.F}, {"C", g.C}, {"S", g.S}, {"N", g.N}})
    json.Key(name).Integer(value);
  json.EndObject();
  json.Key("chunk_records").Integer(static_cast<int64_t>(file.chunks.size()));
  json.Key("playing_seconds").Number(file.playingSeconds);
}
