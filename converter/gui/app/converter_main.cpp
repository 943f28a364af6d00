// The desktop converter.
#include <QApplication>

#include <cstdio>

#include "converter/core/startup/display_check.h"
#include "converter/core/support/ffmpeg_messages.h"
#include "converter/gui/app/HalvardVideoConverter.h"
#include "converter/gui/widgets/TesselVideoFile.h"

int main(int argc, char** argv) {
  if (!HasDisplay()) {
    std::fprintf(stderr, "%s\n", kNoDisplayText);
    return 1;
  }
  SendFfmpegMessagesToTraceLog();
  SelectPreviewMediaBackend();
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Norvik KDX Video Converter"));
  CHalvardVideoConverterApp converter;
  return converter.Run(QApplication::arguments().mid(1));
}
