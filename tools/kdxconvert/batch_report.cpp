// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/kdxconvert/batch_report.h"

#include <cmath>

#include "converter/core/support/printable_text.h"
#include "tools/cli/json_writer.h"

namespace {

// Times to the millisecond; finer is noise.
double Milliseconds(double seconds) { return std::round(seconds * 1000) / 1000; }

void PrintJsonLine(std::FILE* out, const JsonWriter& json) {
  std::fprintf(out, "%s\n", json.text().c_str());
  std::fflush(out);
}

}  // namespace

const char* OutcomeName(FileOutcome outcome) {
  switch (outcome) {
    case FileOutcome::kConverted:
      return "converted";
    case FileOutcome::kSkipped:
      return "skipped";
    case FileOutcome::kStopped:
      return "stopped";
    case FileOutcome::kFailed:
      break;
  }
  return "failed";
}

void TextReport::Print(std::FILE* stream, const std::string& line) {
  m_progress.Clear();
  // A name with a newline or bytes that are not UTF-8 stays on its line.
  std::fprintf(stream, "%s\n", PrintableText(line).c_str());
  std::fflush(stream);
}

void TextReport::File(const FileResult& result) {
  const std::string& name = result.source;
  switch (result.outcome) {
    case FileOutcome::kConverted:
      if (!m_onlyProblems) {
        Print(stdout, name + ": converted to " + result.destination + " (" + std::to_string(result.runSeconds) + " s)");
      }
      return;
    case FileOutcome::kStopped:
      Print(stderr, name + ": stopped, no file written.");
      return;
    case FileOutcome::kSkipped:
      Print(stderr, name + ": skipped, " + result.destination + " " + result.reason);
      return;
    case FileOutcome::kFailed:
      Print(stderr, name + ": " + result.reason);
      return;
  }
}

void TextReport::Summary(const BatchSummary& summary) {
  if (m_onlyProblems) return;
  Print(stdout, std::to_string(summary.converted) + " converted, " + std::to_string(summary.failed) + " failed, " +
                    std::to_string(summary.skipped) + " skipped" + (summary.stopped ? "; stopped before the end" : ""));
}

void JsonReport::File(const FileResult& result) {
  JsonWriter json;
  json.BeginObject();
  json.Key("source").String(result.source);
  json.Key("destination").StringOrNull(result.destination);
  json.Key("outcome").String(OutcomeName(result.outcome));
  std::string reason = result.reason;
  if (reason.rfind("Failed. ", 0) == 0) reason.erase(0, 8);
  json.Key("reason").StringOrNull(result.outcome == FileOutcome::kConverted ? "" : reason);
  json.Key("seconds").Number(Milliseconds(result.seconds));
  json.EndObject();
  PrintJsonLine(m_out, json);
}

void JsonReport::Summary(const BatchSummary& summary) {
  JsonWriter json;
  json.BeginObject().Key("summary").BeginObject();
  json.Key("converted").Integer(summary.converted);
  json.Key("failed").Integer(summary.failed);
  json.Key("skipped").Integer(summary.skipped);
  json.Key("stopped").Bool(summary.stopped);
  json.Key("seconds").Number(Milliseconds(summary.seconds));
  json.EndObject().EndObject();
  PrintJsonLine(m_out, json);
}
