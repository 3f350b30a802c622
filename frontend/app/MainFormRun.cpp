// Run Analysis: the project is saved and checked, the run-description file
// written beside it, the engine loaded from the program's folder for one
// call and released again, and its plot data read into the graphs. The
// numeric locale is forced to "." for the whole run and restored on every
// way out.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

#include "app/MainForm.h"
#include "model/DataChecks.h"
#include "model/Exceptions.h"
#include "model/ProgramData.h"
#include "platform/numeric_locale.h"
#include "platform/qt/message_box.h"
#include "runner/engine_library.h"
#include "runner/result_meanings.h"
#include "runner/run_preparation.h"

namespace korvan {

namespace {

// How long Run Analysis waits for another run in the same folder.
constexpr std::chrono::milliseconds kRunLockWait{10'000};

// The hourglass while the engine holds the user-interface thread.
class TWaitCursor {
 public:
  TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;
};

}  // namespace

bool TMainForm::CheckData() {
  const QString message = TipMovementRangeMessage(*ProgramData);
  if (message.isEmpty()) return true;
  platform::ShowWarning(message);
  return false;
}

void TMainForm::CompRunClick() {
  if (!CommitActiveChild()) return;
  filesaved = true;
  // The engine must not analyse a file that differs from the project on
  // screen: a save that fails or is cancelled ends the run here.
  bool saved = false;
  QString reason;
  try {
    saved = SaveCurrent();
  } catch (const ESaveError& error) {
    reason = error.Reason();
  } catch (const EKorvanError& error) {
    reason = error.Message();
  }
  if (!reason.isEmpty()) {
    platform::ShowInformation(QStringLiteral("The project could not be saved: %1. The analysis "
                                             "was not started.")
                                  .arg(reason));
    return;
  }
  if (!saved || !filesaved || ProgramData->FileName == kNewFileName) return;
  if (!CheckData()) return;

  const platform::TDecimalPointGuard decimalPoint;
  const QString dataFile = QFileInfo(ProgramData->FileName).absoluteFilePath();
  QDir::setCurrent(fProgramFolder);
  // The preparation locks the data file's folder for the run (runs in one
  // folder take turns, also with the headless runner), makes it current and
  // writes names.dat; names.dat goes and the lock is dropped with it,
  // however the run ends. The engine never runs on a stale names.dat.
  std::optional<TRunPreparation> preparation;
  {
    const TWaitCursor wait;
    preparation.emplace(QFile::encodeName(dataFile).toStdString(), RunUser(), kRunLockWait);
  }
  if (!preparation->Ready()) {
    platform::ShowInformation(QString::fromStdString(preparation->Message()));
    return;
  }

  if (fEngine) {
    platform::ShowInformation(QStringLiteral("Attempt to reinitialize DLL"));
    return;
  }
  fEngine = std::make_unique<TEngineLibrary>(
      QFile::encodeName(fProgramFolder + QLatin1Char('/') + QLatin1String(kEngineFileName))
          .toStdString());
  if (!fEngine->Load()) {
    // The loader's reason names the library, dependency or symbol at fault;
    // a missing entry point has been named by the platform layer.
    if (fEngine->Failure() == TEngineLibrary::TFailure::kNotLoaded) {
      platform::ShowInformation(QString::fromStdString(
          platform::WithReason("Attempt to initialize DLL failed", fEngine->Reason())));
    }
    fEngine.reset();
    return;
  }

  std::int32_t code = 0;
  {
    const TWaitCursor wait;
    code = fEngine->Call();
  }
  ShowRunResult(code);

  const QString plotFile = ProjectFile(QStringLiteral(".kv4p"));
  // A stopped run has already said why; its partial plot file is read
  // without a second message.
  fShowOutput = QFileInfo::exists(plotFile) && ReadPlotData(plotFile, code == 0);
  CheckSpeedButtons();
  HideAll();
  fEngine.reset();
}

void TMainForm::ShowRunResult(std::int32_t code) {
  if (code == 0) {
    platform::ShowInformation(
        QStringLiteral("Computations are completed. Please, check output file for results or "
                       "error messages."));
  } else {
    platform::ShowInformation(QStringLiteral("The analysis stopped (result code %1): %2\n"
                                             "Please, check output file for the details.")
                                  .arg(code)
                                  .arg(QString::fromStdString(EngineResultMeaning(code))));
  }
}

}  // namespace korvan
