// SPDX-License-Identifier: GPL-2.0-or-later
// Previews one input video file inside the main window's preview area. The
// window owns one object for its whole life.
#pragma once

#include <QPointer>
#include <QVideoWidget>
#include <memory>
#include <string>

class QAudioOutput;
class QFile;
class QMediaPlayer;

// Chooses the media back end that plays every source offscreen too. Call it
// before the QApplication is made.
void SelectPreviewMediaBackend();

class TesselVideoFile {
 public:
  TesselVideoFile();
  ~TesselVideoFile();
  TesselVideoFile(const TesselVideoFile&) = delete;
  TesselVideoFile& operator=(const TesselVideoFile&) = delete;

  // The preview area the video is drawn in; set once while the window is
  // made. It also owns the message boxes.
  void SetHostWindow(QWidget* host) { m_hostWindow = host; }

  // Stops the current preview and plays the file, sound included, in the host
  // window. Every failure is shown in a message box and gives false, and
  // leaves no preview behind (so a later stop has nothing to complain about).
  bool PlayPreview(const std::string& path);
  // Stops, rewinds and pauses, so the first picture stays visible. Nothing
  // happens without a preview.
  void StopPreview();
  // Sizes the video to the host window. Nothing happens without a preview.
  void FitPreviewWindow();
  // Lets the video window and the player go.
  void ReleasePreview();

  // The video window of the current preview, or null.
  QVideoWidget* videoWindow() const { return m_videoWindow; }
  // The player of the current preview, or null.
  QMediaPlayer* player() const { return m_graph.get(); }

 private:
  void ReleaseGraph();

  std::unique_ptr<QMediaPlayer> m_graph;
  std::unique_ptr<QAudioOutput> m_audioOutput;
  std::unique_ptr<QFile> m_source;  // what the player reads, kept open while it plays
  QPointer<QVideoWidget> m_videoWindow;  // a child of the host window
  QPointer<QWidget> m_hostWindow;
};
