// SPDX-License-Identifier: GPL-2.0-or-later
// The window's size: the template as its smallest, room beyond it for the
// list and the panel, a font that lets it fit any screen, and the size kept
// in the settings file.
#include <QScreen>
#include <QTest>

#include "converter/gui/widgets/FileDropListCtrl.h"
#include "converter/core/request/converter_settings.h"
#include "tests/converter/gui/window/dialog_fixture.h"
#include "converter/gui/window/window_layout.h"
#include "tests/converter/gui/window/window_pictures.h"

namespace {

// Run once at the scale of the display and once with QT_SCALE_FACTOR=1.5
// (its own test entry) on the 1366 x 768 screen of the test program.
TEST_F(DialogTest, OpensWithinTheScreenWithStatusConvertAndQuitInView) {
  QScreen* screen = dialog->screen();
  const QSize pixels = screen->geometry().size() * screen->devicePixelRatio();
  ASSERT_TRUE(qAbs(pixels.width() - 1366) <= 2 && qAbs(pixels.height() - 768) <= 2) << pixels.width();
  const QRect available = screen->availableGeometry();
  EXPECT_TRUE(available.contains(dialog->frameGeometry())) << dialog->width() << "x" << dialog->height();
  for (const char* name : {"statusLine", "convertButton", "quitButton"}) {
    QWidget* control = Get<QWidget>(name);
    EXPECT_TRUE(dialog->rect().contains(control->geometry())) << control->metaObject()->className();
    EXPECT_TRUE(control->isVisible());
  }
  if (screen->devicePixelRatio() == 1.5) {
    EXPECT_LT(dialog->font().pointSizeF(), 8.0) << "the template at 8 points is too tall for 512 points";
    Save(Picture(*dialog), "main_window_scale_1_5.png");
  }
}

TEST_F(DialogTest, ExtraRoomGoesToTheListAndThePanelAndTheSizeIsKept) {
  const QSize smallest = dialog->size();
  EXPECT_EQ(dialog->minimumSize(), smallest);
  QWidget* fileList = List();
  QWidget* panelFrame = Get<QWidget>("optionsFrame");
  QWidget* statusLine = Get<QWidget>("statusLine");
  const QRect list = fileList->geometry();
  const QRect panel = panelFrame->geometry();
  const QRect status = statusLine->geometry();
  dialog->QueueFiles({QString::fromStdString(Clip("clip_h264_aac.mp4"))});

  const QSize extra(300, 120);
  dialog->resize(smallest + extra);
  QApplication::processEvents();
  const int listShare = ListShareOf(extra.width());
  EXPECT_EQ(fileList->geometry(), list.adjusted(0, 0, listShare, extra.height()));
  EXPECT_EQ(panelFrame->geometry(),
            panel.translated(listShare, 0).adjusted(0, 0, extra.width() - listShare, extra.height()));
  EXPECT_EQ(statusLine->geometry(), status.translated(0, extra.height()).adjusted(0, 0, listShare, 0));
  // Nothing overlaps the list, and everything stays inside the window.
  for (QWidget* control : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!control->isVisible() || control == fileList || control == Get<QWidget>("menuBar")) continue;
    EXPECT_TRUE(dialog->rect().contains(control->geometry())) << control->metaObject()->className();
    EXPECT_FALSE(control->geometry().intersects(fileList->geometry())) << control->metaObject()->className();
  }
  Save(Picture(*dialog), "main_window_larger.png");

  dialog->resize(smallest - QSize(100, 100));
  QApplication::processEvents();
  EXPECT_EQ(dialog->size(), smallest) << "the template is the smallest window";

  // Kept at Quit and taken at the next start; older files keep the template's size.
  const QSize kept = smallest + QSize(120, 60);
  dialog->resize(kept);
  dialog->OnQuit();
  EXPECT_NE(SettingsText().find("WindowWidth=" + std::to_string(kept.width())), std::string::npos);
  const struct {
    std::string settings;
    QSize expected;
  } starts[] = {{"", kept},
                {"[CONVERTOR]\nDestPath=/tmp\nComboDevice=0\n", smallest},
                {"[CONVERTOR]\nWindowWidth=100\nWindowHeight=90\n", smallest},
                {"[CONVERTOR]\nWindowWidth=9000\nWindowHeight=9000\n", QSize()}};
  for (const auto& [settings, expected] : starts) {
    if (!settings.empty()) WriteSettings(settings);
    OpenDialog();
    if (expected.isValid()) {
      EXPECT_EQ(dialog->size(), expected) << settings;
    } else {
      EXPECT_TRUE(dialog->screen()->availableGeometry().contains(dialog->frameGeometry())) << settings;
      EXPECT_GT(dialog->width(), smallest.width()) << settings;
    }
  }
}

}  // namespace
