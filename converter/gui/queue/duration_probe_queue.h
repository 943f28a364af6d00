// SPDX-License-Identifier: GPL-2.0-or-later
// Measures source files one after the other on a thread of its own, so a
// slow disk or a large file never holds up the window. Each result reaches
// the receiver on the thread that made the queue, in the order the files
// were given.
#pragma once

#include <QObject>
#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

class DurationProbeQueue : public QObject {
 public:
  // `readable` false: libavformat could not read a length from the file.
  using Receiver = std::function<void(const QString& path, bool readable, double seconds)>;

  explicit DurationProbeQueue(Receiver receiver);
  // Waits for the file being measured; the rest are dropped unreported.
  ~DurationProbeQueue() override;

  void Measure(const QString& path);
  // Files given whose result has not been delivered yet.
  int Outstanding() const { return m_outstanding; }

 private:
  void Run();

  Receiver m_receiver;
  int m_outstanding = 0;  // touched on the owner's thread only
  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::deque<QString> m_pending;
  bool m_stop = false;
  std::thread m_worker;
};
