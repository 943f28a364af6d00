// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/window/window_layout.h"

namespace {

// The template widths of the file list and the options panel, in dialog units.
constexpr int kListWidth = 335;
constexpr int kPanelWidth = 150;

}  // namespace

int ListShareOf(int extraWidth) { return extraWidth * kListWidth / (kListWidth + kPanelWidth); }

QRect FollowRect(const QRect& base, Follow follow, QSize extra) {
  const int dw = qMax(0, extra.width());
  const int dh = qMax(0, extra.height());
  const int list = ListShareOf(dw);
  const int panel = dw - list;
  switch (follow) {
    case Follow::kStays: return base;
    case Follow::kListRight: return base.translated(list, 0);
    case Follow::kList: return base.adjusted(0, 0, list, dh);
    case Follow::kBelowList: return base.translated(0, dh);
    case Follow::kBelowListWide: return base.translated(0, dh).adjusted(0, 0, list, 0);
    case Follow::kBelowListRight: return base.translated(list, dh);
    case Follow::kBelowListMiddle: return base.translated(list / 2, dh);
    case Follow::kOverPanel: return base.translated(list + panel / 2, 0);
    case Follow::kPanel: return base.translated(list, 0).adjusted(0, 0, panel, dh);
  }
  return base;
}
