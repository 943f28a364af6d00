// SPDX-License-Identifier: GPL-2.0-or-later
// Dropping files and folders on the list, as a file manager does it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <sys/stat.h>

#include "converter/gui/widgets/FileDropListCtrl.h"
#include "tests/converter/gui/widgets/qt_test_app.h"

namespace {

const QString kVideoFilter = ".avi .mpg .mpeg .dat .divx .vob .mov .rmvb .rm .wmv .asf .mp4";

class FileDropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"movie/clip.avi", "file.AVI", "notes.txt", "noextension", "show.rm"}) Touch(name);
    ASSERT_TRUE(QDir(dir.path()).mkpath("folder.avi"));
    ASSERT_TRUE(QFile::link(Path("movie/clip.avi"), Path("shortcut.avi")));
    ASSERT_TRUE(QFile::link(Path("shortcut.avi"), Path("shortcut-to-shortcut")));
    ASSERT_TRUE(QFile::link(Path("gone.avi"), Path("dangling.avi")));
    ASSERT_EQ(::mkfifo(Path("pipe.avi").toLocal8Bit().constData(), 0600), 0);
    list.InsertColumn(0, "File", Qt::AlignLeft, 300);
    list.resize(400, 200);
    uitest::ShowAndWait(list);
  }

  QString Path(const QString& name) const { return dir.filePath(name); }
  void Touch(const QString& name) {
    QDir(dir.path()).mkpath(QFileInfo(Path(name)).path());
    QFile file(Path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("data");
  }

  // Drags the paths over the list and lets them go, as one drop.
  void Drop(const QStringList& names) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& name : names) urls << QUrl::fromLocalFile(Path(name));
    data.setUrls(urls);
    const QPoint at = list.viewport()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(list.viewport(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(list.viewport(), &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(list.viewport(), &drop);
    ASSERT_TRUE(drop.isAccepted());
  }

  QStringList Rows() const {
    QStringList rows;
    for (int row = 0; row < list.GetItemCount(); ++row) rows << list.GetItemText(row, 0);
    return rows;
  }

  QTemporaryDir dir;
  CFileDropListCtrl list;
};

TEST_F(FileDropTest, VideoModeHandsFilteredFilesToTheCallback) {
  QStringList taken;
  DropMode mode;
  mode.iMask = DropMode::DL_ACCEPT_FILES | DropMode::DL_FILTER_EXTENSION | DropMode::DL_USE_CALLBACK;
  mode.csFileExt = kVideoFilter;
  mode.pfnCallback = [&](CFileDropListCtrl& target, const QString& path, DropKind kind) {
    EXPECT_EQ(&target, &list);
    EXPECT_EQ(kind, DL_FILE_TYPE);
    taken << path;
  };
  ASSERT_TRUE(list.SetDropMode(mode));

  Drop({"folder.avi", "shortcut.avi", "file.AVI", "notes.txt", "noextension", "show.rm", "dangling.avi", "pipe.avi",
        "shortcut-to-shortcut", "missing.avi"});
  EXPECT_EQ(taken, (QStringList{Path("movie/clip.avi"), Path("file.AVI"), Path("noextension"), Path("show.rm"),
                                Path("movie/clip.avi")}));
  EXPECT_EQ(list.GetItemCount(), 0) << "the callback decides what goes into the list";
}

TEST_F(FileDropTest, DefaultModeInsertsFilesAndFoldersOnTopOnce) {
  EXPECT_EQ(list.GetDropMode().iMask, unsigned{DropMode::DL_ACCEPT_FILES | DropMode::DL_ACCEPT_FOLDERS});
  Drop({"notes.txt", "folder.avi"});
  EXPECT_EQ(Rows(), (QStringList{Path("folder.avi"), Path("notes.txt")}));
  Drop({"notes.txt", "shortcut.avi"});
  EXPECT_EQ(Rows(), (QStringList{Path("movie/clip.avi"), Path("folder.avi"), Path("notes.txt")}));

  DropMode duplicates;
  duplicates.iMask = DropMode::DL_ACCEPT_FILES | DropMode::DL_ALLOW_DUPLICATES;
  ASSERT_TRUE(list.SetDropMode(duplicates));
  Drop({"notes.txt", "folder.avi"});
  EXPECT_EQ(Rows(), (QStringList{Path("notes.txt"), Path("movie/clip.avi"), Path("folder.avi"), Path("notes.txt")}));
}

TEST_F(FileDropTest, CallbackFlagWithoutCallbackIsRefused) {
  DropMode foldersOnly;
  foldersOnly.iMask = DropMode::DL_ACCEPT_FOLDERS;
  ASSERT_TRUE(list.SetDropMode(foldersOnly));
  DropMode broken;
  broken.iMask = DropMode::DL_ACCEPT_FILES | DropMode::DL_USE_CALLBACK;
  EXPECT_FALSE(list.SetDropMode(broken));
  EXPECT_EQ(list.GetDropMode().iMask, unsigned{DropMode::DL_ACCEPT_FOLDERS});
  Drop({"file.AVI", "folder.avi"});
  EXPECT_EQ(Rows(), QStringList{Path("folder.avi")});
}

TEST_F(FileDropTest, DropsWithoutFilesAreNotTaken) {
  QMimeData text;
  text.setText("just words");
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, {});
  QApplication::sendEvent(list.viewport(), &enter);
  EXPECT_FALSE(enter.isAccepted());
  EXPECT_EQ(list.GetItemCount(), 0);
}

}  // namespace
