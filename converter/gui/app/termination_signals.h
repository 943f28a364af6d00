// SPDX-License-Identifier: GPL-2.0-or-later
// SIGTERM and SIGHUP (a `kill`, the session ending) end the desktop program
// as Quit would, instead of killing it in the middle of a file: the running
// file is stopped as Cancel stops it, so its run folder goes and an older
// file stays, and the settings are saved.
#pragma once

#include <QObject>
#include <array>
#include <csignal>

class CHalvardVideoConverterDlg;
class QSocketNotifier;

class TerminationSignals : public QObject {
  Q_OBJECT

 public:
  // Catches the signals for the object's life; one of them ends `dialog`
  // and every event loop, the batch's wait among them.
  explicit TerminationSignals(CHalvardVideoConverterDlg& dialog);
  ~TerminationSignals() override;  // the previous handlers come back
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

 private:
  void OnSignal();

  CHalvardVideoConverterDlg& m_dialog;
  QSocketNotifier* m_notifier = nullptr;
  std::array<struct sigaction, 2> m_previous{};
};
