// SPDX-License-Identifier: MIT
#include "desktop/recovery_copies.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>
#include <algorithm>

#include "workbench/files/atomic_file.h"
#include "workbench/files/file_error.h"
#include "workbench/files/project_file.h"
#include "workbench/model/application.h"
#include "workbench/model/project.h"

namespace lunavant::desktop {

namespace wb = lunavant::workbench;

namespace {

const QString kLockName = QStringLiteral("lock");
const QString kCopySuffix = QStringLiteral(".xml");
const QString kInfoSuffix = QStringLiteral(".json");
constexpr int kPollMs = 1000;

QString InfoOf(const QString& copy) {
  return copy.left(copy.size() - kCopySuffix.size()) + kInfoSuffix;
}

void WriteAtomically(const QString& path, const QByteArray& bytes) {
  wb::WriteFileAtomically(path.toStdString(), std::string_view(bytes.constData(), bytes.size()));
}

}  // namespace

QString RecoveryCopies::folder() {
  QString state = qEnvironmentVariable("XDG_STATE_HOME");
  // The XDG base directories must be absolute paths; a relative one is ignored, as the freedesktop
  // rules say.
  if (state.isEmpty() || QDir::isRelativePath(state)) {
    state = QDir::homePath() + QStringLiteral("/.local/state");
  }
  return state + QStringLiteral("/lunavant-desktop/recovery");
}

std::vector<RecoveryCopies::Left> RecoveryCopies::leftBehind() {
  std::vector<Left> found;
  const QDir root(folder());
  const QFileInfoList sessions =
      root.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Time | QDir::Reversed);
  for (const QFileInfo& session : sessions) {
    QLockFile lock(session.absoluteFilePath() + QLatin1Char('/') + kLockName);
    // Only a program that is gone leaves its lock for the taking; age alone proves nothing.
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0)) continue;
    lock.unlock();
    const QDir dir(session.absoluteFilePath());
    for (const QFileInfo& copy : dir.entryInfoList({QLatin1Char('*') + kCopySuffix}, QDir::Files,
                                                   QDir::Time | QDir::Reversed)) {
      QFile info_file(InfoOf(copy.absoluteFilePath()));
      if (!info_file.open(QIODevice::ReadOnly)) continue;
      const QJsonObject info = QJsonDocument::fromJson(info_file.readAll()).object();
      Left left;
      left.copy = copy.absoluteFilePath();
      left.name = info.value(QStringLiteral("name")).toString();
      left.file = info.value(QStringLiteral("file")).toString();
      left.known = FileFingerprint::fromText(info.value(QStringLiteral("known")).toString())
                       .value_or(FileFingerprint{});
      if (left.name.isEmpty()) left.name = QFileInfo(left.file).fileName();
      found.push_back(left);
    }
  }
  return found;
}

void RecoveryCopies::discard(const Left& left) {
  QFile::remove(InfoOf(left.copy));
  QFile::remove(left.copy);
  QDir session = QFileInfo(left.copy).absoluteDir();
  if (session.entryList({QLatin1Char('*') + kCopySuffix}, QDir::Files).isEmpty()) {
    session.removeRecursively();
  }
}

RecoveryCopies::RecoveryCopies(wb::Application& app, const FileGuard& files, QObject* parent)
    : QObject(parent), app_(app), files_(files) {
  const QString own =
      folder() + QStringLiteral("/session-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
  if (QDir().mkpath(own)) {
    // The folder is the user's alone: copies hold whole projects.
    QFile::setPermissions(own,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    own_ = QDir(own);
    lock_ = std::make_unique<QLockFile>(own_.filePath(kLockName));
    if (!lock_->tryLock(0)) lock_.reset();
  }
  poll_.setInterval(kPollMs);
  connect(&poll_, &QTimer::timeout, this, &RecoveryCopies::tick);
  if (lock_) poll_.start();
}

RecoveryCopies::~RecoveryCopies() {
  if (!lock_) return;
  lock_->unlock();
  own_.removeRecursively();
}

void RecoveryCopies::setDelays(int idle_ms, int interval_ms) {
  idle_ms_ = idle_ms;
  interval_ms_ = interval_ms;
  poll_.setInterval(std::max(10, std::min(kPollMs, idle_ms / 2)));
}

void RecoveryCopies::tick() {
  if (!lock_) return;
  bool due = false;
  for (std::int32_t index = 1; index <= app_.ProjectCount(); ++index) {
    wb::Project* project = app_.ProjectAt(index);
    auto found = kept_.find(project);
    if (project->Saved()) {
      if (found != kept_.end()) due = true;
      continue;
    }
    if (found == kept_.end()) {
      kept_.emplace(project, fresh(*project));
      continue;
    }
    Kept& kept = found->second;
    if (kept.written && kept.written_changes == project->ChangeCount()) continue;
    if (kept.seen_changes != project->ChangeCount()) {
      kept.seen_changes = project->ChangeCount();
      kept.since_change.restart();
    }
    if (kept.since_change.elapsed() >= idle_ms_ || kept.since_write.elapsed() >= interval_ms_) {
      due = true;
    }
  }
  // A copy of a project closed or saved since goes at once: it holds nothing to recover.
  for (const auto& [project, kept] : kept_) {
    if (app_.IndexOf(*project) == 0 || project->Saved()) due = true;
  }
  if (due) writeNow();
}

void RecoveryCopies::writeNow() {
  if (!lock_) return;
  std::map<const wb::Project*, Kept> still;
  for (std::int32_t index = 1; index <= app_.ProjectCount(); ++index) {
    wb::Project* project = app_.ProjectAt(index);
    auto found = kept_.find(project);
    if (project->Saved()) continue;
    Kept kept;
    if (found != kept_.end()) {
      kept = std::move(found->second);
      kept_.erase(found);
    } else {
      kept = fresh(*project);
    }
    if (!kept.written || kept.written_changes != project->ChangeCount()) write(*project, kept);
    still.emplace(project, std::move(kept));
  }
  // What is left belongs to projects saved or closed since.
  for (auto& [project, kept] : kept_) removeCopy(kept);
  kept_ = std::move(still);
}

RecoveryCopies::Kept RecoveryCopies::fresh(const wb::Project& project) {
  Kept kept;
  kept.copy = own_.filePath(QStringLiteral("project-%1").arg(next_number_++) + kCopySuffix);
  kept.since_change.start();
  kept.since_write.start();
  kept.seen_changes = project.ChangeCount();
  return kept;
}

void RecoveryCopies::write(wb::Project& project, Kept& kept) {
  const QString file = files_.pathOf(project);
  QJsonObject info;
  info.insert(QStringLiteral("name"), QString::fromStdString(project.Name()));
  info.insert(QStringLiteral("file"), file);
  if (const std::optional<FileFingerprint> known = files_.known(project)) {
    info.insert(QStringLiteral("known"), known->toText());
  }
  try {
    const std::string text = wb::ProjectFileText(project);
    WriteAtomically(kept.copy, QByteArray::fromStdString(text));
    WriteAtomically(InfoOf(kept.copy), QJsonDocument(info).toJson());
  } catch (const std::exception& e) {
    if (!failing_) emit writeFailed(QString::fromUtf8(e.what()));
    failing_ = true;
    return;
  }
  failing_ = false;
  kept.written = true;
  kept.written_changes = project.ChangeCount();
  kept.seen_changes = kept.written_changes;
  kept.since_write.restart();
}

void RecoveryCopies::removeCopy(Kept& kept) {
  QFile::remove(InfoOf(kept.copy));
  QFile::remove(kept.copy);
}

}  // namespace lunavant::desktop
