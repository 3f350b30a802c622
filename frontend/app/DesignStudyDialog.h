// Computation → "Design Study...": the parameter to vary (total pile length
// or outer diameter), from / to / step, the design load and the settlement
// limit in the program's numeric entry fields, and Run. The variants run in
// the background with a progress bar and Cancel; the table then shows a row
// per variant, and the load-settlement curves and the design chart open in
// graph windows with every graph command, and go to a workbook like the
// other graphs. The project is never changed: the study works on a copy of
// its text taken when Run is chosen.
#pragma once

#include <QDialog>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace korvan {

class TDataEdit;
class TStudyGraphs;
class TStudyRunner;

// What a study needs from the program: the project and where to run it.
struct TStudyProject {
  QByteArray bytes;  // as the program saves it; empty for the defaults only
  QString fileName;  // the project's data file, for the workbook's name
  int units = 1;
  double length = 0;
  double diameter = 0;
  std::filesystem::path runner;          // korvan beside the program
  std::vector<std::string> environment;  // the report heading's user
};

class TDesignStudyDialog : public QDialog {
  Q_OBJECT

 public:
  // `project(true)` gives the project for a run, after storing the active
  // window's fields and checking the data (nothing when the user must mend
  // it first: it has said why); `project(false)` only its units and sizes.
  using TProjectSource = std::function<std::optional<TStudyProject>(bool forRun)>;

  explicit TDesignStudyDialog(TProjectSource project, QWidget* parent = nullptr);
  ~TDesignStudyDialog() override;

  TStudyRunner& Runner() const { return *fRunner; }
  // The last study's graphs, or none.
  TStudyGraphs* Graphs() const { return fGraphs.get(); }

  // Asks where the workbook goes (given the default path), and opens a
  // written workbook; both replaceable by tests.
  std::function<QString(const QString& defaultName)> AskFileName;
  std::function<void(const QString& fileName)> OpenWorkbook;

  // Takes the project's units and sizes again when another project is open
  // or its units changed since (on showing and activating the window).
  void Refresh();
  void RunClick();
  void CancelClick();
  void ExportClick();

  QComboBox* Parameter;
  TDataEdit* From;
  TDataEdit* To;
  TDataEdit* Step;
  QCheckBox* UseDesignLoad;
  TDataEdit* DesignLoad;
  QCheckBox* UseSettlementLimit;
  TDataEdit* SettlementLimit;
  QCheckBox* ScaleAE;
  QPushButton* RunButton;
  QPushButton* CancelButton;
  QProgressBar* Progress;
  QLabel* Status;
  QTableWidget* Table;
  QPushButton* CurvesButton;
  QPushButton* SettlementChartButton;
  QPushButton* LoadChartButton;
  QPushButton* ExportButton;
  QPushButton* CloseButton;

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void TakeUnits(int units);
  void SetDefaults();
  void ParameterChanged();
  // The fields' numbers, or nothing after the field's own message.
  std::optional<long double> FieldNumber(TDataEdit& field);
  void ShowProgress(int finished, int total);
  void StudyFinished(bool completed, const QString& failure);
  void FillTable();
  void UpdateButtons();

  TProjectSource fProject;
  std::unique_ptr<TStudyRunner> fRunner;
  std::unique_ptr<TStudyGraphs> fGraphs;
  QString fProjectFile;
  int fUnits = 0;
};

}  // namespace korvan
