// SPDX-License-Identifier: GPL-2.0-or-later
// The report list: range checks, check boxes clicked with the mouse, the
// header's check box, disabled rows, tool tips, the empty-list text and the
// colours taken from the palette.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QSignalSpy>
#include <QTest>
#include <QPushButton>
#include <QToolTip>

#include "converter/gui/widgets/XHeaderCtrl.h"
#include "converter/gui/widgets/XListCtrl.h"
#include "converter/gui/widgets/XListDelegate.h"
#include "tests/converter/gui/widgets/palette_checks.h"
#include "tests/converter/gui/widgets/qt_test_app.h"

namespace {

// Three columns, three rows; the first column holds a check box per row.
class XListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    list.resize(480, 200);
    list.InsertColumn(0, "File", Qt::AlignLeft, 220);
    list.InsertColumn(1, "Duration", Qt::AlignLeft, 100);
    list.InsertColumn(2, "Status", Qt::AlignLeft, 120);
    for (int row = 0; row < 3; ++row) {
      ASSERT_EQ(list.InsertItem(row, QString("/videos/clip%1.avi").arg(row)), row);
      list.SetCheckbox(row, 0, 1);
    }
    uitest::ShowAndWait(list);
  }

  QPoint CheckBoxCentre(int row, int column) {
    const QRect cell = list.visualRect(list.model()->index(row, column));
    return CXListDelegate::CheckBoxRect(cell, !list.GetItemText(row, column).isEmpty()).center();
  }

  CXListCtrl list;
};

TEST_F(XListTest, OperationsOutsideTheRowsOrColumnsChangeNothing) {
  EXPECT_FALSE(list.SetItemText(5, 0, "x"));
  EXPECT_FALSE(list.SetItemText(0, 3, "x"));
  EXPECT_FALSE(list.SetItemText(-1, 0, "x"));
  EXPECT_EQ(list.GetItemText(0, 0), "/videos/clip0.avi");
  EXPECT_EQ(list.InsertItem(4, "late"), -1);
  EXPECT_EQ(list.InsertItem(-1, "early"), -1);
  EXPECT_FALSE(list.DeleteItem(3));
  EXPECT_FALSE(list.SetBold(0, 7, true));
  EXPECT_FALSE(list.SetEnabled(9, false));
  EXPECT_FALSE(list.GetEnabled(9));
  EXPECT_FALSE(list.SetCheckbox(3, 0, 1));
  EXPECT_EQ(list.GetCheckbox(0, 5), -1);
  EXPECT_FALSE(list.SetProgress(0, 3));
  EXPECT_FALSE(list.UpdateProgress(0, 2, 50)) << "no bar in that cell yet";
  EXPECT_FALSE(list.SetItemToolTipText(0, -1, "tip"));
  EXPECT_EQ(list.GetItemCount(), 3);

  CXListCtrl noColumns;
  EXPECT_EQ(noColumns.InsertItem(0, "row"), -1) << "a row needs at least one cell";
}

TEST_F(XListTest, CellsKeepTheirRecordsAsRowsComeAndGo) {
  ASSERT_TRUE(list.SetBold(1, 2, true));
  ASSERT_EQ(list.InsertItem(0, "/videos/new.avi"), 0);
  EXPECT_TRUE(list.GetBold(2, 2)) << "the record moves with its row";
  EXPECT_EQ(list.GetCheckbox(0, 0), -1) << "a new row has no check box";
  ASSERT_TRUE(list.DeleteItem(2));
  EXPECT_FALSE(list.GetBold(2, 2));
  EXPECT_EQ(list.GetItemCount(), 3);

  ASSERT_TRUE(list.SetProgress(0, 2, true, "Converting"));
  ASSERT_TRUE(list.UpdateProgress(0, 2, 140));
  EXPECT_EQ(list.GetCellData(0, 2)->nProgressPercent, 100);
  EXPECT_EQ(list.GetCellData(0, 2)->strProgressText, "Converting");
  ASSERT_TRUE(list.DeleteProgress(0, 2));
  EXPECT_FALSE(list.GetCellData(0, 2)->bShowProgress);
}

TEST_F(XListTest, PressInsideTheBoxFlipsItAndTellsTheOwner) {
  QSignalSpy clicked(&list, &CXListCtrl::checkBoxClicked);
  list.SetCheckbox(1, 0, 0);
  list.SetCheckbox(2, 0, 0);

  // Unchecking the only checked row.
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, CheckBoxCentre(0, 0));
  ASSERT_EQ(clicked.count(), 1);
  EXPECT_EQ(clicked[0][0].toInt(), 0);
  EXPECT_EQ(clicked[0][1].toInt(), 0);
  EXPECT_EQ(list.GetCheckbox(0, 0), 0);
  EXPECT_TRUE(list.selectionModel()->isRowSelected(0, {})) << "the press still selects";

  // On the text beside the box, and in a cell without a box: no flip.
  const QRect cell = list.visualRect(list.model()->index(1, 0));
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(cell.right() - 10, cell.center().y()));
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(list.model()->index(1, 1)).center());
  QTest::mouseClick(list.viewport(), Qt::RightButton, {}, CheckBoxCentre(1, 0));
  EXPECT_EQ(clicked.count(), 1);
  EXPECT_EQ(list.GetCheckbox(1, 0), 0);

  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, CheckBoxCentre(2, 0));
  ASSERT_EQ(clicked.count(), 2);
  EXPECT_EQ(clicked[1][0].toInt(), 2);
  EXPECT_EQ(list.GetCheckbox(2, 0), 1);
}

TEST(XListKeyboardTest, SpaceFlipsTheCurrentRowsBoxAndTabLeavesTheList) {
  QWidget window;
  auto* list = new CXListCtrl(&window);
  auto* next = new QPushButton("Next", &window);
  list->setGeometry(0, 0, 300, 150);
  next->setGeometry(0, 160, 80, 24);
  list->InsertColumn(0, "File", Qt::AlignLeft, 200);
  list->InsertColumn(1, "Status", Qt::AlignLeft, 100);
  for (int row = 0; row < 2; ++row) {
    list->InsertItem(row, QString("/videos/clip%1.avi").arg(row));
    list->SetCheckbox(row, 0, 1);
  }
  uitest::ShowAndWait(window);
  QSignalSpy clicked(list, &CXListCtrl::checkBoxClicked);
  list->setFocus();
  list->setCurrentIndex(list->model()->index(1, 1));
  QTest::keyClick(list, Qt::Key_Space);
  EXPECT_EQ(list->GetCheckbox(1, 0), 0) << "the row's box, from any of its cells";
  ASSERT_EQ(clicked.count(), 1);
  EXPECT_EQ(clicked[0][0].toInt(), 1);
  QTest::keyClick(list, Qt::Key_Space);
  EXPECT_EQ(list->GetCheckbox(1, 0), 1);
  EXPECT_EQ(list->GetCheckbox(0, 0), 1);
  QSignalSpy chosen(list, &CXListCtrl::rowChosenByKey);
  QTest::keyClick(list, Qt::Key_Up);
  ASSERT_EQ(chosen.count(), 1);
  EXPECT_EQ(chosen[0][0].toInt(), 0);


  QTest::keyClick(list, Qt::Key_Tab);
  EXPECT_TRUE(next->hasFocus()) << "Tab leaves the list instead of walking its cells";
}

TEST_F(XListTest, HeaderCheckBoxSetsTheColumnAndFollowsTheRows) {
  list.SetCheckbox(1, 0, -1);  // a row without a box stays without one
  list.SetHeaderCheckedState(0, CXHeaderCtrl::kUnchecked);
  EXPECT_EQ(list.GetHeaderCheckedState(1), CXHeaderCtrl::kNoCheckBox);

  CXHeaderCtrl* header = list.GetHeaderCtrl();
  const QPoint firstSection(header->sectionViewportPosition(0) + 40, header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, firstSection);
  EXPECT_EQ(list.GetHeaderCheckedState(0), CXHeaderCtrl::kChecked);
  EXPECT_EQ(list.GetCheckbox(0, 0), 1);
  EXPECT_EQ(list.GetCheckbox(1, 0), -1);
  EXPECT_EQ(list.GetCheckbox(2, 0), 1);

  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, firstSection);
  EXPECT_EQ(list.GetCheckbox(0, 0), 0);
  EXPECT_EQ(list.GetCheckbox(2, 0), 0);

  // Ticking every row's box by hand ticks the header's; unticking one clears it.
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, CheckBoxCentre(0, 0));
  EXPECT_EQ(list.GetHeaderCheckedState(0), CXHeaderCtrl::kUnchecked);
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, CheckBoxCentre(2, 0));
  EXPECT_EQ(list.GetHeaderCheckedState(0), CXHeaderCtrl::kChecked);
  list.SetCheckbox(2, 0, 0);
  EXPECT_EQ(list.GetHeaderCheckedState(0), CXHeaderCtrl::kUnchecked);

  // A click on a column without a header box changes no row.
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(1) + 20, header->height() / 2));
  EXPECT_EQ(list.GetCheckbox(0, 0), 1);
}

TEST_F(XListTest, DisabledRowLosesSelectionAndTurnsGrey) {
  for (int row = 0; row < 3; ++row) list.SetItemText(row, 2, "Waiting for conversion");
  list.selectRow(1);
  ASSERT_TRUE(list.selectionModel()->isRowSelected(1, {}));
  const QRect status = list.visualRect(list.model()->index(1, 2));
  const QColor grey = list.GetColours().crGrayText;
  const int greyBefore = uitest::CountColour(uitest::Picture(*list.viewport()), status, grey);

  ASSERT_TRUE(list.SetEnabled(1, false));
  EXPECT_FALSE(list.GetEnabled(1));
  EXPECT_FALSE(list.selectionModel()->isRowSelected(1, {}));
  const QImage after = uitest::Picture(*list.viewport());
  EXPECT_GT(uitest::CountColour(after, status, grey), greyBefore + 10);
  EXPECT_EQ(uitest::CountColour(after, status, list.GetColours().crWindowText), 0);
}

TEST_F(XListTest, ToolTipShowsTheWholeTextAndEmptyShowsNothing) {
  const QString longTip = "/home/ingrid/Videos/" + QString(200, QChar('x')) + "/holiday.avi";
  list.SetItemToolTipText(0, 2, longTip);
  const QPoint over = list.visualRect(list.model()->index(0, 2)).center();
  QHelpEvent help(QEvent::ToolTip, over, list.viewport()->mapToGlobal(over));
  QApplication::sendEvent(list.viewport(), &help);
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), longTip);

  QToolTip::hideText();
  ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
  const QPoint quiet = list.visualRect(list.model()->index(1, 2)).center();
  QHelpEvent none(QEvent::ToolTip, quiet, list.viewport()->mapToGlobal(quiet));
  QApplication::sendEvent(list.viewport(), &none);
  QApplication::processEvents();
  EXPECT_FALSE(QToolTip::isVisible());
}

TEST_F(XListTest, EmptyListWritesItsTextUnderTheHeader) {
  for (int row = 0; row < 3; ++row) {
    list.SetCheckbox(row, 0, -1);
    list.SetItemText(row, 0, "");
  }
  const QRect band(0, 10, list.viewport()->width(), list.fontMetrics().height());
  const QColor ink = list.GetColours().crWindowText;
  EXPECT_EQ(uitest::CountColour(uitest::Picture(*list.viewport()), band, ink), 0) << "rows without text";
  ASSERT_TRUE(list.DeleteAllItems());
  EXPECT_GT(uitest::CountColour(uitest::Picture(*list.viewport()), band, ink), 10);
}

TEST_F(XListTest, ProgressLabelReadsSelectedOrNotInLightAndDarkPalettes) {
  list.setColumnWidth(2, 200);
  list.SetProgress(0, 2, true, "Converting");
  list.setFocus();
  const struct {
    const char* name;
    QPalette palette;
  } palettes[] = {{"light", QApplication::style()->standardPalette()}, {"dark", DarkPalette()}};
  for (const auto& [name, palette] : palettes) {
    list.setPalette(palette);
    for (bool selected : {false, true}) {
      if (selected) {
        list.selectRow(0);
      } else {
        list.clearSelection();
      }
      for (int percent : {0, 100}) {
        list.UpdateProgress(0, 2, percent);
        const QRect cell = list.visualRect(list.model()->index(0, 2));
        EXPECT_GT(StandingOutPixels(uitest::Picture(*list.viewport()), cell), 15)
            << name << (selected ? " selected " : " ") << percent << "%";
      }
    }
  }
}

TEST_F(XListTest, ColoursFollowThePalette) {
  list.SetProgress(0, 2, false);
  list.UpdateProgress(0, 2, 100);
  const QRect cell = list.visualRect(list.model()->index(0, 2));
  for (const QColor colour : {QColor(200, 30, 30), QColor(20, 160, 40)}) {
    QPalette palette = list.palette();
    palette.setColor(QPalette::Highlight, colour);
    list.setPalette(palette);
    EXPECT_EQ(list.GetColours().crHighLight, colour);
    // The style shades the bar from the highlight colour.
    EXPECT_GT(uitest::CountColour(uitest::Picture(*list.viewport()), cell, colour, 40), cell.width() * 4);
  }
  // A half bar fills about half the cell.
  list.UpdateProgress(0, 2, 50);
  const int half = uitest::CountColour(uitest::Picture(*list.viewport()), cell, QColor(20, 160, 40), 40);
  list.UpdateProgress(0, 2, 100);
  const int full = uitest::CountColour(uitest::Picture(*list.viewport()), cell, QColor(20, 160, 40), 40);
  EXPECT_NEAR(half * 2, full, full / 10);

  // Cells in the default colours follow a new window colour; chosen ones stay.
  list.SetItemText(2, 1, "00:01:00", Qt::black, QColor(255, 255, 200));
  QPalette dark = list.palette();
  dark.setColor(QPalette::Base, QColor(40, 40, 40));
  dark.setColor(QPalette::Text, QColor(230, 230, 230));
  list.setPalette(dark);
  EXPECT_EQ(list.GetCellData(1, 1)->crBackground, QColor(40, 40, 40));
  EXPECT_EQ(list.GetCellData(1, 1)->crText, QColor(230, 230, 230));
  EXPECT_EQ(list.GetCellData(2, 1)->crBackground, QColor(255, 255, 200));
  const QImage shown = uitest::Picture(*list.viewport());
  const QRect plain = list.visualRect(list.model()->index(1, 1));
  EXPECT_EQ(shown.pixelColor(plain.right() - 2, plain.center().y()), QColor(40, 40, 40));
  const QRect chosen = list.visualRect(list.model()->index(2, 1));
  EXPECT_EQ(shown.pixelColor(chosen.right() - 2, chosen.center().y()), QColor(255, 255, 200));
}

}  // namespace
