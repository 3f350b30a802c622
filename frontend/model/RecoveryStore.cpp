#include "model/RecoveryStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSaveFile>
#include <QUuid>
#include <algorithm>

#include "model/Exceptions.h"

namespace korvan {

namespace {

const QString kFileKey = QStringLiteral("file");
const QString kWrittenKey = QStringLiteral("written");
const QString kIncompleteKey = QStringLiteral("incompleteLine");

// A lock that counts as stale only when its program no longer runs (and its
// file lock went with it), never by its age.
std::unique_ptr<QLockFile> NewLock(const QString& path) {
  auto lock = std::make_unique<QLockFile>(path);
  lock->setStaleLockTime(0);
  return lock;
}

void WriteWhole(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    throw EInOutError(
        QStringLiteral("Cannot write the recovery copy \"%1\". %2").arg(path, file.errorString()));
  }
}

}  // namespace

QString TRecoveryStore::DefaultFolder() {
  QString state = qEnvironmentVariable("XDG_STATE_HOME");
  if (!QDir::isAbsolutePath(state)) state = QDir::homePath() + QStringLiteral("/.local/state");
  return QDir::cleanPath(state + QStringLiteral("/KORVAN/recovery"));
}

TRecoveryStore::TRecoveryStore(QString folder) : fFolder(std::move(folder)) {}

TRecoveryStore::~TRecoveryStore() {
  Remove();
  ReleaseOrphans();
}

QString TRecoveryStore::PathOf(const QString& id, const char* extension) const {
  return fFolder + QLatin1Char('/') + id + QLatin1String(extension);
}

void TRecoveryStore::RemoveFiles(const QString& id) const {
  // The project first: a description left alone is cleared at the next start.
  QFile::remove(PathOf(id, ".kv4d"));
  QFile::remove(PathOf(id, ".json"));
}

QString TRecoveryStore::CopyFile() const {
  return fId.isEmpty() ? QString() : PathOf(fId, ".kv4d");
}

void TRecoveryStore::Write(const QByteArray& project, const QString& originalName,
                           int incompleteLine) {
  if (!fId.isEmpty() && project == fWrittenProject && originalName == fWrittenName &&
      incompleteLine == fWrittenLine) {
    return;
  }
  if (fId.isEmpty()) {
    // Only the user reads the copies of the user's projects.
    if (!QDir().mkpath(fFolder)) {
      throw EInOutError(QStringLiteral("Cannot make the recovery folder \"%1\".").arg(fFolder));
    }
    QFile::setPermissions(fFolder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    auto lock = NewLock(PathOf(id, ".lock"));
    if (!lock->tryLock(0)) {
      throw EInOutError(
          QStringLiteral("Cannot lock the recovery copy \"%1\".").arg(PathOf(id, ".lock")));
    }
    fId = id;
    fLock = std::move(lock);
  }
  // The description first: a copy without one is never offered.
  const QJsonObject description{
      {kFileKey, originalName},
      {kWrittenKey, QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)},
      {kIncompleteKey, incompleteLine}};
  fWrittenProject.clear();  // unknown until both files are written
  WriteWhole(PathOf(fId, ".json"), QJsonDocument(description).toJson());
  WriteWhole(PathOf(fId, ".kv4d"), project);
  fWrittenProject = project;
  fWrittenName = originalName;
  fWrittenLine = incompleteLine;
}

void TRecoveryStore::Remove() {
  if (fId.isEmpty()) return;
  RemoveFiles(fId);
  fLock.reset();  // unlocks: the lock file goes too
  fId.clear();
  fWrittenProject.clear();
}

std::vector<TRecoveryCopy> TRecoveryStore::Orphans() {
  std::vector<TRecoveryCopy> copies;
  const QStringList descriptions =
      QDir(fFolder).entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
  for (const QString& name : descriptions) {
    const QString id = QFileInfo(name).completeBaseName();
    if (id == fId) continue;
    auto held = fHeld.find(id);
    if (held == fHeld.end()) {
      auto lock = NewLock(PathOf(id, ".lock"));
      if (!lock->tryLock(0)) continue;  // its program runs: its copy is its own
      held = fHeld.emplace(id, std::move(lock)).first;
    }
    QFile file(PathOf(id, ".json"));
    const QJsonObject description = file.open(QIODevice::ReadOnly)
                                        ? QJsonDocument::fromJson(file.readAll()).object()
                                        : QJsonObject();
    TRecoveryCopy copy{
        id, PathOf(id, ".kv4d"), description.value(kFileKey).toString(),
        QDateTime::fromString(description.value(kWrittenKey).toString(), Qt::ISODateWithMs),
        description.value(kIncompleteKey).toInt()};
    if (copy.OriginalName.isEmpty() || !QFileInfo(copy.ProjectFile).isFile()) {
      // Nothing that could be restored: a copy cut short before its project.
      RemoveFiles(id);
      fHeld.erase(held);
      continue;
    }
    copies.push_back(std::move(copy));
  }
  std::stable_sort(
      copies.begin(), copies.end(),
      [](const TRecoveryCopy& a, const TRecoveryCopy& b) { return a.Written > b.Written; });
  return copies;
}

void TRecoveryStore::Discard(const TRecoveryCopy& copy) {
  const auto held = fHeld.find(copy.Id);
  if (held == fHeld.end()) return;
  RemoveFiles(copy.Id);
  fHeld.erase(held);
}

void TRecoveryStore::Adopt(const TRecoveryCopy& copy) {
  auto held = fHeld.find(copy.Id);
  if (held == fHeld.end()) return;
  Remove();
  fId = copy.Id;  // what it holds is not known here: the next Write writes
  fLock = std::move(held->second);
  fHeld.erase(held);
}

void TRecoveryStore::ReleaseOrphans() {
  fHeld.clear();
}

}  // namespace korvan
