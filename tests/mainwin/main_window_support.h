// A main window over a temporary folder that is the current directory,
// with settings kept there, captured messages and scripted file dialogs.
#pragma once

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QToolBar>

#include "app/MainForm.h"
#include "mainwin_support.h"

namespace korvan::testing {

inline QString ExamplePath(const char* name) {
  return QStringLiteral(KORVAN_EXAMPLES_DIR "/") + QLatin1String(name);
}

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
