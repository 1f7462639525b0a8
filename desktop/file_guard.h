// SPDX-License-Identifier: MIT
// Keeps the files of the open projects under watch, so that nothing another program wrote
// (a colleague's copy, a sync client, the command-line tool) is overwritten without the user's
// choice. Each project's file is known as it was when the program last read or wrote it: its
// size, modification time and content digest. A change noticed while the program runs is
// announced (outsideChange); before every save the file is compared again, whatever the watch
// saw.
//
//   FileGuard guard(window);
//   guard.remember(project);                  // after opening or saving it
//   if (guard.changedOutside(project)) ...    // before writing over it
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <map>
#include <optional>

class QFileSystemWatcher;

namespace lunavant::workbench {
class Project;
}

namespace lunavant::desktop {

// What a file is at one moment; `exists` false for a file that is gone (or never was).
struct FileFingerprint {
  bool exists = false;
  qint64 size = 0;
  QDateTime modified;
  QByteArray digest;  // SHA-256 of the content; empty when it could not be read
  friend bool operator==(const FileFingerprint&, const FileFingerprint&) = default;

  static FileFingerprint of(const QString& path);
  // As one line of text, and back; nullopt for a line that is no fingerprint.
  QString toText() const;
  static std::optional<FileFingerprint> fromText(const QString& text);
};

class FileGuard : public QObject {
  Q_OBJECT

 public:
  explicit FileGuard(QObject* parent = nullptr);
  ~FileGuard() override;

  // Takes the project's file as it is now as the one the program knows (after an open or a save);
  // a project without a file is forgotten.
  void remember(const lunavant::workbench::Project& project);
  // Takes `known` as the file the program knew (a recovered project's, as it was before the
  // program stopped), so that a change since then counts as an outside change.
  void remember(const lunavant::workbench::Project& project, const QString& path,
                const FileFingerprint& known);
  void forget(const lunavant::workbench::Project& project);
  // The file as the program knew it; nullopt for a project without a file.
  std::optional<FileFingerprint> known(const lunavant::workbench::Project& project) const;
  QString pathOf(const lunavant::workbench::Project& project) const;

  // Whether the project's file is no longer as the program knew it: changed, deleted or moved
  // away. False for a project without a file.
  bool changedOutside(const lunavant::workbench::Project& project) const;
  bool goneOutside(const lunavant::workbench::Project& project) const;
  // Announces the project's file (outsideChange) when it is no longer as the program knew it,
  // without waiting for the watch to see a change.
  void recheck(const lunavant::workbench::Project& project);

 signals:
  // The watch saw the file of `project` change, or go, since the program knew it; announced
  // once per change.
  void outsideChange(const lunavant::workbench::Project* project);

 private:
  struct Watched {
    QString path;
    FileFingerprint known;
    FileFingerprint announced;  // the last state announced, so one change is told once
  };
  void onFileChanged(const QString& path);
  void watch(const QString& path);

  QFileSystemWatcher* watcher_;
  std::map<const lunavant::workbench::Project*, Watched> watched_;
};

}  // namespace lunavant::desktop
