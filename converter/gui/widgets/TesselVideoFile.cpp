// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/widgets/TesselVideoFile.h"

#include <sys/stat.h>

#include <QAudioDevice>
#include <QAudioOutput>
#include <QEventLoop>
#include <QFile>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>
#include <QVideoWidget>

#include "converter/gui/widgets/message_box.h"

namespace {

// How long opening a source for the preview may take.
constexpr int kOpenTimeoutMs = 15000;

bool IsMediaOpened(QMediaPlayer::MediaStatus status) {
  return status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferingMedia ||
         status == QMediaPlayer::BufferedMedia;
}

// Waits until the player has opened its source or given up.
bool WaitForMedia(QMediaPlayer& player) {
  if (player.mediaStatus() == QMediaPlayer::LoadingMedia) {
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&player, &QMediaPlayer::mediaStatusChanged, &loop, [&loop](QMediaPlayer::MediaStatus s) {
      if (s != QMediaPlayer::LoadingMedia) loop.quit();
    });
    QObject::connect(&player, &QMediaPlayer::errorOccurred, &loop, &QEventLoop::quit);
    timeout.start(kOpenTimeoutMs);
    loop.exec();
  }
  return player.error() == QMediaPlayer::NoError && IsMediaOpened(player.mediaStatus());
}

}  // namespace

void SelectPreviewMediaBackend() { qputenv("QT_MEDIA_BACKEND", "ffmpeg"); }

TesselVideoFile::TesselVideoFile() = default;

TesselVideoFile::~TesselVideoFile() { ReleasePreview(); }

bool TesselVideoFile::PlayPreview(const std::string& path) {
  StopPreview();
  ReleaseGraph();
  // A folder is no video file, whatever else its permissions say.
  struct stat attributes;
  if (path.empty() || stat(path.c_str(), &attributes) != 0 || S_ISDIR(attributes.st_mode)) {
    ShowWarningBox(m_hostWindow, "The specified file does not exist.\r\n\r\nPlease provide a valid video filename.");
    return false;
  }
  m_graph = std::make_unique<QMediaPlayer>();
  if (!m_graph->isAvailable()) {
    ReleaseGraph();
    ShowWarningBox(m_hostWindow,
                   "Could not create a graph, please ensure your Microsoft DirectX is upgraded to 9.0 or above.");
    return false;
  }
  // Without any sound device an attached audio output brings the player down.
  if (!QMediaDevices::audioOutputs().isEmpty()) {
    m_audioOutput = std::make_unique<QAudioOutput>();
    m_graph->setAudioOutput(m_audioOutput.get());
  }
  // The player reads through an open file: given a URL, the media back end
  // cannot open names with characters outside ASCII.
  m_source = std::make_unique<QFile>(QString::fromStdString(path));
  if (m_source->open(QIODevice::ReadOnly)) m_graph->setSourceDevice(m_source.get(), QUrl::fromLocalFile(m_source->fileName()));
  if (!m_source->isOpen() || !WaitForMedia(*m_graph)) {
    ReleaseGraph();
    ShowWarningBox(m_hostWindow, "Could not render selected file");
    return false;
  }
  if (!m_hostWindow) {
    ReleaseGraph();
    ShowWarningBox(m_hostWindow, "Does not appoint the screen for video!");
    return false;
  }
  delete m_videoWindow;
  m_videoWindow = new QVideoWidget(m_hostWindow);
  m_graph->setVideoOutput(m_videoWindow.data());
  m_videoWindow->setGeometry(m_hostWindow->rect());
  m_videoWindow->show();
  m_graph->play();
  if (m_graph->error() != QMediaPlayer::NoError || m_graph->playbackState() != QMediaPlayer::PlayingState) {
    ReleasePreview();
    ShowWarningBox(m_hostWindow, "Could not run playback graph");
    return false;
  }
  return true;
}

void TesselVideoFile::StopPreview() {
  if (!m_graph) return;
  m_graph->stop();
  if (m_graph->playbackState() != QMediaPlayer::StoppedState) {
    ShowWarningBox(m_hostWindow, "Could not stop graph");
    return;
  }
  m_graph->setPosition(0);
  m_graph->pause();
  if (m_graph->playbackState() != QMediaPlayer::PausedState) ShowWarningBox(m_hostWindow, "Could not pause graph");
}

void TesselVideoFile::FitPreviewWindow() {
  if (!m_graph || !m_videoWindow || !m_hostWindow) return;
  m_videoWindow->setGeometry(0, 0, m_hostWindow->width(), m_hostWindow->height());
}

void TesselVideoFile::ReleasePreview() {
  if (m_graph) m_graph->setVideoOutput(nullptr);
  delete m_videoWindow;
  ReleaseGraph();
}

void TesselVideoFile::ReleaseGraph() {
  if (m_graph) m_graph->stop();
  m_graph.reset();
  m_audioOutput.reset();
  m_source.reset();
}
