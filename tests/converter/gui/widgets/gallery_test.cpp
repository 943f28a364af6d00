// SPDX-License-Identifier: GPL-2.0-or-later
// Pictures of the controls with sample content, saved into build/screens/ so
// they can be looked at without a display.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>

#include "converter/gui/widgets/DevicePiture.h"
#include "converter/gui/widgets/FileDropListCtrl.h"
#include "converter/gui/widgets/FilenameEdit.h"
#include "converter/gui/widgets/OptionTree.h"
#include "tests/converter/gui/widgets/qt_test_app.h"

namespace {

const QString kDestination = "/home/ingrid/Videos/Holiday 2026/Norway by the coast/Converted for the player";

void SaveScreen(QWidget& widget, const QString& name) {
  uitest::ShowAndWait(widget);
  const QString folder = QStringLiteral(KDX_SCREENS_DIR);
  ASSERT_TRUE(QDir().mkpath(folder));
  const QImage picture = uitest::Picture(widget);
  ASSERT_TRUE(picture.save(folder + "/" + name));
  EXPECT_FALSE(QImage(folder + "/" + name).isNull());
}

void FillList(CFileDropListCtrl& list) {
  list.InsertColumn(0, "File", Qt::AlignLeft, 300);
  list.InsertColumn(1, "Duration", Qt::AlignLeft, 70);
  list.InsertColumn(2, "Quality", Qt::AlignLeft, 70);
  list.InsertColumn(3, "Status", Qt::AlignLeft, 150);
  list.SetShowSelectionAlways(true);
  const struct {
    const char* path;
    const char* duration;
    const char* quality;
  } rows[] = {
      {"/home/ingrid/Videos/Holiday 2026/Norway by the coast/ferry_to_lofoten.mp4", "00:04:12", "High"},
      {"/home/ingrid/Videos/party.avi", "00:12:40", "Medium"},
      {"/home/ingrid/Videos/Family/Grandparents/anniversary_dinner_full_evening.mov", "01:02:03", "High"},
      {"/media/ingrid/CAMERA/DCIM/100MEDIA/MOV0042.mpg", "00:00:45", "Low"},
      {"/home/ingrid/Videos/old recordings/concert.wmv", "00:31:07", "High"},
  };
  for (int row = 0; row < 5; ++row) {
    list.InsertItem(row, rows[row].path);
    list.SetItemText(row, 1, rows[row].duration);
    list.SetItemText(row, 2, rows[row].quality);
    list.SetCheckbox(row, 0, row == 3 ? 0 : 1);
  }
  list.SetItemText(0, 3, "Complete.");
  list.SetProgress(1, 3);
  list.UpdateProgress(1, 3, 45);
  list.SetItemText(2, 3, "Failed.");
  list.SetBold(2, 3, true);
  list.SetItemToolTipText(2, 3, "The file cannot be converted.");
  list.SetItemText(3, 3, "Not selected");
  list.SetEnabled(3, false);
  list.SetItemText(4, 3, "Waiting");
  list.selectRow(4);
}

// Returns the quality item.
COptionTreeItemComboBox* FillOptionTree(COptionTree& tree) {
  COptionTreeItem* player = tree.InsertItem(new COptionTreeItem);
  player->SetLabelText("Player Properties");
  for (const auto& [label, value] : {std::pair{"Model", "NK-176T"}, std::pair{"Screen", "176 x 220"},
                                     std::pair{"Frame rate", "15 fps"}}) {
    auto* item = tree.InsertItem(new COptionTreeItemStatic, player);
    item->SetLabelText(label);
    item->SetStaticText(value);
  }
  COptionTreeItem* output = tree.InsertItem(new COptionTreeItem);
  output->SetLabelText("Output Settings");
  auto* name = tree.InsertItem(new COptionTreeItemEdit, output);
  name->SetLabelText("Destination ");
  name->setText("ferry_to_lofoten");
  auto* start = tree.InsertItem(new COptionTreeItemDate, output);
  start->SetLabelText("Start");
  start->setTime(QTime(0, 0, 0));
  auto* end = tree.InsertItem(new COptionTreeItemDate, output);
  end->SetLabelText("End");
  end->setTime(QTime(0, 4, 12));
  auto* mode = tree.InsertItem(new COptionTreeItemComboBox, output);
  mode->SetLabelText("Video Mode");
  mode->addItems({"Full Screen", "Full Image"});
  auto* quality = tree.InsertItem(new COptionTreeItemComboBox, output);
  quality->SetLabelText("Quality");
  quality->addItems({"High", "Medium", "Low"});
  tree.Refresh();
  return quality;
}

// A player drawn on magenta, the way the shipped pictures are made.
QString MakePlayerBitmap(const QTemporaryDir& dir) {
  QImage bitmap(96, 150, QImage::Format_RGB888);
  bitmap.fill(QColor(255, 0, 255));
  QPainter painter(&bitmap);
  painter.setPen(QColor(40, 40, 48));
  painter.setBrush(QColor(70, 74, 86));
  painter.drawRect(10, 4, 76, 140);
  painter.setBrush(QColor(150, 200, 240));
  painter.drawRect(18, 14, 60, 74);
  painter.setBrush(QColor(200, 200, 210));
  painter.drawEllipse(QPoint(48, 114), 18, 18);
  painter.end();
  const QString path = dir.filePath("NK-176T.bmp");
  bitmap.save(path, "BMP");
  return path;
}

TEST(ControlGallery, SavesAPictureOfEachControl) {
  CFileDropListCtrl list;
  FillList(list);
  list.resize(620, 150);
  SaveScreen(list, "file_list.png");

  CFileDropListCtrl empty;
  empty.InsertColumn(0, "File", Qt::AlignLeft, 300);
  empty.InsertColumn(1, "Status", Qt::AlignLeft, 150);
  empty.resize(480, 120);
  SaveScreen(empty, "file_list_empty.png");

  COptionTree tree;
  COptionTreeItemComboBox* quality = FillOptionTree(tree);
  tree.resize(300, 230);
  SaveScreen(tree, "option_tree.png");
  // The same panel while the quality is being chosen.
  tree.OpenEditor(quality);
  SaveScreen(tree, "option_tree_editing.png");

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  CDevicePiture picture;
  picture.SetBitmapPath(MakePlayerBitmap(dir));
  picture.resize(120, 160);
  SaveScreen(picture, "device_picture.png");
  CDevicePiture missing;
  missing.SetBitmapPath(dir.filePath("NK-000.bmp"));
  missing.resize(120, 160);
  SaveScreen(missing, "device_picture_missing.png");

  CFilenameEdit path;
  path.resize(260, path.sizeHint().height());
  path.SetFilename(kDestination);
  SaveScreen(path, "filename_edit.png");
}

// The controls together, placed as in the main window.
TEST(ControlGallery, SavesTheControlsTogether) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QWidget window;
  window.setWindowTitle("Norvik KDX Video Converter");
  auto* grid = new QGridLayout(&window);

  auto* files = new QGroupBox("Videos to convert");
  auto* list = new CFileDropListCtrl;
  FillList(*list);
  (new QVBoxLayout(files))->addWidget(list);
  grid->addWidget(files, 0, 0, 1, 2);

  auto* playerBox = new QGroupBox("Player");
  auto* picture = new CDevicePiture;
  picture->setFixedSize(100, 156);
  picture->SetBitmapPath(MakePlayerBitmap(dir));
  (new QVBoxLayout(playerBox))->addWidget(picture);
  grid->addWidget(playerBox, 1, 0);

  auto* settingsBox = new QGroupBox("Settings");
  auto* tree = new COptionTree;
  FillOptionTree(*tree);
  tree->setMinimumHeight(180);
  (new QVBoxLayout(settingsBox))->addWidget(tree);
  grid->addWidget(settingsBox, 1, 1);

  auto* destination = new QHBoxLayout;
  destination->addWidget(new QLabel("Destination folder:"));
  auto* path = new CFilenameEdit;
  destination->addWidget(path, 1);
  grid->addLayout(destination, 2, 0, 1, 2);
  grid->setColumnStretch(1, 1);

  window.resize(640, 470);
  path->SetFilename(kDestination);
  SaveScreen(window, "controls.png");
}

}  // namespace
