#include "tools/kdxconvert/file_conversion.h"

#include "platform/base/bitmap.h"
#include "converter/core/job/conversion_job.h"
#include "converter/core/request/failure_texts.h"
#include "tools/kdxconvert/stop_signal.h"

namespace {

// The run's messages as the terminal sees them: read from the queue, with
// Ctrl-C as the stop.
class QueueRunMessages : public RunMessages {
 public:
  QueueRunMessages(MessageQueue& queue, ProgressDisplay& display) : m_queue(queue), m_display(display) {}

  HWND Window() const override { return m_queue.window(); }
  Wait Next(WindowMessage& message, std::chrono::milliseconds timeout) override {
    return m_queue.Get(message, timeout) ? Wait::kMessage : Wait::kTimeout;
  }
  bool StopRequested() const override { return ::StopRequested(); }
  void Progress(int percent, HBITMAP thumbnail) override {
    // The command line shows no thumbnails.
    if (thumbnail != nullptr) DeleteObject(reinterpret_cast<HGDIOBJ>(thumbnail));
    m_display.Update(percent);
  }

 private:
  MessageQueue& m_queue;
  ProgressDisplay& m_display;
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

FileOutcome ConvertFile(const FileJob& job, MessageQueue& queue, ProgressDisplay& display) {
  const std::string& name = job.input;
  QueueRunMessages messages(queue, display);
  display.Begin(name);
  const JobResult result = RunConversionJob(
      ConversionJob{job.input, job.destination, job.model, [&job](int64_t duration) { return ItemFor(job, duration); },
                    job.options.addSilence, kAddSilenceOptionHint, job.madeFolders},
      messages);
  switch (result.outcome) {
    case JobOutcome::kConverted:
      display.Report(true, name + ": converted to " + job.destination + " (" + std::to_string(result.seconds) + " s)");
      return FileOutcome::kConverted;
    case JobOutcome::kStopped:
      display.Report(false, name + ": stopped, no file written.");
      return FileOutcome::kStopped;
    case JobOutcome::kFailed:
      break;
  }
  display.Report(false, name + ": " + FailedLine(result.reason));
  return FileOutcome::kFailed;
}
