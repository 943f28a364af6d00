// SPDX-License-Identifier: GPL-2.0-or-later
// The settings panel: editors opened and committed through the list, the
// rule that a closed editor sends nothing, relabelling, fonts and layout.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QSignalSpy>
#include <QTest>
#include <functional>

#include "converter/gui/widgets/OptionTree.h"
#include "tests/converter/gui/widgets/qt_test_app.h"

namespace {

class OptionTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    player = tree.InsertItem(new COptionTreeItem);
    player->SetLabelText("Player");
    screen = tree.InsertItem(new COptionTreeItemStatic, player);
    screen->SetLabelText("Screen");
    screen->SetStaticText("128 x 128");
    output = tree.InsertItem(new COptionTreeItem);
    output->SetLabelText("Output");
    name = tree.InsertItem(new COptionTreeItemEdit, output);
    name->SetLabelText("Destination ");
    name->setText("holiday");
    quality = tree.InsertItem(new COptionTreeItemComboBox, output);
    quality->SetLabelText("Quality");
    quality->addItems({"High", "Medium", "Low"});
    start = tree.InsertItem(new COptionTreeItemDate, output);
    start->SetLabelText("Start");
    start->SetTimeRange(QTime(0, 0), QTime(0, 10, 0));
    tree.Refresh();
    tree.resize(320, 240);
    uitest::ShowAndWait(tree);
  }

  QTreeWidgetItem* RowOf(const QString& label) {
    return tree.GetList()->findItems(label, Qt::MatchExactly | Qt::MatchRecursive).value(0);
  }
  void ClickRow(const QString& label) {
    QTreeWidgetItem* row = RowOf(label);
    ASSERT_NE(row, nullptr) << label.toStdString();
    QTest::mouseClick(tree.GetList()->viewport(), Qt::LeftButton, {}, tree.GetList()->visualItemRect(row).center());
  }

  COptionTree tree;
  COptionTreeItem* player;
  COptionTreeItemStatic* screen;
  COptionTreeItem* output;
  COptionTreeItemEdit* name;
  COptionTreeItemComboBox* quality;
  COptionTreeItemDate* start;
};

TEST_F(OptionTreeTest, CommitReportsAnOpenEditorOnceAndAClosedOneNever) {
  QSignalSpy changed(&tree, &COptionTree::itemChanged);
  tree.Commit(name);
  tree.Commit(screen);
  tree.Commit(player);
  EXPECT_EQ(changed.count(), 0) << "nothing was open";

  ClickRow("Destination ");
  ASSERT_FALSE(name->IsEditorClosed());
  ASSERT_TRUE(name->isVisible());
  EXPECT_TRUE(tree.GetList()->ValueRect(RowOf("Destination ")).contains(name->geometry().center()));
  name->selectAll();
  QTest::keyClicks(name, "party");
  QTest::keyClick(name, Qt::Key_Return);
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed[0][0].value<COptionTreeItem*>(), static_cast<COptionTreeItem*>(name));
  EXPECT_TRUE(name->IsEditorClosed());
  EXPECT_FALSE(name->isVisible());
  EXPECT_EQ(RowOf("Destination ")->text(1), "party");

  tree.Commit(name);
  EXPECT_EQ(changed.count(), 1);
}

TEST_F(OptionTreeTest, MovingToAnotherRowCommitsTheOpenOne) {
  QSignalSpy changed(&tree, &COptionTree::itemChanged);
  ClickRow("Quality");
  ASSERT_FALSE(quality->IsEditorClosed());
  quality->setCurrentIndex(2);  // the owner fills editors directly
  ClickRow("Start");
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed[0][0].value<COptionTreeItem*>(), static_cast<COptionTreeItem*>(quality));
  EXPECT_EQ(RowOf("Quality")->text(1), "Low");
  EXPECT_FALSE(start->IsEditorClosed());

  start->setTime(QTime(1, 0, 0));  // outside its range
  QTest::keyClick(start, Qt::Key_Return);
  ASSERT_EQ(changed.count(), 2);
  EXPECT_EQ(RowOf("Start")->text(1), "00:10:00");

  ClickRow("Screen");  // a read-only row has nothing to open
  EXPECT_TRUE(screen->IsEditorClosed());
  EXPECT_EQ(changed.count(), 2);
}

TEST_F(OptionTreeTest, LabelsTextsAndCategoryFontsShowInTheList) {
  quality->SetLabelText("Video Mode");
  EXPECT_NE(RowOf("Video Mode"), nullptr);
  EXPECT_EQ(RowOf("Quality"), nullptr);
  screen->SetStaticText("220 x 176");
  EXPECT_EQ(RowOf("Screen")->text(1), "220 x 176");
  name->setText("changed from outside");
  tree.Refresh();
  EXPECT_EQ(RowOf("Destination ")->text(1), "changed from outside");

  EXPECT_TRUE(RowOf("Player")->font(0).bold());
  EXPECT_TRUE(RowOf("Output")->font(0).bold());
  EXPECT_FALSE(RowOf("Start")->font(0).bold());
  EXPECT_EQ(player->GetChild(), screen);
  EXPECT_EQ(name->GetSibling(), quality);
  EXPECT_EQ(player->GetSibling(), output);
  EXPECT_EQ(start->GetParent(), output);
}

TEST_F(OptionTreeTest, ListFillsTheControlUnlessASideIsZero) {
  EXPECT_EQ(tree.GetList()->geometry(), QRect(0, 0, 320, 240));
  tree.resize(0, 240);
  QApplication::processEvents();
  EXPECT_EQ(tree.GetList()->geometry(), QRect(0, 0, 320, 240));
  tree.resize(400, 0);
  QApplication::processEvents();
  EXPECT_EQ(tree.GetList()->geometry(), QRect(0, 0, 320, 240));
  tree.resize(400, 300);
  QApplication::processEvents();
  EXPECT_EQ(tree.GetList()->geometry(), QRect(0, 0, 400, 300));

  COptionTree withInfo(nullptr, COptionTree::OT_OPTIONS_SHOWINFOWINDOW);
  withInfo.resize(300, 200);
  uitest::ShowAndWait(withInfo);
  EXPECT_EQ(withInfo.GetList()->geometry(), QRect(0, 0, 300, 150));
  EXPECT_EQ(withInfo.GetInfo()->geometry(), QRect(0, 150, 300, 50));
}

TEST(OptionTreeFontsTest, RowsTakeTheWindowsFontAndCategoriesItsBoldFace) {
  QWidget window;
  window.setFont(QFont("DejaVu Sans", 8));
  auto* tree = new COptionTree(&window);
  COptionTreeItem* category = tree->InsertItem(new COptionTreeItem);
  category->SetLabelText("Output Video");
  auto* name = tree->InsertItem(new COptionTreeItemEdit, category);
  name->SetLabelText("Destination ");
  uitest::ShowAndWait(window);
  QTreeWidgetItem* row = tree->GetList()->topLevelItem(0);
  EXPECT_EQ(tree->GetList()->font().pointSize(), 8);
  EXPECT_EQ(row->font(0).pointSize(), 8);
  EXPECT_TRUE(row->font(0).bold());

  // A new font of the window reaches open trees.
  window.setFont(QFont("DejaVu Sans", 13));
  QApplication::processEvents();
  EXPECT_EQ(tree->GetList()->font().pointSize(), 13);
  EXPECT_EQ(row->font(0).pointSize(), 13);
  EXPECT_TRUE(row->font(0).bold());
}

TEST_F(OptionTreeTest, EnterKeepsEscapeGivesBackAndFocusStaysInThePanel) {
  QSignalSpy changed(&tree, &COptionTree::itemChanged);
  const struct {
    COptionTreeItem* item;
    std::function<void()> change;
    std::function<QString()> value;
    QString before, after;
  } editors[] = {
      {name, [&] { name->setText("party"); }, [&] { return name->text(); }, "holiday", "party"},
      {quality, [&] { quality->setCurrentIndex(2); }, [&] { return quality->currentText(); }, "High", "Low"},
      {start, [&] { start->setTime(QTime(0, 2, 0)); }, [&] { return start->time().toString("HH:mm:ss"); },
       "00:00:00", "00:02:00"},
  };
  for (const auto& editor : editors) {
    const std::string label = editor.item->GetLabelText().toStdString();
    const int before = changed.count();
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
      ClickRow(editor.item->GetLabelText());
      ASSERT_FALSE(editor.item->IsEditorClosed()) << label;
      editor.change();
      QTest::keyClick(editor.item->GetEditor(), key);
      EXPECT_TRUE(editor.item->IsEditorClosed()) << label;
      EXPECT_EQ(editor.value(), key == Qt::Key_Escape ? editor.before : editor.after) << label;
      EXPECT_EQ(changed.count(), before + (key == Qt::Key_Escape ? 0 : 1)) << label;
      EXPECT_EQ(tree.focusWidget(), tree.GetList()) << label << ": focus stays in the panel";
    }
  }
  // Enter on a row opens its editor again.
  QTest::keyClick(tree.GetList(), Qt::Key_Return);
  EXPECT_FALSE(start->IsEditorClosed());
  EXPECT_EQ(tree.focusWidget(), start);
}

}  // namespace
