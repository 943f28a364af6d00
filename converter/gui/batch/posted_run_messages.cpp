// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/batch/posted_run_messages.h"

#include <QEventLoop>
#include <QTimer>

void PostedRunMessages::Deliver(const WindowMessage& message) {
  m_messages.push_back(message);
  if (m_loop != nullptr) m_loop->quit();
}

RunMessages::Wait PostedRunMessages::Next(WindowMessage& message, std::chrono::milliseconds timeout) {
  if (m_messages.empty() && !m_quit) {
    QEventLoop loop;
    bool timedOut = false;
    QTimer::singleShot(timeout, &loop, [&] {
      timedOut = true;
      loop.quit();
    });
    m_loop = &loop;
    // Returns at once, without handling anything, once the application is
    // quitting.
    loop.exec();
    m_loop = nullptr;
    m_quit = m_messages.empty() && !timedOut;
  }
  if (m_messages.empty()) return m_quit ? Wait::kQuit : Wait::kTimeout;
  message = m_messages.front();
  m_messages.pop_front();
  return Wait::kMessage;
}
