// The File commands of the main window: new, open, save, save as, the recent
// files, and the graph settings stored beside the project.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "DataUnit.h"
#include "Exceptions.h"
#include "FileDialogs.h"
#include "Main.h"
#include "message_box.h"

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
  OpenFileName(name, format);
  return true;
}

void TMainForm::OpenFileName(const QString& name, int index) {
  HideAll();
  ProgramData.reset();
  const QFileInfo info(name);
  QDir::setCurrent(info.absolutePath());
  ProgramData = TProgramData::CreateFromFile(fTables, info.absoluteFilePath(), index);
  SetCaption();
  const QString plotFile = ProjectFile(QStringLiteral(".kv4p"));
  fShowOutput = QFileInfo::exists(plotFile) && ReadPlotData(plotFile, false);
  if (QFileInfo::exists(ProjectFile(QStringLiteral(".kv4g")))) ReadGraphParams();
  CheckSpeedButtons();
  UpdatePrevFile(ProgramData->FileName);
}

void TMainForm::SaveProject() {
  ProgramData->Save();
  SaveGraphParams();
}

void TMainForm::FileSaveClick() {
  // A toolbar button or a shortcut leaves the active window as it is.
  if (!CommitActiveChild()) return;
  if (!IsCurrentFormatName(ProgramData->FileName)) {
    FileSaveAsClick();
    return;
  }
  try {
    SaveProject();
  } catch (const EKorvanError& error) {
    platform::ShowInformation(error.Message());
  }
}

void TMainForm::FileSaveAsClick() {
  if (!CommitActiveChild()) return;
  try {
    SaveProjectAs();
  } catch (const EKorvanError& error) {
    platform::ShowInformation(error.Message());
  }
}

bool TMainForm::SaveProjectAs() {
  const QString preset = WithKv4dExtension(ProgramData->FileName);
  const QString chosen = ChooseSaveFile(
      QStringLiteral("Save ") + DisplayFileName(ProgramData->FileName) + QStringLiteral(" As"),
      preset);
  if (chosen.isEmpty()) {
    filesaved = false;
  } else {
    ProgramData->FileName = WithKv4dExtension(QFileInfo(chosen).absoluteFilePath());
    SetCaption();
    ProgramData->Save();
  }
  UpdatePrevFile(ProgramData->FileName);
  CheckSpeedButtons();
  HideAll();
  return !chosen.isEmpty();
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
  UpdateRegister();
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
