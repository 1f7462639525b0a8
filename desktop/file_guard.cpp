// SPDX-License-Identifier: MIT
#include "desktop/file_guard.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QStringList>

#include "workbench/files/project_file.h"
#include "workbench/model/project.h"

namespace lunavant::desktop {

namespace wb = lunavant::workbench;

FileFingerprint FileFingerprint::of(const QString& path) {
  FileFingerprint print;
  const QFileInfo info(path);
  if (!info.exists() || !info.isFile()) return print;
  print.exists = true;
  print.size = info.size();
  print.modified = info.lastModified().toUTC();
  QFile file(path);
  if (file.open(QIODevice::ReadOnly)) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (hash.addData(&file)) print.digest = hash.result();
  }
  return print;
}

QString FileFingerprint::toText() const {
  if (!exists) return QStringLiteral("none");
  return QStringLiteral("%1 %2 %3")
      .arg(size)
      .arg(modified.toMSecsSinceEpoch())
      .arg(QString::fromLatin1(digest.toHex()));
}

std::optional<FileFingerprint> FileFingerprint::fromText(const QString& text) {
  if (text == QLatin1String("none")) return FileFingerprint{};
  const QStringList parts = text.split(QLatin1Char(' '));
  if (parts.size() != 3) return std::nullopt;
  bool size_ok = false;
  bool time_ok = false;
  FileFingerprint print;
  print.exists = true;
  print.size = parts[0].toLongLong(&size_ok);
  print.modified = QDateTime::fromMSecsSinceEpoch(parts[1].toLongLong(&time_ok), Qt::UTC);
  print.digest = QByteArray::fromHex(parts[2].toLatin1());
  if (!size_ok || !time_ok) return std::nullopt;
  return print;
}

FileGuard::FileGuard(QObject* parent) : QObject(parent), watcher_(new QFileSystemWatcher(this)) {
  connect(watcher_, &QFileSystemWatcher::fileChanged, this, &FileGuard::onFileChanged);
  // A file replaced by renaming another over it (as careful programs save) or moved away shows
  // in its folder; the folder's change is looked at for every file watched in it.
  connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this](const QString& folder) {
    QStringList paths;
    for (const auto& [project, watched] : watched_) {
      if (QFileInfo(watched.path).absolutePath() == folder) paths << watched.path;
    }
    for (const QString& path : paths) onFileChanged(path);
  });
}

FileGuard::~FileGuard() = default;

void FileGuard::remember(const wb::Project& project) {
  const std::filesystem::path file = wb::ProjectFilePath(project);
  if (file.empty()) {
    forget(project);
    return;
  }
  const QString path = QFileInfo(QString::fromStdString(file.string())).absoluteFilePath();
  remember(project, path, FileFingerprint::of(path));
}

void FileGuard::remember(const wb::Project& project, const QString& path,
                         const FileFingerprint& known) {
  forget(project);
  watched_[&project] = Watched{path, known, known};
  watch(path);
}

void FileGuard::watch(const QString& path) {
  if (QFileInfo::exists(path) && !watcher_->files().contains(path)) watcher_->addPath(path);
  const QString folder = QFileInfo(path).absolutePath();
  if (QFileInfo::exists(folder) && !watcher_->directories().contains(folder)) {
    watcher_->addPath(folder);
  }
}

void FileGuard::forget(const wb::Project& project) {
  auto found = watched_.find(&project);
  if (found == watched_.end()) return;
  const QString path = found->second.path;
  const QString folder = QFileInfo(path).absolutePath();
  watched_.erase(found);
  bool file_shared = false;
  bool folder_shared = false;
  for (const auto& [other, watched] : watched_) {
    file_shared = file_shared || watched.path == path;
    folder_shared = folder_shared || QFileInfo(watched.path).absolutePath() == folder;
  }
  if (!file_shared && watcher_->files().contains(path)) watcher_->removePath(path);
  if (!folder_shared && watcher_->directories().contains(folder)) watcher_->removePath(folder);
}

std::optional<FileFingerprint> FileGuard::known(const wb::Project& project) const {
  auto found = watched_.find(&project);
  if (found == watched_.end()) return std::nullopt;
  return found->second.known;
}

QString FileGuard::pathOf(const wb::Project& project) const {
  auto found = watched_.find(&project);
  return found == watched_.end() ? QString() : found->second.path;
}

bool FileGuard::changedOutside(const wb::Project& project) const {
  auto found = watched_.find(&project);
  if (found == watched_.end()) return false;
  return !(FileFingerprint::of(found->second.path) == found->second.known);
}

bool FileGuard::goneOutside(const wb::Project& project) const {
  auto found = watched_.find(&project);
  return found != watched_.end() && found->second.known.exists &&
         !QFileInfo::exists(found->second.path);
}

void FileGuard::recheck(const wb::Project& project) {
  auto found = watched_.find(&project);
  if (found == watched_.end()) return;
  const FileFingerprint now = FileFingerprint::of(found->second.path);
  if (now == found->second.known) return;
  found->second.announced = now;
  emit outsideChange(&project);
}

void FileGuard::onFileChanged(const QString& path) {
  std::vector<const wb::Project*> changed;
  for (auto& [project, watched] : watched_) {
    if (watched.path != path) continue;
    const FileFingerprint now = FileFingerprint::of(path);
    if (now == watched.announced) continue;
    watched.announced = now;
    if (!(now == watched.known)) changed.push_back(project);
  }
  // A file renamed over loses its watch with its old inode; the new one is watched again.
  watch(path);
  for (const wb::Project* project : changed) emit outsideChange(project);
}

}  // namespace lunavant::desktop
