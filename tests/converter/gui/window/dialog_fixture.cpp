// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/converter/gui/window/dialog_fixture.h"

#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <fstream>

#include "converter/gui/widgets/FileDropListCtrl.h"

DialogTest::DialogTest()
    : home(scratch.File("home")),
      configDir(scratch.File("config")),
      tempDir(scratch.File("tmp")),
      homeEnv("HOME", home.c_str()),
      configEnv("NKDX_CONFIG_DIR", configDir.c_str()),
      tmpEnv("TMPDIR", tempDir.c_str()),
      videosEnv("XDG_VIDEOS_DIR", nullptr),
      xdgConfigEnv("XDG_CONFIG_HOME", nullptr) {}

void DialogTest::SetUp() {
  for (const std::string& folder : {home, configDir, tempDir}) mkdir(folder.c_str(), 0755);
  ASSERT_TRUE(devices.Init(kdxtest::BinPath("TesselDeviceConfig.xml")));
  ASSERT_TRUE(devices.GetTesselDeviceNode());
  ASSERT_GE(devices.GetDeviceCount(), 3u);
  OpenDialog();
}

void DialogTest::OpenDialog(PlayerSupport flags, CWMDM* wmdm) {
  dialog = std::make_unique<CHalvardVideoConverterDlg>(devices, flags, wmdm);
  dialog->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
  dialog->activateWindow();
  (void)QTest::qWaitForWindowActive(dialog.get());
}

std::string DialogTest::SettingsText() const { return kdxtest::ReadFile(configDir + "/NKDXVC.ini"); }

void DialogTest::WriteSettings(const std::string& text) const { std::ofstream(configDir + "/NKDXVC.ini") << text; }

void DialogTest::Queue(const QStringList& paths) {
  dialog->QueueFiles(paths);
  WaitForAdding();
}

void DialogTest::WaitForAdding() {
  ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->IsAddingFiles(); }, 20000)) << "files still being measured";
}

void DialogTest::DropFiles(const QStringList& paths) {
  QMimeData data;
  QList<QUrl> urls;
  for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
  data.setUrls(urls);
  QWidget* target = List()->viewport();
  const QPointF at(target->rect().center());
  QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
}

void DialogTest::ChoosePlayer(int index) const {
  auto* selector = Get<QComboBox>("playerSelector");
  selector->setCurrentIndex(index);
  emit selector->activated(index);
}

QStringList DialogTest::RightClickList(const QPoint& point) {
  QStringList items;
  // A timer of this call: one that fires late must not reach `items` after it is gone.
  QTimer reader;
  reader.setSingleShot(true);
  QObject::connect(&reader, &QTimer::timeout, [&] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      for (QAction* action : menu->actions()) items << action->text() + (action->isEnabled() ? "+" : "-");
      menu->close();
    }
  });
  reader.start(50);
  QWidget* viewport = List()->viewport();
  const QPoint global = dialog->mapToGlobal(point);
  QContextMenuEvent event(QContextMenuEvent::Mouse, viewport->mapFromGlobal(global), global);
  QApplication::sendEvent(viewport, &event);
  QTest::qWait(100);
  return items;
}
