// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/widgets/TesselVideoFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QMediaPlayer>
#include <QSet>
#include <QTest>
#include <QVideoFrame>
#include <QVideoSink>
#include <fstream>

#include "tests/converter/gui/preview/box_watcher.h"
#include "tests/support/long_path_link.h"
#include "tests/support/test_paths.h"

namespace {

// Keeps the latest picture the preview's video window received.
class FrameRecorder {
 public:
  explicit FrameRecorder(QVideoWidget* window) {
    QObject::connect(window->videoSink(), &QVideoSink::videoFrameChanged, &context_, [this](const QVideoFrame& f) {
      if (f.isValid()) {
        last = f;
        ++count;
      }
    });
  }
  QVideoFrame last;
  int count = 0;

 private:
  QObject context_;
};

// How many different colours a grid of points across the picture holds.
int ColoursIn(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); y += image.height() / 16 + 1)
    for (int x = 0; x < image.width(); x += image.width() / 16 + 1) colours.insert(image.pixel(x, y));
  return colours.size();
}

class PreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.resize(320, 240);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    video.SetHostWindow(&host);
  }

  std::string LinkOfLength(std::size_t chars) const {
    return ::LinkOfLength(scratch.path(), chars, "c", kdxtest::MediaPath("clip_h264_aac.mp4"));
  }

  kdxtest::ScratchDir scratch;
  QWidget host;
  TesselVideoFile video;
};

TEST_F(PreviewTest, StoppedPreviewKeepsTheFirstPictureVisible) {
  BoxWatcher watcher;
  ASSERT_TRUE(video.PlayPreview(kdxtest::MediaPath("clip_h264_aac.mp4")));
  ASSERT_NE(video.videoWindow(), nullptr);
  EXPECT_EQ(video.videoWindow()->parentWidget(), &host);
  EXPECT_EQ(video.videoWindow()->geometry(), host.rect());
  FrameRecorder frames(video.videoWindow());
  EXPECT_TRUE(QTest::qWaitFor([&] { return video.player()->position() > 500; }, 10000));
  EXPECT_GT(frames.count, 0);

  video.StopPreview();
  EXPECT_EQ(video.player()->playbackState(), QMediaPlayer::PausedState);
  EXPECT_TRUE(QTest::qWaitFor([&] { return frames.last.isValid() && frames.last.startTime() < 100000; }, 5000))
      << "last picture at " << frames.last.startTime() << " us";
  QTest::qWait(300);
  EXPECT_EQ(video.player()->position(), 0);
  const QImage picture = frames.last.toImage();
  EXPECT_EQ(picture.size(), QSize(640, 480));
  EXPECT_GT(ColoursIn(picture), 8) << "the first picture is blank";
  EXPECT_TRUE(watcher.texts().isEmpty()) << watcher.texts().join('|').toStdString();

  host.resize(400, 300);
  video.FitPreviewWindow();
  EXPECT_EQ(video.videoWindow()->geometry(), QRect(0, 0, 400, 300));

  video.ReleasePreview();
  EXPECT_EQ(video.videoWindow(), nullptr);
  EXPECT_EQ(video.player(), nullptr);
}

TEST_F(PreviewTest, NewPreviewReplacesTheOldAndSoundOnlyFilesPlay) {
  BoxWatcher watcher;
  ASSERT_TRUE(video.PlayPreview(kdxtest::MediaPath("clip_mpeg4_mp3.avi")));
  ASSERT_TRUE(video.PlayPreview(kdxtest::MediaPath("audio_only.mp4")));
  EXPECT_EQ(video.player()->source().toLocalFile().toStdString(), kdxtest::MediaPath("audio_only.mp4"));
  EXPECT_EQ(host.findChildren<QVideoWidget*>().size(), 1);
  EXPECT_TRUE(watcher.texts().isEmpty()) << watcher.texts().join('|').toStdString();
}

TEST_F(PreviewTest, WithoutPreviewStopAndFitDoNothing) {
  BoxWatcher watcher;
  video.StopPreview();
  video.FitPreviewWindow();
  video.ReleasePreview();
  QTest::qWait(50);
  EXPECT_TRUE(watcher.seen().isEmpty());
  EXPECT_EQ(video.videoWindow(), nullptr);
}

TEST_F(PreviewTest, FailuresShowTheirMessageAndGiveFalse) {
  std::ofstream(scratch.File("notes.avi")) << "not a video at all\n";
  mkdir(scratch.File("folder").c_str(), 0755);
  mkdir(scratch.File("locked").c_str(), 0555);
  const QString missing = "The specified file does not exist.\n\nPlease provide a valid video filename.";
  struct Case {
    std::string path;
    QString text;
  } cases[] = {{scratch.File("missing.mp4"), missing},
               {scratch.File("folder"), missing},
               {scratch.File("locked"), missing},
               {scratch.File("notes.avi"), "Could not render selected file"}};
  for (const Case& c : cases) {
    BoxWatcher watcher;
    EXPECT_FALSE(video.PlayPreview(c.path)) << c.path;
    video.StopPreview();  // a failed preview leaves nothing that could fail to stop
    EXPECT_EQ(video.player(), nullptr);
    ASSERT_EQ(watcher.seen().size(), 1) << c.path;
    EXPECT_EQ(watcher.seen()[0].text, c.text) << c.path;
    EXPECT_EQ(watcher.seen()[0].caption, "Norvik KDX Video Converter");
    EXPECT_EQ(watcher.seen()[0].icon, QMessageBox::Warning);
  }
  BoxWatcher watcher;
  // No path length is too long to play.
  EXPECT_TRUE(video.PlayPreview(LinkOfLength(300)));
  EXPECT_TRUE(watcher.seen().isEmpty()) << watcher.texts().join('|').toStdString();
}

TEST(PreviewWithoutHostTest, RefusesToPlayWithoutAPreviewArea) {
  TesselVideoFile video;
  BoxWatcher watcher;
  EXPECT_FALSE(video.PlayPreview(kdxtest::MediaPath("clip_h264_aac.mp4")));
  EXPECT_EQ(watcher.texts(), QStringList{"Does not appoint the screen for video!"});
  EXPECT_EQ(video.videoWindow(), nullptr);
}

}  // namespace
