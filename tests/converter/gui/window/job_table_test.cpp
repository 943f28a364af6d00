// SPDX-License-Identifier: GPL-2.0-or-later
// The files users bring, queued in the real window and converted in one
// batch: each row converts with pictures or fails with the reason kdxconvert
// gives for the same file, and no source is touched.
#include <QDir>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tests/converter/gui/window/conversion_fixture.h"
#include "converter/core/request/failure_texts.h"
#include "converter/core/request/input_video_item.h"
#include "tests/support/job_cases.h"
#include "tests/converter/gui/window/window_pictures.h"

namespace {

VIDEO_TIME TimeOf(const std::string& text) {
  VIDEO_TIME time;
  std::sscanf(text.c_str(), "%d:%d:%d", &time.nHour, &time.nMinute, &time.nSecond);
  return time;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class JobTableTest : public ConversionTest {
 protected:
  // Converts the cases in one batch: each row converts or fails with its
  // reason, and no source is touched.
  void ConvertAndCheck(const std::vector<kdxtest::JobCase>& cases);
};

void JobTableTest::ConvertAndCheck(const std::vector<kdxtest::JobCase>& cases) {
  QComboBox& models = *Find<QComboBox>(*dialog, "playerSelector");
  models.setCurrentIndex(models.findText("NK-128"));
  ASSERT_EQ(dialog->SelectedModel()->ModelName, "NK-128");
  dialog->ShowDestinationFolder(destination);
  std::vector<std::string> sources, contents;
  for (const kdxtest::JobCase& c : cases) {
    std::string source = c.source.rfind("OUT/", 0) == 0 ? destination + c.source.substr(3) : scratch.File(c.source);
    fs::create_directories(fs::path(source).parent_path());
    fs::copy_file(Clip(c.clip), source);
    Queue(source);
    ASSERT_EQ(Rows(), static_cast<int>(sources.size()) + 1) << c.label;
    INPUT_VIDEO_ITEM* item = QueueOf(*dialog).Record(Rows() - 1);
    if (!c.start.empty()) {
      item->tmStart = TimeOf(c.start);
      item->tmEnd = TimeOf(c.end);
    }
    sources.push_back(source);
    contents.push_back(ReadAll(source));
  }
  ClickConvert();

  ASSERT_EQ(Rows(), static_cast<int>(cases.size()));
  for (std::size_t row = 0; row < cases.size(); ++row) {
    const kdxtest::JobCase& c = cases[row];
    SCOPED_TRACE(c.label);
    const std::string result = destination + "/NK-128/" + fs::path(sources[row]).stem().string() + ".kdx";
    if (c.failure.empty()) {
      EXPECT_EQ(Status(row), "Complete.") << Tip(row);
      kdxreader::KdxHeaderResult header = kdxreader::ReadKdxHeader(result);
      ASSERT_TRUE(header.header) << header.error;
      EXPECT_GT(header.header->frameCount, 0);
    } else {
      EXPECT_EQ(Status(row), "Failed.");
      EXPECT_EQ(Tip(row).rfind(c.failure, 0), 0u) << Tip(row);
      // The window names its setting that converts such a video.
      if (c.failure == kdxtest::kNoSoundTrack) EXPECT_NE(Tip(row).find(kAddSilenceSetting), std::string::npos);
      if (result != sources[row]) {
        EXPECT_FALSE(fs::exists(result));
      }
    }
    EXPECT_EQ(ReadAll(sources[row]), contents[row]);
  }
}

TEST_F(JobTableTest, EveryKindOfFileConvertsOrSaysWhy) {
  std::vector<kdxtest::JobCase> plain, withSilence;
  for (const kdxtest::JobCase& c : kdxtest::JobCases()) (c.addSilence ? withSilence : plain).push_back(c);
  ConvertAndCheck(plain);
  Save(Picture(*dialog), "main_window_after_mixed_batch.png");
  // The window reads the setting from the settings file when it opens.
  dialog.reset();
  WriteSettings("[CONVERTOR]\nAddSilence=1\n");
  OpenDialog();
  ConvertAndCheck(withSilence);
}

}  // namespace
