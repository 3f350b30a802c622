// The File commands of the main window: new, open, save, save as, the recent
// files, and the graph settings stored beside the project.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "app/FileDialogs.h"
#include "app/MainForm.h"
#include "model/Exceptions.h"
#include "model/ProgramData.h"
#include "model/WordReader.h"
#include "platform/qt/message_box.h"

namespace korvan {

namespace {

bool IsCurrentFormatName(const QString& name) {
  return name != kNewFileName && name.endsWith(QStringLiteral(".kv4d"), Qt::CaseInsensitive);
}

}  // namespace

QString TMainForm::ProjectFile(const QString& extension) const {
  const QFileInfo info(ProgramData->FileName);
  return info.path() + QLatin1Char('/') + info.completeBaseName() + extension;
}

void TMainForm::FileNewClick() {
  if (!QuerySaveChanges()) return;
  HideAll();
  ProgramData.reset();
  ProgramData = std::make_unique<TProgramData>(fTables);
  DropRecoveryCopy();
  SetCaption();
  fShowOutput = false;
  CheckSpeedButtons();
}

void TMainForm::FileOpenClick() {
  if (!QuerySaveChanges()) return;
  const auto [name, filter] = ChooseOpenFile();
  if (!name.isEmpty()) OpenFileName(name, filter);
}

bool TMainForm::OpenByExtension(const QString& name) {
  const TDataFileFormat format = DataFileFormat(name);
  if (format == dfUnknown) return false;
  return OpenFileName(name, format);
}

bool TMainForm::OpenFileName(const QString& name, int index) {
  const QFileInfo info(name);
  // A file that cannot be read at all leaves the project on screen as it is.
  try {
    const TWordReader probe(info.absoluteFilePath());
  } catch (const EKorvanError& error) {
    platform::ShowInformation(error.Message());
    return false;
  }
  HideAll();
  ProgramData.reset();
  QDir::setCurrent(info.absolutePath());
  ReadProject(info.absoluteFilePath(), index);
  DropRecoveryCopy();
  SetCaption();
  ReadResults();
  CheckSpeedButtons();
  UpdatePrevFile(ProgramData->FileName);
  return true;
}

void TMainForm::ReadProject(const QString& name, int format) {
  QString message;
  auto project = TProgramData::CreateFromFile(fTables, name, format, message);
  // Shown while no project is held, so that no recovery copy is written of
  // what is being replaced.
  if (!message.isEmpty()) platform::ShowInformation(message);
  ProgramData = std::move(project);
}

// The results and graph settings saved beside the project.
void TMainForm::ReadResults() {
  const QString plotFile = ProjectFile(QStringLiteral(".kv4p"));
  fShowOutput = QFileInfo::exists(plotFile) && ReadPlotData(plotFile, false);
  if (QFileInfo::exists(ProjectFile(QStringLiteral(".kv4g")))) ReadGraphParams();
}

void TMainForm::SaveProject() {
  ProgramData->Save();
  DropRecoveryCopy();
  SetCaption();
  SaveGraphParams();
}

platform::TAnswer TMainForm::AskBeforeReplacingIncomplete() {
  if (ProgramData->IncompleteLine <= 0) return platform::TAnswer::Yes;
  const QString question =
      QStringLiteral(
          "\"%1\" was read only up to line %2; saving replaces the file with what was read.\n\n"
          "Replace the file, or save the project under another name?")
          .arg(QFileInfo(ProgramData->FileName).fileName())
          .arg(ProgramData->IncompleteLine);
  return platform::AskYesNoCancel(
      question, {QStringLiteral("&Replace"), QStringLiteral("Save &As..."), platform::TAnswer::No});
}

bool TMainForm::SaveCurrent() {
  if (!IsCurrentFormatName(ProgramData->FileName)) return SaveProjectAs();
  switch (AskBeforeReplacingIncomplete()) {
    case platform::TAnswer::Cancel:
      return false;
    case platform::TAnswer::No:
      return SaveProjectAs();
    case platform::TAnswer::Yes:
      break;
  }
  SaveProject();
  return true;
}

bool TMainForm::FileSaveClick() {
  // A toolbar button or a shortcut leaves the active window as it is.
  if (!CommitActiveChild()) return false;
  try {
    return SaveCurrent();
  } catch (const EKorvanError& error) {
    platform::ShowInformation(error.Message());
  }
  return false;
}

bool TMainForm::FileSaveAsClick() {
  if (!CommitActiveChild()) return false;
  try {
    return SaveProjectAs();
  } catch (const EKorvanError& error) {
    platform::ShowInformation(error.Message());
  }
  return false;
}

// A cancelled dialog or a failed save leaves the name, the recent files and
// the windows as they were.
bool TMainForm::SaveProjectAs() {
  const QString preset = WithKv4dExtension(ProgramData->FileName);
  const QString chosen = ChooseSaveFile(
      QStringLiteral("Save ") + DisplayFileName(ProgramData->FileName) + QStringLiteral(" As"),
      preset);
  if (chosen.isEmpty()) {
    filesaved = false;
    return false;
  }
  const QString previous = ProgramData->FileName;
  ProgramData->FileName = WithKv4dExtension(QFileInfo(chosen).absoluteFilePath());
  try {
    ProgramData->Save();
  } catch (...) {
    ProgramData->FileName = previous;
    throw;
  }
  DropRecoveryCopy();
  SetCaption();
  UpdatePrevFile(ProgramData->FileName);
  CheckSpeedButtons();
  HideAll();
  return true;
}

int TMainForm::NumberPrevFile() const {
  return static_cast<int>(std::count_if(fPrevFile.begin(), fPrevFile.end(),
                                        [](const QString& f) { return !f.isEmpty(); }));
}

void TMainForm::UpdatePrevFile(const QString& name) {
  if (fPrevFile[0] == name) return;
  int found = kRecentFileCount - 1;  // the last entry drops out
  for (int i = 1; i < kRecentFileCount; ++i) {
    if (fPrevFile[i] == name) {
      found = i;
      break;
    }
  }
  fPrevFile.removeAt(found);
  fPrevFile.prepend(name);
  StoreSettings();
}

void TMainForm::UpdateFileMenu() {
  const int count = NumberPrevFile();
  const QString current = QDir::currentPath() + QLatin1Char('/');
  for (int i = 0; i < kRecentFileCount; ++i) {
    QAction* item = fActions.RecentFiles[static_cast<size_t>(i)];
    item->setVisible(i < count);
    if (i >= count) continue;
    QString shown = fPrevFile[i];
    if (shown.startsWith(current)) shown.remove(0, current.size());
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    item->setText(QStringLiteral("%1 %2").arg(i + 1).arg(shown));
  }
  fActions.RecentSeparator->setVisible(count > 0);
}

void TMainForm::MyFilePopupHandler(int index) {
  const QString name = fPrevFile.value(index);
  if (DataFileFormat(name) == dfUnknown) return;
  if (!QFileInfo(name).isFile()) {
    fPrevFile.removeAt(index);
    fPrevFile.append(QString());
    StoreSettings();
    platform::ShowInformation(
        QStringLiteral("The file \"%1\" no longer exists; it was removed from the recent files.")
            .arg(name));
    return;
  }
  if (!QuerySaveChanges()) return;
  OpenByExtension(name);
}

bool TMainForm::ReadPlotData(const QString& plotFile, bool ReportErrors) {
  const bool read = fGraphs.ReadPlotData(plotFile, *ProgramData);
  if (!read && ReportErrors) {
    platform::ShowInformation(QStringLiteral("An error occured in running the main program."));
  }
  return read;
}

void TMainForm::SaveGraphParams() {
  if (!fShowOutput || !QFileInfo::exists(ProjectFile(QStringLiteral(".kv4p")))) return;
  try {
    fGraphs.SaveGraphParams(ProjectFile(QStringLiteral(".kv4g")), *ProgramData);
  } catch (const EKorvanError& error) {
    platform::ShowInformation(error.Message());
  }
}

void TMainForm::ReadGraphParams() {
  if (!fShowOutput || !QFileInfo::exists(ProjectFile(QStringLiteral(".kv4p"))) ||
      !QFileInfo::exists(ProjectFile(QStringLiteral(".kv4g")))) {
    return;
  }
  try {
    fGraphs.ReadGraphParams(ProjectFile(QStringLiteral(".kv4g")), *ProgramData);
  } catch (const EKorvanError& error) {
    platform::ShowInformation(error.Message());
  }
}

}  // namespace korvan
