// Commands of the main window that open other windows and programs: the
// side view, the export dialog, the text editor and the manuals.
#include <QFileInfo>

#include "app/MainForm.h"
#include "app/ManualForm.h"
#include "app/ProgramSettings.h"
#include "app/ReportHeadingDialog.h"
#include "graphs/windows/ExportDialog.h"
#include "graphs/windows/SideViewDialog.h"
#include "model/ProgramData.h"
#include "platform/qt/text_editor.h"

namespace korvan {

namespace {

TPileProfile ProjectProfile() {
  TPileProfile profile;
  if (!ProgramData) return profile;
  const TProgramData& p = *ProgramData;
  profile.PLength = static_cast<double>(p.PLength);
  profile.HeadCoord = static_cast<double>(p.HeadCoord);
  profile.OD = static_cast<double>(p.OD);
  profile.Units = p.fUnits;
  const TGridTable& layers = p.Tables().SoilLayers();
  for (int i = 0; i < layers.RowCount(); ++i) {
    profile.Layers.push_back(
        {layers.GetIntValue(0, i), static_cast<double>(layers.GetFloatValue(1, i))});
  }
  return profile;
}

}  // namespace

void TMainForm::ShowSideView() {
  // The view draws the soil layers: a project of user curves alone has none.
  if (ProgramData->UserTz && ProgramData->UserQw) return;
  if (!fSideView) fSideView = new TSideViewDialog(ProjectProfile);
  fSideView->ShowChild();
}

void TMainForm::ShowExportDialog() {
  CommitActiveChild();
  TExportDialog dialog(
      [this] {
        const std::array<bool, 9> enabled = GraphEnabled();
        const std::array<TGraphPlot*, 6> plots = {&fGraphs.pltLoad(),     &fGraphs.pltDisp(),
                                                  &fGraphs.pltDispDown(), &fGraphs.pltAxial(),
                                                  &fGraphs.pltTZcurves(), &fGraphs.PltQW()};
        TExportEntries entries;
        for (size_t i = 0; i < entries.size(); ++i) entries[i] = {plots[i], enabled[i]};
        return entries;
      },
      [] { return ProgramData ? ProgramData->FileName : QString(); }, this);
  dialog.exec();
}

void TMainForm::OpenResultFile(const QString& extension) {
  platform::SetTextEditorCommand(ProgramSettings.WordProcessor);
  platform::OpenInTextEditor(extension.isEmpty()
                                 ? QFileInfo(ProgramData->FileName).absoluteFilePath()
                                 : ProjectFile(extension));
}

void TMainForm::ReportHeadingClick() {
  TReportHeadingDialog dialog(fUser, this);
  if (dialog.exec() != QDialog::Accepted) return;
  fUser = dialog.User();
  StoreSettings();
}

void TMainForm::OpenHelpFile(const QString& name) {
  ShowManual(fProgramFolder + QLatin1Char('/') + name);
}

}  // namespace korvan
