// TRecoveryStore: the recovery copies of unsaved projects. While a project
// has unsaved changes the main window writes a copy of it here every few
// seconds; the copy goes when the project is saved, its changes are
// discarded or the program ends normally. A copy that outlives its program
// (a crash, a killed program, a power cut) is offered at the next start.
//
// A copy is three files in the folder: "<id>.kv4d", the project in the data
// file's format; "<id>.json", which project it is and when it was written;
// and "<id>.lock", held by the program that writes it for as long as that
// program runs. Copies whose lock a running program holds are never
// touched, so several programs at once keep out of each other's copies.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <map>
#include <memory>
#include <vector>

class QLockFile;

namespace korvan {

// A copy left by a program that did not end normally.
struct TRecoveryCopy {
  QString Id;
  QString ProjectFile;   // the copy itself
  QString OriginalName;  // the project's data file, or "NewKORVAN.kv4d" when never saved
  QDateTime Written;
  int IncompleteLine = 0;  // as the project had it (0: read whole)
};

class TRecoveryStore {
 public:
  // "$XDG_STATE_HOME/KORVAN/recovery", or "~/.local/state/KORVAN/recovery"
  // when XDG_STATE_HOME is not an absolute path.
  static QString DefaultFolder();

  explicit TRecoveryStore(QString folder = DefaultFolder());
  // A normal end: this program's copy goes, and the copies it holds are left
  // for the next start.
  ~TRecoveryStore();
  TRecoveryStore(const TRecoveryStore&) = delete;
  TRecoveryStore& operator=(const TRecoveryStore&) = delete;

  const QString& Folder() const { return fFolder; }

  // Writes this program's copy of `project` (the bytes of a data file) in
  // place of the one before, each file replaced whole; a copy that would be
  // the same as the one before is not written again. Raises EInOutError
  // when the folder or a file cannot be written; an earlier copy then stays.
  void Write(const QByteArray& project, const QString& originalName, int incompleteLine);
  // Removes this program's copy, when there is one.
  void Remove();
  // This program's copy ("<id>.kv4d"), or empty while there is none.
  QString CopyFile() const;

  // The copies of programs that are no longer running, newest first. Each
  // is held by this program until it is discarded, adopted or released.
  std::vector<TRecoveryCopy> Orphans();
  // Deletes a copy returned by Orphans.
  void Discard(const TRecoveryCopy& copy);
  // Makes a copy returned by Orphans this program's own (in place of its
  // own copy): the next Write replaces it, Remove deletes it.
  void Adopt(const TRecoveryCopy& copy);
  // Leaves the copies still held for the next start.
  void ReleaseOrphans();

 private:
  QString PathOf(const QString& id, const char* extension) const;
  void RemoveFiles(const QString& id) const;

  QString fFolder;
  QString fId;  // this program's copy; empty until the first Write
  // What the copy holds, so that an unchanged project is not written again.
  QByteArray fWrittenProject;
  QString fWrittenName;
  int fWrittenLine = 0;
  std::unique_ptr<QLockFile> fLock;
  std::map<QString, std::unique_ptr<QLockFile>> fHeld;
};

}  // namespace korvan
