// SPDX-License-Identifier: GPL-2.0-or-later
// A main window of its own for each test, with the settings file, trace log,
// temporary folder and home folder in a scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <QPoint>
#include <QString>
#include <memory>
#include <string>

#include "converter/gui/widgets/FileDropListCtrl.h"
#include "converter/gui/window/HalvardVideoConverterDlg.h"
#include "converter/core/devices/TesselConfigFile.h"
#include "tests/converter/core/test_env.h"
#include "tests/converter/gui/window/window_lookup.h"
#include "tests/support/test_paths.h"

class DialogTest : public ::testing::Test {
 protected:
  DialogTest();
  void SetUp() override;

  // Makes and shows the window (again, after a Quit).
  void OpenDialog(PlayerSupport flags = {}, CWMDM* wmdm = nullptr);
  std::string SettingsText() const;
  void WriteSettings(const std::string& text) const;
  std::string Clip(const std::string& name) const { return kdxtest::MediaPath(name); }
  // Gives files to the queue as the command line does and waits until they
  // are measured and the status line tells the outcome.
  void Queue(const QStringList& paths);
  void Queue(const std::string& path) { Queue(QStringList{QString::fromStdString(path)}); }
  void WaitForAdding();
  // Drops local files on the file list as a file manager would (without
  // waiting for them to be measured).
  void DropFiles(const QStringList& paths);
  // Right-clicks the list at a point of the window; returns the menu's
  // items with their enabled state ("&Add+", "&Delete-"), empty when no menu opened.
  QStringList RightClickList(const QPoint& point);
  int Rows() const { return List()->GetItemCount(); }
  // The window's controls by their names ("convertButton", "statusLine", ...).
  template <typename Control>
  Control* Get(const char* name) const {
    return Find<Control>(*dialog, name);
  }
  CFileDropListCtrl* List() const { return Get<CFileDropListCtrl>("fileList"); }
  // Picks an entry of the player selector as a user does.
  void ChoosePlayer(int index) const;

  kdxtest::ScratchDir scratch;
  std::string home, configDir, tempDir;
  ScratchLog log;
  ScopedEnv homeEnv, configEnv, tmpEnv, videosEnv, xdgConfigEnv;
  CTesselConfigFile devices;
  std::unique_ptr<CHalvardVideoConverterDlg> dialog;
};
