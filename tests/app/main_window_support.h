// A main window over a temporary folder that is the current directory,
// with settings kept there, captured messages and scripted file dialogs.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolBar>

#include "app/MainForm.h"
#include "support/message_capture.h"
#include "support/project_fixtures.h"
#include "support/question_answers.h"

namespace korvan::testing {

// Settings of the program, and the recovery copies of its projects (the
// user's state folder), kept in a temporary folder for the test's life.
class TTestSettings {
 public:
  TTestSettings() : fSavedState(qgetenv("XDG_STATE_HOME")) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, fFolder.path());
    qputenv("XDG_STATE_HOME", QFile::encodeName(StateFolder()));
  }
  ~TTestSettings() { qputenv("XDG_STATE_HOME", fSavedState); }
  TTestSettings(const TTestSettings&) = delete;
  TTestSettings& operator=(const TTestSettings&) = delete;

  QString StateFolder() const { return fFolder.filePath(QStringLiteral("state")); }
  QString RecoveryFolder() const { return StateFolder() + QStringLiteral("/KORVAN/recovery"); }
  // Writes one of the program's settings before the window reads them.
  void Set(const QString& name, const QVariant& value) const {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kSettingsOrganisation,
                       kSettingsApplication);
    settings.beginGroup(kSettingsVersion);
    settings.setValue(name, value);
  }

 private:
  QTemporaryDir fFolder;
  QByteArray fSavedState;
};

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fSavedDirectory = QDir::currentPath();
    QDir::setCurrent(fFolder.path());
    fWindow = std::make_unique<TMainForm>();
    fWindow->SetProgramFolder(QStringLiteral(KORVAN_BIN_DIR));
    fWindow->ChooseSaveFile = [this](const QString& title, const QString& preset) {
      fSaveTitles.append(title);
      fSavePresets.append(preset);
      return fSaveAnswer;
    };
    fWindow->ChooseOpenFile = [] { return std::pair<QString, int>(); };
  }
  void TearDown() override {
    fWindow.reset();
    QDir::setCurrent(fSavedDirectory);
  }

  TMainForm& Window() { return *fWindow; }
  QString PathOf(const QString& name) const { return fFolder.filePath(name); }
  QString CopyExample(const char* name, const QString& as) {
    const QString target = PathOf(as);
    QFile::remove(target);
    EXPECT_TRUE(QFile::copy(ExamplePath(name), target));
    return target;
  }
  // Runs what opening `menu` runs.
  static void Open(QMenu* menu) { emit menu->aboutToShow(); }
  // Whether the toolbar's button of `action` can be pressed.
  bool ButtonEnabled(QAction* action) const {
    QWidget* button = fWindow->ToolBar()->widgetForAction(action);
    EXPECT_NE(button, nullptr) << action->text().toStdString();
    return button != nullptr && button->isEnabled();
  }
  std::vector<bool> GraphButtons() const {
    std::vector<bool> enabled;
    for (QAction* graph : fWindow->Actions().Graphs) enabled.push_back(ButtonEnabled(graph));
    return enabled;
  }

  TTestSettings fSettings;
  TMessageCapture fMessages;
  QString fSaveAnswer;  // what the Save As dialog answers; empty cancels
  QStringList fSaveTitles;
  QStringList fSavePresets;

 private:
  QTemporaryDir fFolder;
  QString fSavedDirectory;
  std::unique_ptr<TMainForm> fWindow;
};

}  // namespace korvan::testing
