// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/kdxconvert/file_conversion.h"

#include "platform/base/bitmap.h"
#include "converter/core/job/conversion_job.h"
#include "converter/core/request/failure_texts.h"
#include "tools/kdxconvert/stop_signal.h"

namespace {

// The run's messages as the command line sees them: read from the queue,
// with Ctrl-C and the termination signals as the stop.
class QueueRunMessages : public RunMessages {
 public:
  QueueRunMessages(MessageQueue& queue, ProgressDisplay& progress) : m_queue(queue), m_progress(progress) {}

  HWND Window() const override { return m_queue.window(); }
  Wait Next(WindowMessage& message, std::chrono::milliseconds timeout) override {
    return m_queue.Get(message, timeout) ? Wait::kMessage : Wait::kTimeout;
  }
  bool StopRequested() const override { return ::StopRequested(); }
  void Progress(int percent, HBITMAP thumbnail) override {
    // The command line shows no thumbnails.
    if (thumbnail != nullptr) DeleteObject(reinterpret_cast<HGDIOBJ>(thumbnail));
    m_progress.Update(percent);
  }

 private:
  MessageQueue& m_queue;
  ProgressDisplay& m_progress;
};

// The queued settings of the file, with the command line's choices.
INPUT_VIDEO_ITEM ItemFor(const FileJob& job, int64_t duration) {
  INPUT_VIDEO_ITEM item = NewInputVideoItem(job.input, duration, job.model);
  item.strQuality = job.options.quality;
  if (job.options.videoMode) item.strVideoMode = *job.options.videoMode;
  if (job.options.start) item.tmStart = *job.options.start;
  if (job.options.end) item.tmEnd = *job.options.end;
  return item;
}

}  // namespace

FileResult ConvertFile(const FileJob& job, MessageQueue& queue, ProgressDisplay& progress) {
  QueueRunMessages messages(queue, progress);
  progress.Begin(job.input);
  const JobResult result = RunConversionJob(
      ConversionJob{job.input, job.destination, job.model, [&job](int64_t duration) { return ItemFor(job, duration); },
                    job.options.addSilence, kAddSilenceOptionHint, job.madeFolders},
      messages);
  FileResult file{.source = job.input, .destination = job.destination};
  file.runSeconds = result.seconds;
  switch (result.outcome) {
    case JobOutcome::kConverted:
      file.outcome = FileOutcome::kConverted;
      break;
    case JobOutcome::kStopped:
      file.outcome = FileOutcome::kStopped;
      break;
    case JobOutcome::kFailed:
      file.outcome = FileOutcome::kFailed;
      file.reason = FailedLine(result.reason);
      break;
  }
  return file;
}
