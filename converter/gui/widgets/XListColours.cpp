// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/widgets/XListColours.h"

#include <QPalette>

XListColours XListColours::FromPalette(const QPalette& palette) {
  XListColours c;
  c.crBtnFace = palette.color(QPalette::Active, QPalette::Button);
  c.crBtnHighLight = palette.color(QPalette::Active, QPalette::Light);
  c.crBtnShadow = palette.color(QPalette::Active, QPalette::Mid);
  c.crBtnText = palette.color(QPalette::Active, QPalette::ButtonText);
  c.crGrayText = palette.color(QPalette::Disabled, QPalette::Text);
  c.crHighLight = palette.color(QPalette::Active, QPalette::Highlight);
  c.crHighLightText = palette.color(QPalette::Active, QPalette::HighlightedText);
  c.crWindow = palette.color(QPalette::Active, QPalette::Base);
  c.crWindowText = palette.color(QPalette::Active, QPalette::Text);
  return c;
}
