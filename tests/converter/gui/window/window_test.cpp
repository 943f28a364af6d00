// SPDX-License-Identifier: GPL-2.0-or-later
// The window as it opens, its help and about box, and an empty device table.
#include <QCheckBox>
#include <QLabel>
#include <QComboBox>
#include <QDesktopServices>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <fstream>

#include "converter/gui/widgets/FileDropListCtrl.h"
#include "converter/gui/widgets/OptionTree.h"
#include "tests/converter/gui/preview/box_watcher.h"
#include "tests/converter/gui/window/dialog_fixture.h"
#include "converter/gui/widgets/dialog_units.h"
#include "converter/core/support/path_utils.h"
#include "converter/gui/widgets/thumbnail_area.h"

namespace {

TEST_F(DialogTest, OpensWithItsCaptionLayoutAndQuietControls) {
  EXPECT_EQ(dialog->windowTitle(), "Norvik KDX Video Converter (1.4.2.0)");
  EXPECT_EQ(Get<QLabel>("statusLine")->text(), "No Supported Player Detected!");
  EXPECT_FALSE(Get<QCheckBox>("transferOption")->isEnabled());
  EXPECT_FALSE(Get<QCheckBox>("transferOption")->isChecked());
  EXPECT_TRUE(Get<QPushButton>("addButton")->hasFocus() || QApplication::focusWidget() == nullptr);
  EXPECT_EQ(Get<QComboBox>("playerSelector")->count(), static_cast<int>(devices.GetDeviceCount()));
  EXPECT_EQ(PanelItemOf(*dialog, "Player Name")->GetDisplayText(), "NK-128");
  EXPECT_EQ(PanelItemOf(*dialog, "Rotate"), nullptr);
  EXPECT_NE(PanelItemOf(*dialog, "Video Mode"), nullptr);

  // Places follow the template in dialog units, under the menu bar.
  const DialogUnits units(dialog->font());
  auto* menuBar = Get<QMenuBar>("menuBar");
  const int top = menuBar->height();
  EXPECT_EQ(List()->geometry(), units.Rect(9, 26, 335, 154).translated(0, top));
  EXPECT_EQ(Get<QPushButton>("playButton")->geometry(), units.Rect(387, 124, 32, 12).translated(0, top));
  EXPECT_EQ(Get<QWidget>("previewArea")->geometry(), Get<QWidget>("thumbnailArea")->geometry());
  EXPECT_EQ(dialog->size(), QSize(units.X(520), units.Y(314) + top));
  EXPECT_EQ(units.Rect(10, 20, 30, 40).left(), (10 * units.baseWidth() + 2) / 4);
  // Tab order runs Add, Delete, Clear, then the list.
  EXPECT_EQ(Get<QPushButton>("addButton")->nextInFocusChain(), Get<QPushButton>("deleteButton"));
  EXPECT_EQ(Get<QPushButton>("deleteButton")->nextInFocusChain(), Get<QPushButton>("clearButton"));

  const QStringList headings = {"Input Video Files", "Type", "Size", "Status"};
  for (int column = 0; column < 4; ++column)
    EXPECT_EQ(List()->model()->headerData(column, Qt::Horizontal).toString(), headings[column]);
  QStringList labels;
  for (QLabel* label : dialog->findChildren<QLabel*>()) labels << label->text();
  EXPECT_TRUE(labels.contains("Drag and drop video files from your file manager onto Input Video Files..."));
  ASSERT_EQ(menuBar->actions().size(), 1);
  EXPECT_EQ(menuBar->actions()[0]->text(), "&Help     ");
}

// Records what the program asks the desktop to open.
class OpenedUrls : public QObject {
  Q_OBJECT
 public:
  OpenedUrls() { QDesktopServices::setUrlHandler("file", this, "Open"); }
  ~OpenedUrls() override { QDesktopServices::unsetUrlHandler("file"); }
  QList<QUrl> urls;
 public slots:
  void Open(const QUrl& url) { urls << url; }
};

TEST_F(DialogTest, HelpComesFromF1TheMenuAndTheHiddenSpot) {
  const QString page = QString::fromStdString(GetModuleFolder()) + "PXR_Help.html";
  ASSERT_FALSE(QFileInfo::exists(page)) << "the test needs a folder without a help page";
  OpenedUrls opened;
  BoxWatcher watcher;
  QTest::keyClick(dialog.get(), Qt::Key_F1);
  QTest::qWait(50);
  ASSERT_EQ(watcher.texts(), QStringList({"No PXR_Help.html help file founded."}));
  EXPECT_EQ(watcher.seen()[0].caption, "Norvik KDX Video Converter");

  std::ofstream(page.toStdString()) << "<html><body>Help</body></html>\n";
  const QRect spot = Get<QLabel>("helpSpot")->geometry();
  QAction* helpItem = Get<QMenu>("helpMenu")->actions()[0];
  QTest::mouseMove(dialog.get(), spot.center());
  EXPECT_EQ(dialog->cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseClick(dialog.get(), Qt::LeftButton, Qt::NoModifier, spot.center());
  helpItem->trigger();
  ASSERT_EQ(opened.urls.size(), 2);
  EXPECT_EQ(opened.urls[0], QUrl::fromLocalFile(page));
  EXPECT_EQ(watcher.seen().size(), 1);

  // The page is there but nothing can open it: no xdg-open on the path.
  QDesktopServices::unsetUrlHandler("file");
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", "/nonexistent");
  helpItem->trigger();
  QTest::qWait(50);
  qputenv("PATH", path);
  std::remove(page.toStdString().c_str());
  ASSERT_EQ(watcher.texts().size(), 2);
  EXPECT_TRUE(watcher.texts()[1].startsWith("The help page " + page + " cannot be shown")) << watcher.texts()[1].toStdString();
}

TEST_F(DialogTest, OpenShowsTheFolderOrSaysItCannot) {
  OpenedUrls opened;
  BoxWatcher watcher;
  QTest::mouseClick(Get<QPushButton>("openButton"), Qt::LeftButton);
  ASSERT_EQ(opened.urls.size(), 1);
  EXPECT_EQ(opened.urls[0], QUrl::fromLocalFile(QString::fromStdString(home + "/Videos")));
  dialog->ShowDestinationFolder(scratch.File("nowhere"));
  QTest::mouseClick(Get<QPushButton>("openButton"), Qt::LeftButton);
  QTest::qWait(50);
  EXPECT_EQ(opened.urls.size(), 1);
  ASSERT_EQ(watcher.seen().size(), 1);
  EXPECT_TRUE(watcher.texts()[0].contains("nowhere"));
}

TEST(DialogWithoutDevicesTest, RefusesFilesWithAMessage) {
  CTesselConfigFile empty;
  kdxtest::ScratchDir scratch;
  ScopedEnv config("NKDX_CONFIG_DIR", scratch.path().c_str());
  ScopedEnv home("HOME", scratch.path().c_str());
  CHalvardVideoConverterDlg dialog(empty, PlayerSupport{});
  EXPECT_EQ(Find<QComboBox>(dialog, "playerSelector")->count(), 0);
  EXPECT_NE(PanelItemOf(dialog, "Rotate"), nullptr);
  BoxWatcher watcher;
  dialog.QueueFiles({QString::fromStdString(kdxtest::MediaPath("clip_h264_aac.mp4"))});
  QTest::qWait(50);
  EXPECT_EQ(Find<CFileDropListCtrl>(dialog, "fileList")->GetItemCount(), 0);
  ASSERT_EQ(watcher.seen().size(), 1);
  EXPECT_TRUE(watcher.texts()[0].contains("TesselDeviceConfig.xml"));
  EXPECT_FALSE(Find<QPushButton>(dialog, "convertButton")->isEnabled());
}

}  // namespace

#include "window_test.moc"
