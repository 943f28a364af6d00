#include "OptionTreeFonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>

namespace {

struct FontPair {
  QFont normal;
  QFont bold;
};

FontPair Build() {
  FontPair fonts;
  fonts.normal = COptionTreeFonts::FromMenuFont(QApplication::font("QMenu"), QFontDatabase::families());
  fonts.bold = fonts.normal;
  fonts.bold.setWeight(QFont::Bold);
  return fonts;
}

FontPair& Shared() {
  static FontPair fonts = Build();
  return fonts;
}

bool UsesLatinScript(const QFont& font) {
  const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(QFontInfo(font).family());
  return systems.isEmpty() || systems.contains(QFontDatabase::Latin) || systems.contains(QFontDatabase::Symbol);
}

}  // namespace

const QFont& COptionTreeFonts::Normal() { return Shared().normal; }

const QFont& COptionTreeFonts::Bold() { return Shared().bold; }

void COptionTreeFonts::Rebuild() { Shared() = Build(); }

QFont COptionTreeFonts::FromMenuFont(const QFont& menuFont, const QStringList& families) {
  QFont font = menuFont;
  if (!UsesLatinScript(menuFont)) return font;
  const bool hasTahoma = families.contains(QStringLiteral("Tahoma"), Qt::CaseInsensitive);
  font.setFamily(hasTahoma ? QStringLiteral("Tahoma") : QStringLiteral("MS Sans Serif"));
  return font;
}
