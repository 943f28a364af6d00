// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/queue/duration_probe_queue.h"

#include "converter/core/probe/video_duration.h"

DurationProbeQueue::DurationProbeQueue(Receiver receiver) : m_receiver(std::move(receiver)) {}

DurationProbeQueue::~DurationProbeQueue() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stop = true;
    m_pending.clear();
  }
  m_wake.notify_all();
  if (m_worker.joinable()) m_worker.join();
}

void DurationProbeQueue::Measure(const QString& path) {
  ++m_outstanding;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pending.push_back(path);
  }
  m_wake.notify_one();
  if (!m_worker.joinable()) m_worker = std::thread([this] { Run(); });
}

void DurationProbeQueue::Run() {
  for (;;) {
    QString path;
    {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_wake.wait(lock, [this] { return m_stop || !m_pending.empty(); });
      if (m_stop) return;
      path = m_pending.front();
      m_pending.pop_front();
    }
    double seconds = 0;
    const bool readable = ReadVideoDuration(path.toStdString(), &seconds) && seconds > 0;
    // Queued to this object: dropped with it when the window has gone.
    QMetaObject::invokeMethod(
        this,
        [this, path, readable, seconds] {
          --m_outstanding;
          m_receiver(path, readable, seconds);
        },
        Qt::QueuedConnection);
  }
}
