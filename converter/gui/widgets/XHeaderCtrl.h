// SPDX-License-Identifier: GPL-2.0-or-later
// The file list's column header. A column's header image says whether it
// carries a check box: 0 none, 1 unchecked, 2 checked; a click on such a
// column flips it and reports the new state.
#pragma once

#include <QHeaderView>
#include <vector>

class CXHeaderCtrl : public QHeaderView {
  Q_OBJECT

 public:
  enum { kNoCheckBox = 0, kUnchecked = 1, kChecked = 2 };

  explicit CXHeaderCtrl(QWidget* parent = nullptr);

  int GetCheckImage(int column) const;
  void SetCheckImage(int column, int image);

 signals:
  void checkBoxToggled(int column, bool checked);

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

 private:
  void OnSectionClicked(int column);

  std::vector<int> m_images;
};
