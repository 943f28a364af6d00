// SPDX-License-Identifier: GPL-2.0-or-later
// kdxconvert: converts video files into KDX files for a Norvik player.
#include <malloc.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>

extern "C" {
#include <libavutil/log.h>
}

#include "converter/core/devices/TesselConfigFile.h"
#include "tools/kdxconvert/batch_conversion.h"
#include "tools/kdxconvert/command_line.h"
#include "converter/core/request/conversion_options.h"
#include "converter/core/request/converter_settings.h"
#include "converter/core/support/log_file.h"
#include "converter/core/support/program_version.h"
#include "tools/kdxconvert/file_list.h"
#include "tools/kdxconvert/model_choice.h"
#include "tools/kdxconvert/stop_signal.h"
#include "converter/core/support/videos_folder.h"

namespace {

constexpr int kAllConverted = 0;
constexpr int kSomeNotConverted = 1;
constexpr int kBadUsage = 2;

// The C library gives threads memory pools of their own, up to eight per
// core, and every file of a batch brings new threads (the run's worker, the
// decoder's): over a long batch the pools fill up one after the other.
// Sharing one pool keeps the size flat and costs no measurable time, as the
// small blocks come from each thread's own cache anyway. A MALLOC_ARENA_MAX
// the user set is left alone.
constexpr int kMemoryPools = 1;

void BoundMemoryPools() {
  if (std::getenv("MALLOC_ARENA_MAX") == nullptr) mallopt(M_ARENA_MAX, kMemoryPools);
}

int UsageError(const std::string& message) {
  std::fprintf(stderr, "kdxconvert: %s\nTry 'kdxconvert --help' for more information.\n", message.c_str());
  return kBadUsage;
}

int Failure(const std::string& message, int status = kSomeNotConverted) {
  std::fprintf(stderr, "kdxconvert: %s\n", message.c_str());
  return status;
}

bool LoadDeviceTable(CTesselConfigFile& table) {
  if (!table.Init()) {
    WriteLog("Init TesselDeviceConfig File Error! No device support.");
    return false;
  }
  if (!table.GetTesselDeviceNode()) {
    WriteLog("Read TesselDeviceConfig File Error! No device support.");
    return false;
  }
  return true;
}

// FFmpeg's own messages about damaged input would drown the program's;
// failures are reported in the program's words. --verbose lets them through.
void SetFfmpegMessages(Verbosity verbosity) {
  av_log_set_level(verbosity == Verbosity::kVerbose ? AV_LOG_INFO : AV_LOG_QUIET);
}

}  // namespace

int main(int argc, char** argv) {
  BoundMemoryPools();
  // Past a file-size limit, writes fail and the run reports it, instead of
  // the signal ending the program with half-written files.
  std::signal(SIGXFSZ, SIG_IGN);
  ParsedCommandLine parsed = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.options) return UsageError(parsed.error);
  ConvertOptions& options = *parsed.options;
  if (options.help) {
    std::fputs(UsageText().c_str(), stdout);
    return kAllConverted;
  }
  if (options.version) {
    std::fputs(VersionText("kdxconvert").c_str(), stdout);
    return kAllConverted;
  }
  SetFfmpegMessages(options.verbosity);
  for (const std::string& list : options.fileLists) {
    std::string error;
    if (!ReadFileList(list, options.files, &error)) return Failure(error, kBadUsage);
  }

  CTesselConfigFile table;
  if (!LoadDeviceTable(table)) return Failure("cannot read the player models from " + table.path());
  if (table.GetDeviceCount() == 0) return Failure(table.path() + " lists no player model");
  if (options.listModels) {
    if (options.json) {
      PrintModelListJson(table, std::cout);
    } else {
      PrintModelList(table, std::cout);
    }
    return kAllConverted;
  }

  std::string settings = SettingsFilePath();
  size_t modelIndex = LoadComboDevice(settings, table.GetDeviceCount());
  if (options.model) {
    auto found = FindModelByName(table, *options.model);
    if (!found) return UsageError("no player model is called '" + *options.model + "' (see --list-models)");
    modelIndex = *found;
  }
  const DEVICE_CONFIG_ENTRY& model = table.GetDevice(modelIndex);
  if (!IsKdxModel(model)) {
    return Failure("the " + model.ModelName + " plays " + (model.VideoFormat.empty() ? "another" : model.VideoFormat) +
                   " video, not KDX; kdxconvert makes KDX files only. Choose a KDX model (see --list-models).");
  }

  std::string outputFolder = options.outputFolder.value_or(LoadDestPath(settings));
  if (outputFolder.empty()) outputFolder = UserVideosFolder();
  if (outputFolder.empty()) return Failure("no output folder: give one with --output");

  InstallStopSignals();
  const BatchSummary summary = ConvertBatch(options, model, outputFolder);
  std::fflush(nullptr);
  EndByStopSignal();
  const bool allConverted = summary.converted == static_cast<int>(options.files.size());
  return allConverted ? kAllConverted : kSomeNotConverted;
}
