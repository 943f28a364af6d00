// SPDX-License-Identifier: GPL-2.0-or-later
// The main window with a destination folder of its own, and what a test of
// the conversion batch does through it.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <optional>

#include "converter/gui/widgets/FileDropListCtrl.h"
#include "converter/gui/batch/conversion_driver.h"
#include "tests/converter/gui/window/dialog_fixture.h"
#include "tests/converter/gui/window/window_lookup.h"
#include "tests/support/fixture_machine.h"
#include "tools/kdxreader/kdx_file.h"

namespace fs = std::filesystem;

// Runs `action` once, the first time `condition` holds while the batch's
// event loop turns.
class OnceWhen {
 public:
  OnceWhen(std::function<bool()> condition, std::function<void()> action)
      : condition_(std::move(condition)), action_(std::move(action)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (!condition_()) return;
      timer_.stop();
      action_();
    });
    timer_.start(5);
  }

 private:
  std::function<bool()> condition_;
  std::function<void()> action_;
  QTimer timer_;
};

class ConversionTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    destination = scratch.File("out");
    fs::create_directory(destination);
    dialog->ShowDestinationFolder(destination);
    dialog->driver().SetOverwriteQuestionTimeout(300);
  }
  // A copy of a generated clip under its own name.
  QString Copy(const std::string& clip, const std::string& name) {
    fs::copy_file(Clip(clip), scratch.File(name));
    return QString::fromStdString(scratch.File(name));
  }
  void Add(const std::string& clip, const std::string& name) {
    const int rows = Rows();
    Queue(QStringList{Copy(clip, name)});
    ASSERT_EQ(Rows(), rows + 1);
  }
  // Clicks Convert; returns when the batch is over.
  void ClickConvert() {
    ASSERT_EQ(Find<QPushButton>(*dialog, "convertButton")->text(), "&Convert");
    QTest::mouseClick(Find<QPushButton>(*dialog, "convertButton"), Qt::LeftButton);
    ASSERT_FALSE(dialog->IsConverting());
  }
  std::string Output(const std::string& base) const {
    return destination + "/" + dialog->SelectedModel()->ModelName + "/" + base + ".kdx";
  }
  std::string Status(int row) const { return QueueOf(*dialog).Status(row).toStdString(); }
  std::string Tip(int row) const { return QueueOf(*dialog).StatusTip(row).toStdString(); }
  int Ticked(int row) const { return QueueOf(*dialog).IsTicked(row) ? 1 : 0; }
  bool ShowsProgress(int row) const {
    return dialog->driver().CurrentRow() == row && QueueOf(*dialog).ShowsProgress(row);
  }
  std::string StatusLine() const { return Find<QLabel>(*dialog, "statusLine")->text().toStdString(); }
  static void ExpectValidKdx(const std::string& path) {
    kdxreader::KdxLoadResult loaded = kdxreader::LoadKdx(path);
    EXPECT_TRUE(loaded.file) << path << ": " << loaded.error;
  }

  std::string destination;
};

// A window with player support on the mass-storage path, opened while an
// NK-128 is mounted.
class PlayerConversionTest : public ConversionTest {
 protected:
  void SetUp() override {
    ConversionTest::SetUp();
    machine.emplace();  // in the scratch temporary folder
    mountPoint = machine->Mount(machine->AddUsbDisk({}), "PLAYER");
    OpenDialog(PlayerSupport{true, false});
    dialog->ShowDestinationFolder(destination);
  }
  void TearDown() override { dialog.reset(); }  // before the machine goes

  std::optional<kdxtest::FixtureMachine> machine;
  std::string mountPoint;
};
