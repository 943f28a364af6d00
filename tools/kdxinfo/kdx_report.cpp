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
