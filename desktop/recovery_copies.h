// SPDX-License-Identifier: MIT
// Recovery copies: while a project has unsaved changes, a copy of it is kept in the user's state
// folder ($XDG_STATE_HOME, else ~/.local/state), never beside the user's file, written
// atomically when the user pauses and every few minutes while the changes go on. Each running
// program keeps its copies in a folder of its own, locked for its life; a clean end removes the
// folder, and a project saved or closed loses its copy at once. A folder whose lock no live
// program holds is what a crash or a killed session left: the next start offers its copies.
//
//   RecoveryCopies copies(app, files);
//   for (const RecoveryCopies::Left& left : RecoveryCopies::leftBehind()) ...
#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>
#include <map>
#include <memory>
#include <vector>

#include "desktop/file_guard.h"

namespace lunavant::workbench {
class Application;
class Project;
}  // namespace lunavant::workbench

namespace lunavant::desktop {

class RecoveryCopies : public QObject {
  Q_OBJECT

 public:
  // Where every program's recovery folders are.
  static QString folder();

  // A copy a program left behind when it stopped without closing.
  struct Left {
    QString copy;           // the copy's file
    QString name;           // the project's name
    QString file;           // the user's file it was opened from or saved to; empty when none
    FileFingerprint known;  // that file as the program knew it
  };
  // The copies of programs that are no longer running, oldest first.
  static std::vector<Left> leftBehind();
  // Removes `left`'s copy, and its program's folder once that holds no copy any more.
  static void discard(const Left& left);

  // The application and the file guard (which says what each project's file was when read or
  // written) must outlive the copies. Keeps nothing when the state folder cannot be made.
  RecoveryCopies(lunavant::workbench::Application& app, const FileGuard& files,
                 QObject* parent = nullptr);
  // Removes this program's folder: an ordinary end leaves nothing to recover.
  ~RecoveryCopies() override;

  // How long the changes must rest before a copy is written, and how often a copy is written
  // while they go on.
  void setDelays(int idle_ms, int interval_ms);

 public slots:
  // Writes a copy of each project whose changes are not in its copy yet, and removes the copy of
  // each project that has no unsaved change or is no longer open.
  void writeNow();

 signals:
  // A copy could not be written (a full disk, say); said once until a write succeeds again.
  void writeFailed(const QString& message);

 private:
  struct Kept {
    QString copy;
    quint64 written_changes = 0;
    quint64 seen_changes = 0;
    bool written = false;
    QElapsedTimer since_change;
    QElapsedTimer since_write;
  };
  void tick();
  Kept fresh(const lunavant::workbench::Project& project);
  void write(lunavant::workbench::Project& project, Kept& kept);
  void removeCopy(Kept& kept);

  lunavant::workbench::Application& app_;
  const FileGuard& files_;
  QDir own_;
  std::unique_ptr<QLockFile> lock_;
  QTimer poll_;
  int idle_ms_ = 3000;
  int interval_ms_ = 3 * 60 * 1000;
  int next_number_ = 1;
  bool failing_ = false;
  std::map<const lunavant::workbench::Project*, Kept> kept_;
};

}  // namespace lunavant::desktop
