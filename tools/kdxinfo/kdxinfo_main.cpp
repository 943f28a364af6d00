// SPDX-License-Identifier: GPL-2.0-or-later
// kdxinfo: describes and checks a KDX file, and takes out its frames and
// its sound.
#include <array>
#include <fstream>
#include <iostream>
#include <string>

#include "converter/core/support/program_version.h"
#include "tools/cli/json_writer.h"
#include "tools/cli/option_table.h"
#include "tools/kdxinfo/frame_export.h"
#include "tools/kdxinfo/kdx_report.h"
#include "tools/kdxreader/kdx_file.h"

namespace {

constexpr int kDamaged = 1;
constexpr int kUsage = 2;

struct Options {
  std::string input;
  std::string framesFolder;
  std::string audioPath;
  bool json = false;
  bool help = false;
  bool version = false;
};

using Row = OptionRow<Options>;

const std::array kRows = {
    Row{{"frames", 0, "DIR", "write every stored frame as DIR/frame_NNNNNN.png"},
        [](Options& o, const std::string& value) {
          if (value.empty()) return std::string("--frames needs a folder");
          o.framesFolder = value;
          return std::string();
        }},
    Row{{"audio", 0, "FILE", "write the sound part as a WAVE file"},
        [](Options& o, const std::string& value) {
          if (value.empty()) return std::string("--audio needs a file");
          o.audioPath = value;
          return std::string();
        }},
    Row{{"json", 0, nullptr,
         "describe the file as one JSON object on standard output (also a damaged one: \"valid\" is false and "
         "\"error\" names the problem)"},
        SetMember<&Options::json, true>},
    Row{{"help", 'h', nullptr, "show this text and end"},
        SetMember<&Options::help, true>},
    Row{{"version", 0, nullptr, "show the version and end"},
        SetMember<&Options::version, true>},
};

std::string HelpText() {
  return "Usage: kdxinfo [OPTION]... KDX-FILE\n"
         "Describes a KDX file (sound part, header, chunk geometry, chunk records,\n"
         "playing time) and checks every part of it, every chunk picture included.\n"
         "\n" +
         OptionHelp(SpecsOf<Options>(kRows)) +
         "\n"
         "Exit status: 0 for a valid file, 1 for a damaged file or a failed\n"
         "extraction (the message names the first problem), 2 for a wrong command.\n";
}

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

// What the run found, told as text or as JSON once it is over.
class Findings {
 public:
  explicit Findings(const Options& options) : m_options(options) {
    m_json.BeginObject().Key("file").String(options.input);
  }

  void Described(const kdxreader::KdxFile& file) {
    if (m_options.json) {
      m_json.Key("valid").Bool(true);
      WriteKdxReport(m_json, file);
    } else {
      PrintKdxReport(std::cout, file);
    }
  }
  void FramesWritten(size_t count) {
    if (m_options.json) {
      m_json.Key("frames_written").Integer(static_cast<int64_t>(count)).Key("frames_folder").String(m_options.framesFolder);
    } else {
      std::cout << "Frames written: " << count << " to " << m_options.framesFolder << "\n";
    }
  }
  void SoundWritten() {
    if (m_options.json) {
      m_json.Key("sound_file").String(m_options.audioPath);
    } else {
      std::cout << "Sound part written to " << m_options.audioPath << "\n";
    }
  }
  // The first problem ends the run; `damaged` when it is the file's own.
  int Problem(const std::string& problem, bool damaged) {
    if (m_options.json) {
      if (damaged) m_json.Key("valid").Bool(false);
      m_json.Key("error").String(problem);
    } else {
      std::cerr << "kdxinfo: " << (damaged ? m_options.input + ": " : "") << problem << "\n";
    }
    return Finish(kDamaged);
  }
  int Finish(int status) {
    if (m_options.json) std::cout << m_json.EndObject().text() << "\n";
    return status;
  }

 private:
  const Options& m_options;
  JsonWriter m_json;
};

int Inspect(const Options& options, Findings& findings);

int Run(const std::vector<std::string>& arguments) {
  Options options;
  std::vector<std::string> operands;
  if (std::string error = ApplyArguments<Options>(kRows, arguments, options, &operands); !error.empty())
    return UsageError(error);
  if (options.help) {
    std::cout << HelpText();
    return 0;
  }
  if (options.version) {
    std::cout << VersionText("kdxinfo");
    return 0;
  }
  if (operands.empty()) return UsageError("no KDX file given");
  if (operands.size() > 1) return UsageError("only one KDX file at a time");
  options.input = operands.front();

  Findings findings(options);
  try {
    return Inspect(options, findings);
  } catch (const std::exception& error) {  // such as a file too large for memory
    return findings.Problem(error.what(), true);
  }
}

int Inspect(const Options& options, Findings& findings) {
  const auto loaded = kdxreader::LoadKdx(options.input);
  if (!loaded.file) return findings.Problem(loaded.error, true);
  const auto& file = *loaded.file;
  findings.Described(file);

  if (!options.framesFolder.empty()) {
    size_t written = 0;
    const std::string problem = ExportFramePngs(file, options.framesFolder, &written);
    if (!problem.empty()) return findings.Problem(problem, false);
    findings.FramesWritten(written);
  }
  if (!options.audioPath.empty()) {
    const std::string problem = WriteSoundPart(file, options.audioPath);
    if (!problem.empty()) return findings.Problem(problem, false);
    findings.SoundWritten();
  }
  return findings.Finish(0);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& error) {  // such as a file too large for memory
    std::cerr << "kdxinfo: " << error.what() << "\n";
    return kDamaged;
  }
}
