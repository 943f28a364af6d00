// SPDX-License-Identifier: GPL-2.0-or-later
// Measures the desktop program as its user feels it: the time from the
// process's start until the main window is on the screen, and the longest
// time the window's event loop is held up while a file converts. Runs the
// program's own application object; started by bench/ui_bench.py.
//
//   kdx_ui_probe CLIP DESTINATION
//
// prints "window_shown_ms N" (from KDX_PROBE_SPAWNED_NS, the wall-clock
// nanoseconds at which the caller started the process) and
// "longest_stall_ms N" (the longest gap between the ticks of a 5 ms timer
// during the conversion), then quits through the window's Quit button.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <algorithm>

#include "converter/gui/widgets/FileDropListCtrl.h"
#include "converter/gui/app/HalvardVideoConverter.h"
#include "converter/gui/window/HalvardVideoConverterDlg.h"
#include "converter/gui/widgets/TesselVideoFile.h"

namespace {

constexpr int kProbeIntervalMs = 5;

CHalvardVideoConverterDlg* ShownMainWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* window = qobject_cast<CHalvardVideoConverterDlg*>(widget);
    if (window && window->isVisible() && window->windowHandle() && window->windowHandle()->isExposed()) return window;
  }
  return nullptr;
}

double MillisecondsSinceSpawn() {
  const char* spawned = std::getenv("KDX_PROBE_SPAWNED_NS");
  if (spawned == nullptr) return -1;
  const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
  return static_cast<double>(now - std::strtoll(spawned, nullptr, 10)) / 1e6;
}

// Converts the clip while a timer measures how late its ticks come.
// A control of the window by its object name; the probe cannot go on without it.
template <typename Control>
Control& ControlNamed(const QWidget& window, const char* name) {
  auto* control = window.findChild<Control*>(QLatin1String(name));
  if (control == nullptr) {
    std::fprintf(stderr, "kdx_ui_probe: the window has no control named %s\n", name);
    std::exit(2);
  }
  return *control;
}

class StallProbe {
 public:
  void Run(CHalvardVideoConverterDlg& window, const QString& clip, const QString& destination) {
    QDir().mkpath(destination);  // no question about a missing folder
    window.QueueFiles({clip});
    while (window.IsAddingFiles()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    window.ShowDestinationFolder(destination.toStdString());
    QObject::connect(&ticks_, &QTimer::timeout, [this] {
      longestMs_ = std::max(longestMs_, sinceLast_.restart());
    });
    sinceLast_.start();
    ticks_.start(kProbeIntervalMs);
    ControlNamed<QPushButton>(window, "convertButton").click();  // returns when the batch is over
    ticks_.stop();
    const auto& list = ControlNamed<CFileDropListCtrl>(window, "fileList");
    std::printf("rows_converted %s\n", list.GetItemText(0, 3) == QStringLiteral("Complete.") ? "1" : "0");
    std::printf("longest_stall_ms %lld\n", static_cast<long long>(longestMs_));
    std::fflush(stdout);
    ControlNamed<QPushButton>(window, "quitButton").click();
  }

 private:
  QTimer ticks_;
  QElapsedTimer sinceLast_;
  qint64 longestMs_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  SelectPreviewMediaBackend();
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Norvik KDX Video Converter"));
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() != 3) {
    std::fprintf(stderr, "usage: kdx_ui_probe CLIP DESTINATION\n");
    return 2;
  }
  StallProbe probe;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    CHalvardVideoConverterDlg* window = ShownMainWindow();
    if (window == nullptr) return;
    watch.stop();
    std::printf("window_shown_ms %.1f\n", MillisecondsSinceSpawn());
    std::fflush(stdout);
    QTimer::singleShot(0, window, [&probe, window, &arguments] { probe.Run(*window, arguments[1], arguments[2]); });
  });
  watch.start(1);
  CHalvardVideoConverterApp converter;
  return converter.Run({});
}
