// SPDX-License-Identifier: GPL-2.0-or-later
// The desktop converter.
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <optional>

#include "converter/core/startup/display_check.h"
#include "converter/core/support/ffmpeg_messages.h"
#include "converter/core/support/program_version.h"
#include "converter/gui/app/HalvardVideoConverter.h"
#include "converter/gui/widgets/TesselVideoFile.h"

namespace {

constexpr char kHelp[] =
    "Usage: norvik-kdx-converter [OPTION]... [VIDEO FILE]...\n"
    "Opens the Norvik KDX Video Converter's window. The files named are queued\n"
    "as if dropped on its list; \"--\" ends the options, so a file whose name\n"
    "begins with a dash can follow it.\n"
    "\n"
    "  -h, --help     show this text and end\n"
    "      --version  show the version and end\n"
    "\n"
    "Qt's own options, such as -platform NAME or -style NAME, are understood as\n"
    "well. kdxconvert converts from the command line without a window.\n";

// --help and --version are answered before Qt starts, so they work without a
// display; the exit status, or none when the window should open.
std::optional<int> AnswerInformationRequest(int argc, char** argv) {
  for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kHelp, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::fputs(VersionText("norvik-kdx-converter").c_str(), stdout);
      return 0;
    }
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  if (std::optional<int> status = AnswerInformationRequest(argc, argv)) return *status;
  if (!HasDisplay()) {
    std::fprintf(stderr, "%s\n", kNoDisplayText);
    return 1;
  }
  SendFfmpegMessagesToTraceLog();
  SelectPreviewMediaBackend();
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Norvik KDX Video Converter"));
  QStringList files = QApplication::arguments().mid(1);
  files.removeOne(QStringLiteral("--"));
  CHalvardVideoConverterApp converter;
  return converter.Run(files);
}
