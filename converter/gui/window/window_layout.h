// SPDX-License-Identifier: GPL-2.0-or-later
// How the main window's controls follow its size. The template's placement
// is the smallest window; extra width goes to the file list and the options
// panel in proportion to their widths in the template, extra height to both,
// and the controls around them move along.
#pragma once

#include <QRect>
#include <QSize>

enum class Follow {
  kStays,           // the hint, in the top-left corner
  kListRight,       // buttons beside the list's top-right corner
  kList,            // the file list: wider and taller
  kBelowList,       // moves down with the list's bottom
  kBelowListWide,   // moves down and widens with the list (destination field, status line)
  kBelowListRight,  // moves down and right with the list's bottom-right corner
  kBelowListMiddle, // moves down and stays in the middle under the list (Convert, Quit)
  kOverPanel,       // the preview and its buttons: centred over the panel
  kPanel,           // the options panel: moves right with the list, wider and taller
};

// The part of extra width that goes to the list; the panel takes the rest.
int ListShareOf(int extraWidth);

// Where a control placed at `base` goes when the window is `extra` larger
// than its template (never smaller: the template is the minimum).
QRect FollowRect(const QRect& base, Follow follow, QSize extra);
