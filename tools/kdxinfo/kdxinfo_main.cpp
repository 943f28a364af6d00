// kdxinfo: describes and checks a KDX file, and takes out its frames and
// its sound.
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "tools/kdxinfo/frame_export.h"
#include "tools/kdxinfo/kdx_report.h"
#include "tools/kdxreader/kdx_file.h"

namespace {

constexpr int kDamaged = 1;
constexpr int kUsage = 2;

constexpr char kHelp[] =
    "Usage: kdxinfo [--frames DIR] [--audio FILE] KDX-FILE\n"
    "Describes a KDX file (sound part, header, chunk geometry, chunk records,\n"
    "playing time) and checks every part of it, every chunk picture included.\n"
    "\n"
    "  --frames DIR   write every stored frame as DIR/frame_NNNNNN.png\n"
    "  --audio FILE   write the sound part as a WAVE file\n"
    "  --help         show this text\n"
    "\n"
    "Exit status: 0 for a valid file, 1 for a damaged file or a failed\n"
    "extraction (the message names the first problem), 2 for a wrong command.\n";

struct Options {
  std::string input;
  std::string framesFolder;
  std::string audioPath;
};

int UsageError(const std::string& message) {
  std::cerr << "kdxinfo: " << message << "\nTry 'kdxinfo --help'.\n";
  return kUsage;
}

std::string WriteSoundPart(const kdxreader::KdxFile& file, const std::string& path) {
  if (!file.sound.present) return "the file has no sound part";
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const auto bytes = file.SoundBytes();
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) return "cannot write " + path;
  return {};
}

int Run(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kHelp;
      return 0;
    }
    if (arg == "--frames" || arg == "--audio") {
      if (i + 1 >= argc) return UsageError(arg + " needs a value");
      (arg == "--frames" ? options.framesFolder : options.audioPath) = argv[++i];
    } else if (arg.starts_with("-") && arg != "-") {
      return UsageError("unknown option " + arg);
    } else if (options.input.empty()) {
      options.input = arg;
    } else {
      return UsageError("only one KDX file at a time");
    }
  }
  if (options.input.empty()) return UsageError("no KDX file given");

  const auto loaded = kdxreader::LoadKdx(options.input);
  if (!loaded.file) {
    std::cerr << "kdxinfo: " << options.input << ": " << loaded.error << "\n";
    return kDamaged;
  }
  const auto& file = *loaded.file;
  PrintKdxReport(std::cout, file);

  if (!options.framesFolder.empty()) {
    size_t written = 0;
    const std::string problem = ExportFramePngs(file, options.framesFolder, &written);
    if (!problem.empty()) {
      std::cerr << "kdxinfo: " << problem << "\n";
      return kDamaged;
    }
    std::cout << "Frames written: " << written << " to " << options.framesFolder << "\n";
  }
  if (!options.audioPath.empty()) {
    const std::string problem = WriteSoundPart(file, options.audioPath);
    if (!problem.empty()) {
      std::cerr << "kdxinfo: " << problem << "\n";
      return kDamaged;
    }
    std::cout << "Sound part written to " << options.audioPath << "\n";
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {  // such as a file too large for memory
    std::cerr << "kdxinfo: " << error.what() << "\n";
    return kDamaged;
  }
}
