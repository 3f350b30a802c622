// TMainForm: the program's frame. A multiple-document window that owns the
// input tables and the result graphs, holds the project, carries every menu
// and toolbar command, runs the engine and remembers the text editor and the
// ten most recent data files in the user's settings.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <utility>

#include "korvan_version.h"
#include "model/InputTables.h"
#include "model/ResultGraphs.h"
#include "runner/engine_runner.h"

class QAction;
class QMdiArea;
class QMenu;
class QToolBar;
class QSettings;
class QTimer;

namespace korvan {

namespace platform {
enum class TAnswer;
}  // namespace platform

class TDesignStudyDialog;
class TEngineLibrary;
class TSideViewDialog;
class TRecoveryStore;
struct TRecoveryCopy;

inline const QString kCaptionPrefix =
    QStringLiteral("KORVAN %1 - ").arg(QLatin1String(kVersionText));
inline constexpr int kRecentFileCount = 10;
// The Window menu lists at most this many child windows.
inline constexpr int kWindowItemCount = 50;

// One action per command: the menus show them all, and the toolbar shows
// the menu's own action of each command it offers, with the action's
// tooltip and icon. Their enabling and check marks are computed in one
// place (CheckSpeedButtons).
struct TMainActions {
  QAction* FileNew = nullptr;
  QAction* FileOpen = nullptr;
  QAction* FileSave = nullptr;
  QAction* FileSaveAs = nullptr;
  QAction* FileExportReport = nullptr;
  std::array<QAction*, kRecentFileCount> RecentFiles{};
  QAction* RecentSeparator = nullptr;
  QAction* FileExit = nullptr;

  QAction* DataTitle = nullptr;
  QAction* DataPile = nullptr;
  QAction* DataLayers = nullptr;
  QAction* DataTzCurves = nullptr;
  QAction* DataQwCurve = nullptr;
  QAction* DataTipMovements = nullptr;
  QAction* DataHeadLoads = nullptr;
  QAction* DataSettlement = nullptr;
  QAction* DataTzFactors = nullptr;
  QAction* DataQwFactors = nullptr;

  QAction* UnitsEnglish = nullptr;
  QAction* UnitsSI = nullptr;
  QAction* TzGenerated = nullptr;
  QAction* TzEntered = nullptr;
  QAction* QwGenerated = nullptr;
  QAction* QwEntered = nullptr;
  std::array<QAction*, 3> LoadMethod{};
  QAction* DownDrag = nullptr;
  QAction* ApplyTzFactors = nullptr;
  QAction* ApplyQwFactors = nullptr;
  QAction* TextEditorOption = nullptr;
  QAction* ReportHeading = nullptr;

  QAction* CompRun = nullptr;
  QAction* CompStudy = nullptr;
  QAction* EditInput = nullptr;
  QAction* EditRunNotes = nullptr;
  QAction* EditOutput = nullptr;
  QAction* ViewLayers = nullptr;

  // In the Graphics menu's order: load, displacement, displacement/soil
  // settlement, load vs settlement, t-z, Q-w, then the three applied-load
  // graphs.
  std::array<QAction*, 9> Graphs{};
  QAction* ExportPlots = nullptr;

  // The Window menu adds one item per child window when it opens.
  QAction* WindowCascade = nullptr;
  QAction* WindowArrange = nullptr;

  QAction* HelpUsersManual = nullptr;
  QAction* HelpTechnicalManual = nullptr;
};

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  // Reads the settings and opens the file named by the first argument (with
  // ".kv4d" appended when it has no "."), or starts a new project.
  void FormShow(const QStringList& arguments);

  // The "NewKORVAN.kv4d" of a path is shown as "NewKORVAN", "pile 3.kv3d" as
  // "Pile 3.kv3d".
  static QString DisplayFileName(const QString& path);

  TInputTables& Tables() { return fTables; }
  TResultGraphs& Graphs() { return fGraphs; }
  const TMainActions& Actions() const { return fActions; }
  QMdiArea* MdiArea() const { return fMdiArea; }
  QToolBar* ToolBar() const { return fToolBar; }
  QMenu* FileMenu() const { return fFileMenu; }
  QMenu* WindowMenu() const { return fWindowMenu; }

  bool GetDataChanged() const { return fTables.GetDataChanged(); }
  void SetDataChanged(bool value) { fTables.SetDataChanged(value); }
  bool ShowOutput() const { return fShowOutput; }
  bool ResultsAvailable() const;
  const QStringList& PrevFile() const { return fPrevFile; }
  int NumberPrevFile() const;

  // The folder of the program, where the engine and the manuals lie.
  QString ProgramFolder() const { return fProgramFolder; }
  void SetProgramFolder(const QString& folder) { fProgramFolder = folder; }

  // Commands and their steps. The offer to save changes goes on (true) only
  // when the project was saved or the user chose not to save it.
  bool QuerySaveChanges();
  // Stores the active child window's fields into the project; false when
  // the window refuses an entry (it has said why).
  bool CommitActiveChild();
  // Opens the file as the project; false, with the reason shown and the
  // project left as it was, when the file cannot be read at all.
  bool OpenFileName(const QString& name, int index);
  void UpdatePrevFile(const QString& name);
  // Writes the program's settings (formerly UpdateRegister).
  void StoreSettings();
  // Enables and checks every action for the project and its files: the one
  // place of the enabling rules, run after every command that changes what
  // they depend on and whenever a menu opens.
  void CheckSpeedButtons();
  void HideAll();
  bool CheckData();
  void CompRunClick();
  // Computation "Design Study...": opens the study's dialog (MainFormStudy.cpp).
  void DesignStudyClick();
  TDesignStudyDialog* DesignStudy() const;
  bool ReadPlotData(const QString& plotFile, bool ReportErrors);
  void SaveGraphParams();
  void ReadGraphParams();
  void FileNewClick();
  void FileOpenClick();
  // Save and Save As: true when the project was written; otherwise the user
  // cancelled or was told why, and the project, its name and its changed
  // mark are as they were.
  bool FileSaveClick();
  bool FileSaveAsClick();
  // Options "Report Heading...": who the report heading of a run names.
  void ReportHeadingClick();
  // File "Export Report (PDF)...": the calculation report written as a PDF
  // file and shown in a print preview, from which it prints. Offers to run
  // the analysis first when the results do not belong to the project.
  void ExportReportClick();
  // Opens a data file by its extension (".kv4d", ".kv3d", ".kvd"); false
  // for any other extension.
  bool OpenByExtension(const QString& name);

  // The file dialogs, replaceable by tests: the chosen name (empty when
  // cancelled) and, when opening, the chosen filter's index from 1.
  std::function<QString(const QString& title, const QString& preset)> ChooseSaveFile;
  std::function<std::pair<QString, int>()> ChooseOpenFile;
  // The PDF file of Export Report, preset to `preset`; empty when cancelled.
  std::function<QString(const QString& preset)> ChooseReportFile;

  // Recovery copies of the unsaved project (MainRecovery.cpp): written every
  // RecoveryInterval() seconds (0: never) while the project has unsaved
  // changes, offered at start when a program left one behind.
  TRecoveryStore& Recovery() const { return *fRecovery; }
  int RecoveryInterval() const { return fRecoveryInterval; }
  void WriteRecoveryCopy();
  // Asks about each copy left behind; true when one was restored.
  bool OfferRecovery();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void FormCreate();
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void ReadSettings();
  // Within the screen's available area, at least 1.25 times as wide as high.
  void FitToScreen();
  void SetCaption();
  void UpdateFileMenu();
  // Builds the Window menu: its two commands and the child windows.
  void BuildWindowMenu();
  // Closes every child window that is not a table editor (those close with
  // their tables).
  void CloseChildWindows();
  void Cascade();
  void ArrangeIcons();
  void MyFilePopupHandler(int index);
  void SwitchChanged();
  void SetSwitch(int& value);
  // File Save and Save As without their messages: raise ESaveError, false
  // when the user cancelled.
  bool SaveCurrent();
  bool SaveProjectAs();
  void SaveProject();
  // A project read only in part goes over its file only with the user's
  // word: Yes (also when nothing needs asking) replaces it, No goes to Save
  // As, Cancel writes nothing.
  platform::TAnswer AskBeforeReplacingIncomplete();
  // Replaces the project by the one read from `name`; a file read only in
  // part has its reader's message shown.
  void ReadProject(const QString& name, int format);
  void ReadResults();
  void RestoreProject(const TRecoveryCopy& copy);
  void DropRecoveryCopy();
  void StartRecoveryTimer();
  void ShowSideView();
  void ShowExportDialog();
  void OpenHelpFile(const QString& name);
  void OpenResultFile(const QString& extension);
  void ShowRunResult(std::int32_t code);
  QString ProjectFile(const QString& extension) const;
  std::array<bool, 9> GraphEnabled() const;
  UserIdentification RunUser() const;
  std::unique_ptr<QSettings> OpenSettings() const;

  TInputTables fTables;
  TResultGraphs fGraphs;
  TMainActions fActions;
  QMdiArea* fMdiArea = nullptr;
  QToolBar* fToolBar = nullptr;
  QMenu* fFileMenu = nullptr;
  QMenu* fWindowMenu = nullptr;
  QPointer<TSideViewDialog> fSideView;
  QPointer<TDesignStudyDialog> fDesignStudy;
  QStringList fPrevFile;
  QString fProgramFolder;
  UserIdentification fUser;
  bool fShowOutput = false;
  bool filesaved = true;
  std::unique_ptr<TRecoveryStore> fRecovery;
  QTimer* fRecoveryTimer = nullptr;
  int fRecoveryInterval = 60;
  // The engine while a run holds it; empty between runs.
  std::unique_ptr<TEngineLibrary> fEngine;
};

// The settings' key and the values of the program's own settings.
inline const QString kSettingsOrganisation = QStringLiteral("Dravik");
inline const QString kSettingsApplication = QStringLiteral("KORVAN");
inline const QString kSettingsVersion = QLatin1String(kVersionText);

}  // namespace korvan
