// SPDX-License-Identifier: GPL-2.0-or-later
// What the file list keeps for each cell besides its text.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

struct XListCellData {
  bool bEnabled = true;  // the first cell's value is the whole row's state
  bool bBold = false;
  int nImage = -1;  // index into the list's image list, -1 for none
  QString strToolTip;
  // A drop-down list in the cell; kept so rows carry the full record, the
  // program never switches it on.
  bool bCombo = false;
  bool bSort = false;
  QStringList comboStrings;
  int nComboListHeight = 10;
  int nInitialComboSel = 0;
  QColor crText;
  QColor crBackground;
  bool bShowProgress = false;
  int nProgressPercent = 0;
  QString strProgressText;  // empty: the percentage is shown
  bool bShowProgressMessage = true;
  int nCheckedState = -1;  // -1 no check box, 0 unchecked, 1 checked
};
