// The option trees' normal and bold fonts, shared by every tree, made from
// the system's menu font.
#pragma once

#include <QFont>
#include <QStringList>

class COptionTreeFonts {
 public:
  static const QFont& Normal();
  static const QFont& Bold();
  // Builds both again from the current menu font (after a settings change).
  static void Rebuild();

  // The menu font's size, weight and slant; for a Latin menu font the face
  // becomes "Tahoma" when the system has it, else "MS Sans Serif".
  static QFont FromMenuFont(const QFont& menuFont, const QStringList& families);
};
