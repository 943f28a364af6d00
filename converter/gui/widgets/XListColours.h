// SPDX-License-Identifier: GPL-2.0-or-later
// The system colours the file list draws with, taken from its palette.
#pragma once

#include <QColor>

class QPalette;

struct XListColours {
  QColor crBtnFace;
  QColor crBtnHighLight;
  QColor crBtnShadow;
  QColor crBtnText;
  QColor crGrayText;
  QColor crHighLight;
  QColor crHighLightText;
  QColor crWindow;
  QColor crWindowText;

  static XListColours FromPalette(const QPalette& palette);
};
