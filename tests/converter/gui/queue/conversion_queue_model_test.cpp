// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "converter/gui/queue/conversion_queue_model.h"

namespace {

INPUT_VIDEO_ITEM RecordFor(const std::string& path) {
  INPUT_VIDEO_ITEM record;
  record.strOutputName = KdxOutputName(path);
  record.strType = "MP4";
  return record;
}

struct ModelCase {
  const char* what;
  std::function<void(ConversionQueueModel&)> change;
  std::vector<std::string> outputNames;  // each row's record, in row order
  std::vector<const char*> statuses;
  std::vector<bool> ticked;
};

// Every case starts from three rows: /v/a.mp4, /v/b.mp4, /w/a.mp4.
TEST(ConversionQueueModel, RowsOwnTheirRecordsThroughAddsRemovesAndUpdates) {
  const ModelCase cases[] = {
      {"added: a name another row writes gets a number",
       [](ConversionQueueModel&) {},
       {"a.kdx", "b.kdx", "a (2).kdx"}, {"", "", ""}, {true, true, true}},
      {"a middle row removed: the rows below keep their records",
       [](ConversionQueueModel& q) { q.RemoveRow(1); },
       {"a.kdx", "a (2).kdx"}, {"", ""}, {true, true}},
      {"all removed, one added: the freed name is used again",
       [](ConversionQueueModel& q) {
         q.RemoveAllRows();
         q.AddRow("/x/a.mp4", RecordFor("/x/a.mp4"));
       },
       {"a.kdx"}, {""}, {true}},
      {"rows out of range change nothing",
       [](ConversionQueueModel& q) {
         q.SetStatus(3, "x");
         q.SetTicked(-1, false);
         q.ShowProgress(3, 50);
         q.SetEnabled(7, false);
       },
       {"a.kdx", "b.kdx", "a (2).kdx"}, {"", "", ""}, {true, true, true}},
  };
  for (const ModelCase& c : cases) {
    SCOPED_TRACE(c.what);
    ConversionQueueModel queue;
    QAbstractItemModelTester tester(&queue, QAbstractItemModelTester::FailureReportingMode::Fatal);
    for (const char* path : {"/v/a.mp4", "/v/b.mp4", "/w/a.mp4"}) queue.AddRow(path, RecordFor(path));
    std::map<QString, const INPUT_VIDEO_ITEM*> before;
    for (int row = 0; row < queue.rowCount(); ++row) before[queue.InputPath(row)] = queue.Record(row);

    c.change(queue);

    ASSERT_EQ(queue.rowCount(), static_cast<int>(c.outputNames.size()));
    EXPECT_EQ(queue.Record(queue.rowCount()), nullptr);
    for (int row = 0; row < queue.rowCount(); ++row) {
      SCOPED_TRACE(row);
      ASSERT_NE(queue.Record(row), nullptr);
      EXPECT_EQ(queue.Record(row)->strOutputName, c.outputNames[row]);
      EXPECT_EQ(queue.Status(row), c.statuses[row]);
      EXPECT_EQ(queue.IsTicked(row), c.ticked[row]);
      EXPECT_EQ(queue.data(queue.index(row, ConversionQueueModel::kTypeColumn), Qt::DisplayRole), "MP4");
      // A row that stayed keeps the very record it was added with.
      const auto kept = before.find(queue.InputPath(row));
      if (kept != before.end()) {
        EXPECT_EQ(queue.Record(row), kept->second);
      }
    }
  }
}

}  // namespace
