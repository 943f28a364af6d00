// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/app/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QSocketNotifier>
#include <cerrno>

#include "converter/gui/window/HalvardVideoConverterDlg.h"
#include "converter/core/support/temp_files.h"

namespace {

constexpr std::array<int, 2> kSignals = {SIGTERM, SIGHUP};

// The handler only writes a byte into this pipe (the one thing a signal
// handler may safely do); the event loop reads it.
int g_pipe[2] = {-1, -1};

extern "C" void NoteTerminationSignal(int number) {
  const int saved = errno;
  const char byte = static_cast<char>(number);
  (void)!write(g_pipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals(CHalvardVideoConverterDlg& dialog) : m_dialog(dialog) {
  if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
  connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::OnSignal);
  struct sigaction action {};
  action.sa_handler = NoteTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &action, &m_previous[i]);
}

TerminationSignals::~TerminationSignals() {
  if (m_notifier == nullptr) return;
  for (size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &m_previous[i], nullptr);
  delete m_notifier;
  close(g_pipe[0]);
  close(g_pipe[1]);
  g_pipe[0] = g_pipe[1] = -1;
}

void TerminationSignals::OnSignal() {
  char bytes[16];
  while (read(g_pipe[0], bytes, sizeof bytes) > 0) {
  }
  // Returns once the encoder's worker has ended: no half file, no run folder.
  m_dialog.CancelConversion();
  m_dialog.SaveSettings();
  RemoveOwnTempFiles(QDir::tempPath().toStdString(), "PXR");
  // Ends the window's loop and any wait nested in it; the batch sees the
  // application quitting and ends too.
  QCoreApplication::exit(0);
}
