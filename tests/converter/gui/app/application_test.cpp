// SPDX-License-Identifier: GPL-2.0-or-later
// The program as it starts: the computer's checks answered from a
// compatibility profile, the real message box and the real main window,
// each answered or closed through mouse clicks.
#include "converter/gui/app/HalvardVideoConverter.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <optional>
#include <sys/stat.h>

#include "converter/gui/widgets/FileDropListCtrl.h"
#include "converter/gui/window/HalvardVideoConverterDlg.h"
#include "tests/converter/core/startup/profile_fixture.h"
#include "tests/converter/gui/window/window_lookup.h"

namespace {

using Texts = std::vector<std::string>;

const char kDirectXBox[] =
    "DirectX 9.0 or above is required in order to properly convert your video. The application has been aborted.";
const std::string kNT52 = "[OS]\nMajor=5\nMinor=2\n";
const std::string kAdministratorOnXP = "[Token]\nGroups=S-1-1-0 S-1-5-32-544\n[OS]\nMajor=5\nMinor=1\n";
const std::string kNT52Line = "Windows Version: Major = 5, Minor = 2, BuildNumber = 2600, PlatformId = 2";
const std::string kDirectX81 =
    "[DxDiag]\nAvailable=0\n[Files]\nsystem32\\d3d9.dll=missing\nsystem32\\dpnet.dll=missing\n"
    "system32\\mpg2splt.ax=missing\nsystem32\\d3d8.dll=4.8.1.881\n";

struct SeenBox {
  std::string caption;
  std::string text;
  QMessageBox::Icon icon;
  int buttons;
};

struct SeenWindow {
  std::string status;
  bool transferEnabled;
  int players;
  int rows;
  QIcon icon;
};

// Answers each message box with a click on OK and closes the main window
// with a click on Quit, keeping what each showed.
class ScreenWatcher : public QObject {
 public:
  ScreenWatcher() {
    connect(&timer_, &QTimer::timeout, this, &ScreenWatcher::Look);
    timer_.start(10);
  }
  std::vector<SeenBox> boxes;
  std::optional<SeenWindow> window;

 private:
  void Look() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (!widget->isVisible()) continue;
      if (auto* box = qobject_cast<QMessageBox*>(widget)) {
        boxes.push_back({box->windowTitle().toStdString(), box->text().toStdString(), box->icon(), static_cast<int>(box->buttons().size())});
        ASSERT_NE(box->button(QMessageBox::Ok), nullptr);
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        return;
      }
      if (auto* dialog = qobject_cast<CHalvardVideoConverterDlg*>(widget)) {
        if (dialog->IsAddingFiles()) return;  // files given at start are still being measured
        window = SeenWindow{Find<QLabel>(*dialog, "statusLine")->text().toStdString(),
                            Find<QCheckBox>(*dialog, "transferOption")->isEnabled(),
                            Find<QComboBox>(*dialog, "playerSelector")->count(),
                            Find<CFileDropListCtrl>(*dialog, "fileList")->GetItemCount(), dialog->windowIcon()};
        QTest::mouseClick(Find<QPushButton>(*dialog, "quitButton"), Qt::LeftButton);
        return;
      }
    }
  }
  QTimer timer_;
};

// How many pixels of the picture are drawn, and in how many colours.
std::pair<int, int> DrawnPixels(const QImage& image) {
  int drawn = 0;
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) > 0) {
        ++drawn;
        colours.insert(image.pixel(x, y));
      }
  return {drawn, static_cast<int>(colours.size())};
}

class ApplicationTest : public ::testing::Test {
 protected:
  ApplicationTest()
      : home_(scratch_.File("home")),
        tmp_(scratch_.File("tmp")),
        homeEnv_("HOME", home_.c_str()),
        configEnv_("NKDX_CONFIG_DIR", scratch_.File("config").c_str()),
        tmpEnv_("TMPDIR", tmp_.c_str()),
        xdgConfigEnv_("XDG_CONFIG_HOME", nullptr) {
    for (const std::string& folder : {home_, tmp_}) mkdir(folder.c_str(), 0755);
  }

  // Runs the program on this computer with these files; the device table
  // comes from `deviceTable`, or from beside the program.
  int Run(const std::string& profileText, const QStringList& files = {}, const std::string& deviceTable = {}) {
    ScopedProfile profile(profileText);
    CHalvardVideoConverterApp application(deviceTable);
    return application.Run(files);
  }

  kdxtest::ScratchDir scratch_;
  ScratchLog log_;
  std::string home_, tmp_;
  ScopedEnv homeEnv_, configEnv_, tmpEnv_, xdgConfigEnv_;
  ScreenWatcher watcher_;
};

TEST_F(ApplicationTest, OldDirectXShowsItsMessageAndNeverOpensTheWindow) {
  EXPECT_EQ(Run(kDirectX81, {QString::fromStdString(kdxtest::MediaPath("tiny_64x48.mp4"))}), 1);
  ASSERT_EQ(watcher_.boxes.size(), 1u);
  EXPECT_EQ(watcher_.boxes[0].caption, "Norvik KDX Video Converter");
  EXPECT_EQ(watcher_.boxes[0].text, kDirectXBox);
  EXPECT_EQ(watcher_.boxes[0].icon, QMessageBox::Warning);
  EXPECT_EQ(watcher_.boxes[0].buttons, 1);
  EXPECT_FALSE(watcher_.window.has_value());
  EXPECT_EQ(LoggedTexts(log_), (Texts{"IE: v602900", "DirextX:v8.1", "DirectX 8.1 Installed. Application abort."}));
}

TEST_F(ApplicationTest, ServerSystemOpensTheWindowWithoutPlayerSupport) {
  EXPECT_EQ(Run(kNT52), 0);
  EXPECT_TRUE(watcher_.boxes.empty());
  ASSERT_TRUE(watcher_.window.has_value());
  EXPECT_EQ(watcher_.window->status, CHalvardVideoConverterDlg::kNoPlayerText);
  EXPECT_FALSE(watcher_.window->transferEnabled);
  EXPECT_GE(watcher_.window->players, 3) << "the device table beside the program is read";
  EXPECT_EQ(watcher_.window->rows, 0);
  const Texts logged = LoggedTexts(log_);
  ASSERT_GE(logged.size(), 3u);
  EXPECT_EQ(Texts(logged.begin(), logged.begin() + 3), (Texts{"IE: v602900", "DirextX:v9.0c", kNT52Line}));

  // Files named on the command line are queued.
  watcher_.window.reset();
  EXPECT_EQ(Run(kNT52, {QString::fromStdString(kdxtest::MediaPath("tiny_64x48.mp4"))}), 0);
  ASSERT_TRUE(watcher_.window.has_value());
  EXPECT_EQ(watcher_.window->rows, 1);
  // Files given at start leave what player detection said.
  EXPECT_EQ(watcher_.window->status, "No Supported Player Detected!");
}

TEST_F(ApplicationTest, MissingDeviceTableOpensTheWindowWithNoPlayers) {
  EXPECT_EQ(Run(kAdministratorOnXP, {}, scratch_.File("TesselDeviceConfig.xml")), 0);
  EXPECT_TRUE(watcher_.boxes.empty());
  ASSERT_TRUE(watcher_.window.has_value());
  EXPECT_EQ(watcher_.window->players, 0);
  EXPECT_EQ(watcher_.window->status, CHalvardVideoConverterDlg::kNoPlayerText);
  EXPECT_FALSE(watcher_.window->transferEnabled);
  EXPECT_EQ(LoggedTexts(log_).back(), "Error: Init TesselDeviceConfig File Error! No device support.");
}

TEST_F(ApplicationTest, WindowsCarryTheProgramIcon) {
  EXPECT_EQ(Run(kNT52), 0);
  ASSERT_TRUE(watcher_.window.has_value());
  ASSERT_FALSE(watcher_.window->icon.isNull()) << "Qt's SVG image plug-in is missing";
  // What the desktop shows for the minimised window.
  const QImage picture = watcher_.window->icon.pixmap(32, 32).toImage();
  ASSERT_EQ(picture.size(), QSize(32, 32));
  const auto [drawn, colours] = DrawnPixels(picture);
  EXPECT_GT(drawn, 32 * 32 / 2);
  EXPECT_GT(colours, 4);
}

}  // namespace
