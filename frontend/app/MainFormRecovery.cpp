// Recovery copies of the unsaved project: written every few seconds while
// the project has unsaved changes, removed when it is saved, its changes are
// let go or the program closes, and offered at the next start when a
// program ended without closing.
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>

#include "app/MainForm.h"
#include "model/Exceptions.h"
#include "model/ProgramData.h"
#include "model/RecoveryStore.h"
#include "platform/qt/message_box.h"

namespace korvan {

void TMainForm::StartRecoveryTimer() {
  fRecoveryTimer->stop();
  if (fRecoveryInterval > 0) fRecoveryTimer->start(fRecoveryInterval * 1000);
}

void TMainForm::WriteRecoveryCopy() {
  // No project while one is being replaced (a message of the reading may
  // be open).
  if (!ProgramData) return;
  if (!GetDataChanged()) {
    DropRecoveryCopy();
    return;
  }
  try {
    fRecovery->Write(ProgramData->FileBytes(), ProgramData->FileName, ProgramData->IncompleteLine);
  } catch (const EKorvanError&) {
    // Tried again at the next interval; the project on screen is untouched,
    // and saving it says what is wrong.
  }
}

void TMainForm::DropRecoveryCopy() {
  fRecovery->Remove();
}

bool TMainForm::OfferRecovery() {
  bool restored = false;
  for (const TRecoveryCopy& copy : fRecovery->Orphans()) {
    const QString question =
        QStringLiteral("Restore the unsaved changes to %1 from %2?")
            .arg(QDir::toNativeSeparators(copy.OriginalName),
                 QLocale().toString(copy.Written.toLocalTime(), QLocale::ShortFormat));
    const platform::TAnswer answer = platform::AskYesNoCancel(question, {});
    if (answer == platform::TAnswer::Yes) {
      RestoreProject(copy);
      restored = true;
      break;
    }
    if (answer == platform::TAnswer::Cancel) break;  // asked again at the next start
    fRecovery->Discard(copy);
  }
  fRecovery->ReleaseOrphans();
  return restored;
}

// The copy under the project's own name, marked changed: Save writes it
// there (a project never saved goes through Save As).
void TMainForm::RestoreProject(const TRecoveryCopy& copy) {
  HideAll();
  ProgramData.reset();
  ReadProject(copy.ProjectFile, dfKorvan2021);
  // A copy that did not read whole keeps its stop as the project's own.
  if (copy.IncompleteLine > 0) ProgramData->IncompleteLine = copy.IncompleteLine;
  ProgramData->FileName = copy.OriginalName;
  SetDataChanged(true);
  fRecovery->Adopt(copy);
  const QFileInfo original(copy.OriginalName);
  if (copy.OriginalName != kNewFileName && original.absoluteDir().exists()) {
    QDir::setCurrent(original.absolutePath());
  }
  SetCaption();
  if (copy.OriginalName != kNewFileName) {
    ReadResults();
  } else {
    fShowOutput = false;
  }
  CheckSpeedButtons();
}

}  // namespace korvan
