// Start-up and shut-down of the main window, its settings, the offer to save
// changes, the child windows and dropped files.
#include "app/MainForm.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QSettings>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#include "app/FileDialogs.h"
#include "app/ProgramSettings.h"
#include "app/ReportDialogs.h"
#include "components/TableEditors.h"
#include "graphs/windows/ExportDialog.h"
#include "graphs/windows/SideViewDialog.h"
#include "model/ProgramData.h"
#include "model/RecoveryStore.h"
#include "platform/qt/child_window.h"
#include "platform/qt/message_box.h"
#include "platform/qt/text_editor.h"
#include "platform/qt/window_place.h"
#include "runner/engine_library.h"

namespace korvan {

namespace {

const QString kWordProcessorValue = QStringLiteral("Word Processor");
const QString kGeometryValue = QStringLiteral("Window Geometry");
// Who the report heading names (Options "Report Heading...").
const QString kOrganisationValue = QStringLiteral("Organisation");
const QString kCityValue = QStringLiteral("City");
const QString kRegionValue = QStringLiteral("Region");
const QString kIdNumberValue = QStringLiteral("Id Number");
// Seconds between recovery copies of an unsaved project; 0 writes none.
const QString kRecoveryIntervalValue = QStringLiteral("Recovery Interval");
constexpr int kDefaultRecoveryInterval = 60;
constexpr int kLongestRecoveryInterval = 24 * 60 * 60;

QString FileValue(int i) {
  return QStringLiteral("File%1").arg(i + 1);
}

// The window is at least this many times as wide as it is high.
constexpr double kMinimumWidthRatio = 1.25;

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  fProgramFolder = QCoreApplication::applicationDirPath();
  ProgramData = std::make_unique<TProgramData>(fTables);
  connect(&fTables, &TInputTables::hidingAll, this, &TMainForm::CloseChildWindows);
  ChooseSaveFile = [this](const QString& title, const QString& preset) {
    return SaveFileDialog(this, title, preset);
  };
  ChooseOpenFile = [this] { return OpenFileDialog(this); };
  ChooseReportFile = [this](const QString& preset) { return ReportFileDialog(this, preset); };
  fRecovery = std::make_unique<TRecoveryStore>();
  fRecoveryTimer = new QTimer(this);
  connect(fRecoveryTimer, &QTimer::timeout, this, &TMainForm::WriteRecoveryCopy);
  FormCreate();
}

TMainForm::~TMainForm() {
  // The child windows show tables and graphs of this window.
  disconnect(&fTables, nullptr, this, nullptr);
  if (fMdiArea != nullptr) {
    for (QMdiSubWindow* window : fMdiArea->subWindowList()) delete window;
  }
  platform::SetChildWindowArea(nullptr);
  ProgramData.reset();
}

void TMainForm::FormCreate() {
  setAcceptDrops(true);
  fMdiArea = new QMdiArea(this);
  setCentralWidget(fMdiArea);
  platform::SetChildWindowArea(fMdiArea);
  InstallTableEditors();
  CreateActions();
  CreateMenus();
  CreateToolBar();
  CheckSpeedButtons();  // the graph commands start disabled
  fPrevFile = QStringList(kRecentFileCount, QString());
  resize(900, 640);
  FitToScreen();
  SetCaption();
}

std::unique_ptr<QSettings> TMainForm::OpenSettings() const {
  auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                              kSettingsOrganisation, kSettingsApplication);
  settings->beginGroup(kSettingsVersion);
  return settings;
}

void TMainForm::ReadSettings() {
  const auto settings = OpenSettings();
  if (settings->status() != QSettings::NoError) {
    ProgramSettings.WordProcessor.clear();
    fPrevFile = QStringList(kRecentFileCount, QString());
    return;
  }
  const QString editor = settings->value(kWordProcessorValue).toString();
  if (!editor.isEmpty()) ProgramSettings.WordProcessor = editor;
  for (int i = 0; i < kRecentFileCount; ++i)
    fPrevFile[i] = settings->value(FileValue(i)).toString();
  const UserIdentification defaults;
  fUser.organisation =
      settings->value(kOrganisationValue, QString::fromStdString(defaults.organisation))
          .toString()
          .toStdString();
  fUser.city =
      settings->value(kCityValue, QString::fromStdString(defaults.city)).toString().toStdString();
  fUser.region = settings->value(kRegionValue, QString::fromStdString(defaults.region))
                     .toString()
                     .toStdString();
  fUser.idNumber =
      settings->value(kIdNumberValue, static_cast<qlonglong>(defaults.idNumber)).toLongLong();
  bool isNumber = false;
  const int interval = settings->value(kRecoveryIntervalValue).toInt(&isNumber);
  fRecoveryInterval = isNumber && interval >= 0 ? std::min(interval, kLongestRecoveryInterval)
                                                : kDefaultRecoveryInterval;
  restoreGeometry(settings->value(kGeometryValue).toByteArray());
  // A place remembered on another screen, or at another scale, may not fit.
  FitToScreen();
}

void TMainForm::FitToScreen() {
  platform::KeepOnScreen(*this);
  if (width() < kMinimumWidthRatio * height())
    resize(width(), static_cast<int>(width() / kMinimumWidthRatio));
}

void TMainForm::StoreSettings() {
  const auto settings = OpenSettings();
  settings->setValue(kWordProcessorValue, ProgramSettings.WordProcessor);
  for (int i = 0; i < kRecentFileCount; ++i) settings->setValue(FileValue(i), fPrevFile[i]);
  // The identification is written back so that the user finds the values
  // to change in the settings file.
  settings->setValue(kOrganisationValue, QString::fromStdString(fUser.organisation));
  settings->setValue(kCityValue, QString::fromStdString(fUser.city));
  settings->setValue(kRegionValue, QString::fromStdString(fUser.region));
  settings->setValue(kIdNumberValue, static_cast<qlonglong>(fUser.idNumber));
  settings->setValue(kRecoveryIntervalValue, fRecoveryInterval);
}

UserIdentification TMainForm::RunUser() const {
  return fUser;
}

void TMainForm::FormShow(const QStringList& arguments) {
  ReadSettings();
  platform::SetTextEditorCommand(ProgramSettings.WordProcessor);
  // Work left unsaved by a program that did not close comes first.
  bool opened = OfferRecovery();
  if (!opened && !arguments.isEmpty()) {
    QString name = arguments.first();
    if (!QFileInfo(name).fileName().contains(QLatin1Char('.'))) name += QStringLiteral(".kv4d");
    if (QFileInfo(name).isFile()) opened = OpenByExtension(QFileInfo(name).absoluteFilePath());
  }
  if (!opened) {
    HideAll();
    ProgramData = std::make_unique<TProgramData>(fTables);
    fShowOutput = false;
  }
  CheckSpeedButtons();
  SetCaption();
  StartRecoveryTimer();
}

QString TMainForm::DisplayFileName(const QString& path) {
  QString name = QFileInfo(path).fileName();
  if (QFileInfo(name).suffix().compare(QStringLiteral("kv4d"), Qt::CaseInsensitive) == 0) {
    name.truncate(name.indexOf(QLatin1Char('.')));
  }
  if (name.size() > 1 && name[0] >= QLatin1Char('a') && name[0] <= QLatin1Char('z')) {
    name[0] = name[0].toUpper();
  }
  return name;
}

void TMainForm::SetCaption() {
  QString caption = kCaptionPrefix + DisplayFileName(ProgramData->FileName);
  if (ProgramData->IncompleteLine > 0) {
    caption +=
        QStringLiteral(" (incomplete: read only up to line %1)").arg(ProgramData->IncompleteLine);
  }
  setWindowTitle(caption);
}

bool TMainForm::QuerySaveChanges() {
  if (!CommitActiveChild()) return false;
  SaveGraphParams();
  if (!GetDataChanged()) return true;
  switch (platform::AskYesNoCancel(QStringLiteral("Do you want to save any changes?"))) {
    case platform::TAnswer::Cancel:
      return false;
    case platform::TAnswer::No:
      DropRecoveryCopy();  // the user let the changes go
      return true;
    case platform::TAnswer::Yes:
      break;
  }
  // A save that failed or was cancelled keeps the program and the project.
  return FileSaveClick();
}

bool TMainForm::CommitActiveChild() {
  // The current subwindow stays known while another program has the focus.
  QMdiSubWindow* active = fMdiArea->currentSubWindow();
  if (active == nullptr) return true;
  auto* child = qobject_cast<platform::TChildWindow*>(active->widget());
  return child == nullptr || child->CommitEdits();
}

void TMainForm::HideAll() {
  fTables.HideAll();
}

void TMainForm::CloseChildWindows() {
  if (fMdiArea != nullptr) fMdiArea->closeAllSubWindows();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (!QuerySaveChanges()) {
    event->ignore();
    return;
  }
  StoreSettings();
  OpenSettings()->setValue(kGeometryValue, saveGeometry());
  HideAll();
  fRecoveryTimer->stop();
  DropRecoveryCopy();
  event->accept();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
  event->acceptProposedAction();
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return;
  const QString name = urls.first().toLocalFile();
  if (DataFileFormat(name) == dfUnknown) return;
  if (!QuerySaveChanges()) return;
  QDir::setCurrent(QFileInfo(name).absolutePath());
  OpenByExtension(name);
}

}  // namespace korvan
