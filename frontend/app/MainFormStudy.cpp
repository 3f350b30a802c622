// Computation → "Design Study...": the study's dialog, fed with a copy of
// the project on screen (the fields of the active window stored first, the
// data checked as for a run) and with korvan beside the program, which runs
// the variants under the user the report heading names.
#include <QFile>

#include "app/DesignStudyDialog.h"
#include "app/MainForm.h"
#include "model/Exceptions.h"
#include "model/ProgramData.h"
#include "platform/qt/message_box.h"

namespace korvan {

namespace {

// The report heading's user as `korvan run` takes it.
std::vector<std::string> UserEnvironment(const UserIdentification& user) {
  return {"KORVAN_ORGANISATION=" + user.organisation, "KORVAN_CITY=" + user.city,
          "KORVAN_REGION=" + user.region, "KORVAN_ID=" + std::to_string(user.idNumber)};
}

}  // namespace

TDesignStudyDialog* TMainForm::DesignStudy() const {
  return fDesignStudy;
}

void TMainForm::DesignStudyClick() {
  if (!fDesignStudy) {
    fDesignStudy = new TDesignStudyDialog(
        [this](bool forRun) -> std::optional<TStudyProject> {
          if (!ProgramData) return std::nullopt;
          if (forRun && (!CommitActiveChild() || !CheckData())) return std::nullopt;
          TStudyProject project;
          project.fileName = ProgramData->FileName;
          project.units = ProgramData->fUnits;
          project.length = static_cast<double>(ProgramData->PLength);
          project.diameter = static_cast<double>(ProgramData->OD);
          if (!forRun) return project;
          try {
            project.bytes = ProgramData->FileBytes();
          } catch (const ESaveError& error) {
            platform::ShowInformation(
                QStringLiteral("The design study was not started: %1.").arg(error.Reason()));
            return std::nullopt;
          }
          project.runner =
              QFile::encodeName(fProgramFolder + QStringLiteral("/korvan")).toStdString();
          project.environment = UserEnvironment(RunUser());
          return project;
        },
        this);
    fDesignStudy->setAttribute(Qt::WA_DeleteOnClose);
  }
  fDesignStudy->Refresh();
  fDesignStudy->show();
  fDesignStudy->raise();
  fDesignStudy->activateWindow();
}

}  // namespace korvan
