// The desktop converter.
#include <QApplication>

#include "converter/gui/app/HalvardVideoConverter.h"
#include "converter/gui/widgets/TesselVideoFile.h"

int main(int argc, char** argv) {
  SelectPreviewMediaBackend();
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Norvik KDX Video Converter"));
  CHalvardVideoConverterApp converter;
  return converter.Run(QApplication::arguments().mid(1));
}
