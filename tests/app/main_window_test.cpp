// The main window's rules: file names in the caption, the recent files, the
// command-line file, the offer to save changes, Save of an older format,
// and enabling by the project's switches.
#include <QApplication>
#include <QCoreApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <functional>
#include <limits>
#include <optional>

#include "app/ReportHeadingDialog.h"
#include "app/TitleForm.h"
#include "main_window_support.h"
#include "report/ReportUserSettings.h"

namespace korvan::testing {
namespace {

TEST(DisplayFileNameTest, ShowsTheNameWithoutFolderAndCurrentExtension) {
  const std::vector<std::pair<QString, QString>> cases = {
      {QStringLiteral("NewKORVAN.kv4d"), QStringLiteral("NewKORVAN")},
      {QStringLiteral("/work/pile 3.kv3d"), QStringLiteral("Pile 3.kv3d")},
      {QStringLiteral("/work/pier.v2.KV4D"), QStringLiteral("Pier")},
      {QStringLiteral("/work/a.kv4d"), QStringLiteral("a")},
      {QStringLiteral("/work/9th.kvd"), QStringLiteral("9th.kvd")},
  };
  for (const auto& [path, shown] : cases) EXPECT_EQ(TMainForm::DisplayFileName(path), shown);
}

TEST_F(MainWindowTest, RecentFilesMoveToTheTopAndPersist) {
  for (int i = 10; i >= 1; --i) Window().UpdatePrevFile(QStringLiteral("/p/%1.kv4d").arg(i));
  ASSERT_EQ(Window().PrevFile().first(), "/p/1.kv4d");
  const QStringList before = Window().PrevFile();
  Window().UpdatePrevFile(QStringLiteral("/p/1.kv4d"));
  EXPECT_EQ(Window().PrevFile(), before) << "already first";
  Window().UpdatePrevFile(QStringLiteral("/p/5.kv4d"));
  EXPECT_EQ(Window().PrevFile().mid(0, 6), QStringList({"/p/5.kv4d", "/p/1.kv4d", "/p/2.kv4d",
                                                        "/p/3.kv4d", "/p/4.kv4d", "/p/6.kv4d"}));
  Window().UpdatePrevFile(QStringLiteral("/p/new.kv4d"));
  EXPECT_EQ(Window().PrevFile().first(), "/p/new.kv4d");
  EXPECT_FALSE(Window().PrevFile().contains(QStringLiteral("/p/10.kv4d"))) << "the tenth drops";
  EXPECT_EQ(Window().NumberPrevFile(), 10);

  QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kSettingsOrganisation,
                     kSettingsApplication);
  settings.beginGroup(kSettingsVersion);
  EXPECT_EQ(settings.value(QStringLiteral("File1")).toString(), "/p/new.kv4d");
  EXPECT_EQ(settings.value(QStringLiteral("File2")).toString(), "/p/5.kv4d");
}

TEST(ReportHeadingTest, TheIdNumberIsAThirtyTwoBitWholeNumber) {
  const std::vector<std::pair<QString, std::optional<std::int32_t>>> cases = {
      {"0", 0},
      {" 4711 ", 4711},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"2147483647", std::numeric_limits<std::int32_t>::max()},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"12.5", std::nullopt},
      {"", std::nullopt},
      {"12 34", std::nullopt},
  };
  for (const auto& [text, number] : cases)
    EXPECT_EQ(ReportIdNumber(text), number) << text.toStdString();
}

// Options "Report Heading..." stores who the report heading names in the
// program's settings; an id number out of range keeps the dialog open and
// Cancel changes nothing.
TEST_F(MainWindowTest, TheReportHeadingIsEditedAndStoredInTheSettings) {
  struct Case {
    QString id;
    bool cancel;
    QString storedOrganisation;
    qlonglong storedId;
  };
  const Case cases[] = {
      {"4711", false, "Pile Testing Ltd", 4711},
      {"99999999999", true, "Pile Testing Ltd", 4711},
      {"-12", false, "Pile Testing Ltd", -12},
  };
  for (const Case& c : cases) {
    TMessageCapture messages;
    QTimer::singleShot(0, [&c] {
      auto* dialog = qobject_cast<TReportHeadingDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      dialog->OrganisationEdit()->setText(QStringLiteral("Pile Testing Ltd"));
      dialog->CityEdit()->setText(QStringLiteral("Leeds"));
      dialog->RegionEdit()->setText(QStringLiteral("West Yorkshire"));
      dialog->IdNumberEdit()->setText(c.id);
      dialog->accept();
      EXPECT_EQ(dialog->isVisible(), c.cancel) << "refused numbers keep the dialog open";
      if (c.cancel) dialog->reject();
    });
    Window().Actions().ReportHeading->trigger();
    EXPECT_EQ(messages.Messages().size(), c.cancel ? 1U : 0U);
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kSettingsOrganisation,
                       kSettingsApplication);
    settings.beginGroup(kSettingsVersion);
    EXPECT_EQ(settings.value(QStringLiteral("Organisation")).toString(), c.storedOrganisation);
    EXPECT_EQ(settings.value(QStringLiteral("Id Number")).toLongLong(), c.storedId);
    EXPECT_EQ(settings.value(QStringLiteral("City")).toString(), "Leeds");
    // korvan report reads who the heading names from the same settings.
    const UserIdentification reported = ReadReportUser();
    EXPECT_EQ(reported.organisation, c.storedOrganisation.toStdString());
    EXPECT_EQ(reported.region, "West Yorkshire");
    EXPECT_EQ(reported.idNumber, c.storedId);
  }
}

// The first start, and a place remembered on a larger screen or at another
// scale factor, open within the screen's available area.
TEST_F(MainWindowTest, TheWindowOpensWithinTheScreen) {
  const QRect available = Window().screen()->availableGeometry();
  EXPECT_TRUE(available.contains(Window().geometry())) << "first start";
  EXPECT_GE(Window().width(), 1.25 * Window().height() - 1);

  for (const QRect& remembered : {QRect(5000, 4000, 3000, 2000), QRect(-900, 10, 1800, 1280)}) {
    QWidget elsewhere;
    elsewhere.setGeometry(remembered);
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kSettingsOrganisation,
                       kSettingsApplication);
    settings.beginGroup(kSettingsVersion);
    settings.setValue(QStringLiteral("Window Geometry"), elsewhere.saveGeometry());
    settings.sync();
    TMainForm window;
    window.FormShow({});
    EXPECT_TRUE(available.contains(window.geometry()))
        << window.geometry().x() << "," << window.geometry().y() << " " << window.geometry().width()
        << "x" << window.geometry().height();
  }
}

TEST_F(MainWindowTest, RecentFilesOfTheCurrentFolderAreShownByName) {
  Window().UpdatePrevFile(QStringLiteral("/elsewhere/b&c.kv4d"));
  Window().UpdatePrevFile(PathOf(QStringLiteral("pile.kv4d")));
  Open(Window().FileMenu());
  const auto& items = Window().Actions().RecentFiles;
  EXPECT_EQ(items[0]->text(), "1 pile.kv4d");
  EXPECT_EQ(items[1]->text(), "2 /elsewhere/b&&c.kv4d");
  EXPECT_TRUE(items[1]->isVisible());
  EXPECT_FALSE(items[2]->isVisible());
  EXPECT_TRUE(Window().Actions().RecentSeparator->isVisible());
}

TEST_F(MainWindowTest, CommandLineFileGetsTheCurrentExtension) {
  CopyExample("user-curves.kv4d", QStringLiteral("pile.kv4d"));
  QFile::copy(PathOf(QStringLiteral("pile.kv4d")), PathOf(QStringLiteral("pile.txt")));
  struct Case {
    QString argument;
    QString caption;
  };
  for (const Case& c : {Case{QStringLiteral("pile"), QStringLiteral("Pile")},
                        Case{QStringLiteral("pile.txt"), QStringLiteral("NewKORVAN")},
                        Case{QStringLiteral("absent"), QStringLiteral("NewKORVAN")}}) {
    Window().FormShow({c.argument});
    EXPECT_EQ(Window().windowTitle(), kCaptionPrefix + c.caption) << c.argument.toStdString();
  }
  EXPECT_TRUE(fMessages.Messages().empty());
}

TEST_F(MainWindowTest, DeclinedOfferToSaveKeepsTheProject) {
  const QString path = CopyExample("user-curves.kv4d", QStringLiteral("pile.kv4d"));
  Window().OpenFileName(path, dfKorvan2021);
  Window().SetDataChanged(true);
  {
    TQuestionAnswers answers({platform::TAnswer::Cancel});
    Window().FileNewClick();
    EXPECT_EQ(answers.Asked(), QStringList{QStringLiteral("Do you want to save any changes?")});
  }
  EXPECT_EQ(ProgramData->FileName, path);

  // An unnamed project whose Save As is cancelled stays open too.
  Window().SetDataChanged(false);
  Window().FileNewClick();
  ASSERT_EQ(ProgramData->FileName, kNewFileName);
  ProgramData->Title = QStringLiteral("Typed but not saved");
  Window().SetDataChanged(true);
  {
    TQuestionAnswers answers({platform::TAnswer::Yes});
    EXPECT_FALSE(Window().QuerySaveChanges());
  }
  EXPECT_EQ(fSavePresets.last(), "NewKORVAN.kv4d");
  EXPECT_EQ(ProgramData->Title, "Typed but not saved");
  {
    TQuestionAnswers answers({platform::TAnswer::No});
    Window().FileNewClick();
  }
  EXPECT_EQ(ProgramData->Title, "New Pile");
}

TEST_F(MainWindowTest, OlderFormatsAreSavedThroughSaveAsInTheCurrentFormat) {
  const QString path = CopyExample("user-curves.kv4d", QStringLiteral("pile.kv4d"));
  Window().OpenFileName(path, dfKorvan2021);
  ProgramData->FileName = PathOf(QStringLiteral("old pile.kv3d"));
  fSaveAnswer = PathOf(QStringLiteral("chosen.dat"));
  Window().FileSaveClick();
  EXPECT_EQ(fSavePresets.last(), PathOf(QStringLiteral("old pile.kv4d")));
  EXPECT_EQ(fSaveTitles.last(), "Save Old pile.kv3d As");
  EXPECT_EQ(ProgramData->FileName, PathOf(QStringLiteral("chosen.kv4d"))) << "extension forced";
  EXPECT_TRUE(QFileInfo::exists(PathOf(QStringLiteral("chosen.kv4d"))));
  EXPECT_EQ(Window().PrevFile().first(), ProgramData->FileName);
}

TEST_F(MainWindowTest, SwitchesEnableTheirCommands) {
  const TMainActions& a = Window().Actions();
  QMenu* data = Window().menuBar()->actions().at(1)->menu();
  ASSERT_EQ(Window().menuBar()->actions().at(1)->text(), "Da&ta");
  a.LoadMethod[2]->trigger();
  Open(data);
  EXPECT_TRUE(a.DataHeadLoads->isEnabled());
  EXPECT_TRUE(ButtonEnabled(a.DataHeadLoads));
  EXPECT_FALSE(a.DataTipMovements->isEnabled());
  EXPECT_FALSE(ButtonEnabled(a.DataTipMovements));
  EXPECT_TRUE(Window().GetDataChanged());

  a.TzEntered->trigger();
  a.QwEntered->trigger();
  a.ApplyQwFactors->trigger();
  Open(data);
  EXPECT_FALSE(a.DataLayers->isEnabled());
  EXPECT_FALSE(ButtonEnabled(a.DataLayers));
  EXPECT_TRUE(ButtonEnabled(a.DataTzCurves));
  EXPECT_TRUE(a.DataQwFactors->isEnabled());
  EXPECT_TRUE(ButtonEnabled(a.DataQwFactors)) << "follows the same switch as the menu item";
  EXPECT_FALSE(ButtonEnabled(a.DataTzFactors));
  a.ApplyQwFactors->trigger();
  EXPECT_EQ(ProgramData->ModQw, 0);

  a.UnitsSI->trigger();
  EXPECT_EQ(ProgramData->fUnits, 2);
  Open(Window().menuBar()->actions().at(2)->menu());
  EXPECT_TRUE(a.UnitsSI->isChecked());
  EXPECT_TRUE(a.TzEntered->isChecked());
  EXPECT_TRUE(a.LoadMethod[2]->isChecked());
  EXPECT_FALSE(a.ApplyQwFactors->isChecked());
}

// An option chosen again as it stands changes nothing and marks nothing; a
// choice that changes the project marks it.
TEST_F(MainWindowTest, OnlyAnOptionThatChangesTheProjectMarksIt) {
  const TMainActions& a = Window().Actions();
  struct Case {
    QAction* option;
    bool marks;
  };
  for (const Case c :
       {Case{a.UnitsEnglish, false}, Case{a.TzGenerated, false}, Case{a.QwGenerated, false},
        Case{a.LoadMethod[0], false}, Case{a.UnitsSI, true}, Case{a.TzEntered, true},
        Case{a.QwEntered, true}, Case{a.LoadMethod[2], true}, Case{a.DownDrag, true},
        Case{a.ApplyTzFactors, true}, Case{a.ApplyQwFactors, true}}) {
    Window().SetDataChanged(false);
    c.option->trigger();
    EXPECT_EQ(Window().GetDataChanged(), c.marks) << c.option->text().toStdString();
  }
}

TEST_F(MainWindowTest, RunOfANeverSavedProjectEndsQuietlyWhenSaveAsIsCancelled) {
  Window().Actions().CompRun->trigger();
  EXPECT_EQ(fSavePresets.size(), 1);
  EXPECT_TRUE(fMessages.Messages().empty());
  EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("names.dat"))));
}

TEST_F(MainWindowTest, ToolbarHasItsButtonsInOrderWithHintsAndIcons) {
  QStringList hints;
  int separators = 0;
  for (QAction* action : Window().ToolBar()->actions()) {
    if (action->isSeparator()) {
      ++separators;
      continue;
    }
    hints << action->toolTip();
    EXPECT_FALSE(action->icon().pixmap(24).isNull()) << action->toolTip().toStdString();
  }
  EXPECT_EQ(separators, 4);
  ASSERT_EQ(hints.size(), 25);
  EXPECT_EQ(hints.mid(0, 4), QStringList({"New File", "Open File", "Save File", "Title"}));
  EXPECT_EQ(hints.mid(12, 4), QStringList({"Enter factors for Q-w curve", "Run Analysis",
                                           "Edit Output Text", "View Soil Profile"}));
  EXPECT_EQ(hints.last(), "View Load vs Settlement (Applied Loads)");
  EXPECT_EQ(GraphButtons(), std::vector<bool>(9, false)) << "graph buttons start disabled";
}

// Every button is its menu item's own action: one command, one enabling.
TEST_F(MainWindowTest, EveryToolbarButtonIsAMenuCommand) {
  std::function<int(const QMenu*, const QAction*)> occurrences = [&](const QMenu* menu,
                                                                     const QAction* action) {
    int found = 0;
    for (QAction* item : menu->actions()) {
      if (item == action) ++found;
      if (item->menu() != nullptr) found += occurrences(item->menu(), action);
    }
    return found;
  };
  for (QAction* button : Window().ToolBar()->actions()) {
    if (button->isSeparator()) continue;
    int found = 0;
    for (QAction* top : Window().menuBar()->actions()) found += occurrences(top->menu(), button);
    EXPECT_EQ(found, 1) << button->toolTip().toStdString();
    EXPECT_NE(button->text(), button->toolTip()) << "the menu item and the button say their own";
  }
  // A button follows its command's rule, also where the command has no
  // enabling of its own elsewhere: the report exists only after a run.
  const TMainActions& a = Window().Actions();
  const QString path = CopyExample("driven-pile-clay-sand.kv4d", QStringLiteral("pile.kv4d"));
  Window().OpenFileName(path, dfKorvan2021);
  EXPECT_FALSE(ButtonEnabled(a.EditOutput)) << "no report yet";
  WriteText(PathOf(QStringLiteral("pile.kv4o")), QStringLiteral("report\n"));
  Open(Window().menuBar()->actions().at(3)->menu());
  EXPECT_TRUE(ButtonEnabled(a.EditOutput));
  EXPECT_TRUE(a.EditOutput->isEnabled());
}

// The Window menu is built as it opens: its two commands, then one item per
// child window, which brings that window forward.
TEST_F(MainWindowTest, TheWindowMenuListsTheChildWindowsWhenItOpens) {
  QMenu* menu = Window().WindowMenu();
  Open(menu);
  EXPECT_EQ(menu->actions().size(), 2) << "no hidden items, no separator without windows";
  Window().Actions().DataTitle->trigger();
  Window().Actions().DataPile->trigger();
  Open(menu);
  QStringList texts;
  for (QAction* item : menu->actions()) texts << (item->isSeparator() ? "-" : item->text());
  EXPECT_EQ(texts,
            QStringList({"&Cascade", "&Arrange Icons", "-", "Project Title", "Pile Properties"}));
  for (QAction* item : menu->actions())
    EXPECT_TRUE(item->isVisible()) << item->text().toStdString();
  menu->actions().at(3)->trigger();
  ASSERT_NE(Window().MdiArea()->activeSubWindow(), nullptr);
  EXPECT_EQ(Window().MdiArea()->activeSubWindow()->windowTitle(), "Project Title");
  Window().MdiArea()->activeSubWindow()->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  Open(menu);
  EXPECT_EQ(menu->actions().size(), 4);
  EXPECT_EQ(menu->actions().last()->text(), "Pile Properties");
}

}  // namespace
}  // namespace korvan::testing

namespace korvan::testing {
namespace {

TEST_F(MainWindowTest, SaveStoresWhatTheActiveWindowHolds) {
  const QString path = CopyExample("user-curves.kv4d", QStringLiteral("pile.kv4d"));
  Window().show();
  Window().OpenFileName(path, dfKorvan2021);
  TTitleForm* title = TTitleForm::Open();
  ASSERT_NE(title, nullptr);
  title->TitleEdit()->setText(QStringLiteral("Edited in the window"));
  Window().Actions().FileSave->trigger();
  Window().OpenFileName(path, dfKorvan2021);
  EXPECT_EQ(ProgramData->Title, "Edited in the window");
}

}  // namespace
}  // namespace korvan::testing

namespace korvan::testing {
namespace {

TEST_F(MainWindowTest, DroppedDataFilesAreOpenedFromTheirFolder) {
  QTemporaryDir other;
  const QString project = other.filePath(QStringLiteral("dropped.kv4d"));
  ASSERT_TRUE(QFile::copy(ExamplePath("user-curves.kv4d"), project));
  auto drop = [this](const QString& file) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    // A drop reaches the window that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Window(), &enter);
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Window(), &event);
  };
  drop(other.filePath(QStringLiteral("notes.txt")));
  EXPECT_EQ(ProgramData->FileName, kNewFileName);
  drop(project);
  EXPECT_EQ(ProgramData->FileName, project);
  EXPECT_EQ(QDir::currentPath(), QFileInfo(other.path()).canonicalFilePath());
  EXPECT_EQ(Window().PrevFile().first(), project);
}

}  // namespace
}  // namespace korvan::testing

namespace korvan::testing {
namespace {

// A project that was opened, edited, and can no longer be written: its data
// file's name is taken by a folder.
class UnsavableProjectTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    fProject = CopyExample("user-curves.kv4d", QStringLiteral("pile.kv4d"));
    fOther = CopyExample("driven-pile-clay-sand.kv4d", QStringLiteral("other.kv4d"));
    Window().OpenFileName(fProject, dfKorvan2021);
    ProgramData->Title = QStringLiteral("Edited, not saved");
    Window().SetDataChanged(true);
    QFile::remove(fProject);
    ASSERT_TRUE(QDir().mkpath(fProject));
  }
  void Drop(const QString& file) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Window(), &enter);
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Window(), &event);
  }

  QString fProject;
  QString fOther;
};

// Every command that offers to save goes on only when the save succeeded:
// a failed save keeps the program, the project, its name and its changed
// mark; answering No then lets the command go on.
TEST_F(UnsavableProjectTest, AFailedSaveKeepsTheProgramAndTheEdit) {
  int opened = 0;
  Window().ChooseOpenFile = [&] {
    ++opened;
    return std::pair<QString, int>(fOther, dfKorvan2021);
  };
  Window().UpdatePrevFile(fOther);
  Window().show();
  struct Case {
    const char* command;
    std::function<void()> run;
    QString after;  // the project's file once No was answered
  };
  const std::vector<Case> cases = {
      {"New", [&] { Window().FileNewClick(); }, kNewFileName},
      {"Open", [&] { Window().FileOpenClick(); }, fOther},
      {"dropped file", [&] { Drop(fOther); }, fOther},
      {"recent file", [&] { Window().Actions().RecentFiles[0]->trigger(); }, fOther},
      {"Exit", [&] { Window().close(); }, fProject},
  };
  for (const Case& c : cases) {
    if (ProgramData->FileName != fProject) {
      ProgramData->FileName = fProject;
      ProgramData->Title = QStringLiteral("Edited, not saved");
      Window().SetDataChanged(true);
    }
    fMessages.Clear();
    opened = 0;
    {
      TQuestionAnswers answers({platform::TAnswer::Yes});
      c.run();
      EXPECT_EQ(answers.Asked(), QStringList{QStringLiteral("Do you want to save any changes?")})
          << c.command;
    }
    ASSERT_EQ(fMessages.Messages().size(), 1u) << c.command;
    EXPECT_EQ(fMessages.Messages()[0].rfind("Cannot save file \"" + fProject.toStdString(), 0), 0u)
        << fMessages.Messages()[0];
    EXPECT_EQ(ProgramData->FileName, fProject) << c.command;
    EXPECT_EQ(ProgramData->Title, "Edited, not saved") << c.command;
    EXPECT_TRUE(Window().GetDataChanged()) << c.command;
    EXPECT_TRUE(Window().isVisible()) << c.command;
    EXPECT_EQ(opened, 0) << c.command << ": no file was chosen";

    TQuestionAnswers answers({platform::TAnswer::No});
    c.run();
    EXPECT_EQ(ProgramData->FileName, c.after) << c.command;
  }
  EXPECT_FALSE(Window().isVisible()) << "Exit closed the window once No was answered";
}

// Save As that is cancelled or fails leaves the name, the caption and the
// recent files as they were.
TEST_F(UnsavableProjectTest, SaveAsCancelledOrFailedChangesNothing) {
  const QString caption = Window().windowTitle();
  const QStringList recent = Window().PrevFile();
  struct Case {
    const char* what;
    QString answer;
    const char* message;  // how the message begins; empty for none
  };
  const std::vector<Case> cases = {
      {"cancelled", QString(), ""},
      {"into a folder that is gone", PathOf(QStringLiteral("gone/pile.kv4d")), "Cannot save file"},
      {"over a folder", fProject, "Cannot save file"},
  };
  for (const Case& c : cases) {
    fMessages.Clear();
    fSaveAnswer = c.answer;
    EXPECT_FALSE(Window().FileSaveAsClick()) << c.what;
    EXPECT_EQ(ProgramData->FileName, fProject) << c.what;
    EXPECT_EQ(Window().windowTitle(), caption) << c.what;
    EXPECT_EQ(Window().PrevFile(), recent) << c.what;
    EXPECT_TRUE(Window().GetDataChanged()) << c.what;
    if (*c.message) {
      ASSERT_EQ(fMessages.Messages().size(), 1u) << c.what;
      EXPECT_EQ(fMessages.Messages()[0].rfind(c.message, 0), 0u) << fMessages.Messages()[0];
    } else {
      EXPECT_TRUE(fMessages.Messages().empty()) << c.what;
    }
  }
}

// A file that cannot be read at all is no project: the one on screen stays,
// unnamed or not, and nothing is added to the recent files.
TEST_F(MainWindowTest, AFileThatCannotBeReadLeavesTheProjectAsItWas) {
  const QString folder = PathOf(QStringLiteral("folder.kv4d"));
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString huge = PathOf(QStringLiteral("huge.kv4d"));
  {
    QFile file(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(17 * 1024 * 1024));
  }
  ProgramData->Title = QStringLiteral("On screen");
  Window().SetDataChanged(true);
  for (const QString& name : {folder, huge, PathOf(QStringLiteral("missing.kv4d"))}) {
    fMessages.Clear();
    EXPECT_FALSE(Window().OpenFileName(name, dfKorvan2021)) << name.toStdString();
    ASSERT_EQ(fMessages.Messages().size(), 1u) << name.toStdString();
    EXPECT_NE(fMessages.Messages()[0].find(name.toStdString()), std::string::npos)
        << fMessages.Messages()[0];
    EXPECT_EQ(ProgramData->FileName, kNewFileName);
    EXPECT_EQ(ProgramData->Title, "On screen");
    EXPECT_TRUE(Window().GetDataChanged());
    EXPECT_EQ(Window().NumberPrevFile(), 0);
  }
}

// A project read only in part opens marked changed with a caption that says
// so; Save and Run Analysis ask before they write it over its file.
TEST_F(MainWindowTest, APartlyReadProjectIsNeverWrittenOverItsFileUnasked) {
  const QString path = CopyExample("driven-pile-clay-sand.kv4d", QStringLiteral("pier.kv4d"));
  QStringList lines = ReadText(path).split(QLatin1Char('\n'));
  lines[6].replace(QStringLiteral(" 4.0 "), QStringLiteral(" 4,0 "));
  WriteText(path, lines.join(QLatin1Char('\n')));
  const QByteArray damaged = ReadText(path).toUtf8();
  const QString question = QStringLiteral(
      "\"pier.kv4d\" was read only up to line 7; saving replaces the file with what was read.\n\n"
      "Replace the file, or save the project under another name?");
  struct Case {
    const char* command;
    platform::TAnswer answer;
    bool replaced;    // the file holds what was read
    QString savedAs;  // the file the project was saved to instead
  };
  const std::vector<Case> cases = {
      {"Save", platform::TAnswer::Cancel, false, {}},
      {"Run Analysis", platform::TAnswer::Cancel, false, {}},
      {"Save", platform::TAnswer::No, false, PathOf(QStringLiteral("pier read.kv4d"))},
      {"Save", platform::TAnswer::Yes, true, {}},
  };
  for (const Case& c : cases) {
    WriteText(path, QString::fromUtf8(damaged));
    fMessages.Clear();
    Window().OpenFileName(path, dfKorvan2021);
    ASSERT_EQ(fMessages.Messages().size(), 1u);
    EXPECT_EQ(fMessages.Messages()[0],
              "File \"" + path.toStdString() +
                  "\":\nError on Line 7 Item 8\nA floating point number was expected but not "
                  "found.");
    EXPECT_EQ(Window().windowTitle(),
              kCaptionPrefix + QStringLiteral("Pier (incomplete: read only up to line 7)"));
    EXPECT_TRUE(Window().GetDataChanged());
    fSaveAnswer = c.savedAs;
    {
      TQuestionAnswers answers({c.answer});
      if (QString::fromLatin1(c.command) == QStringLiteral("Save")) {
        Window().Actions().FileSave->trigger();
      } else {
        Window().Actions().CompRun->trigger();
      }
      EXPECT_EQ(answers.Asked(), QStringList{question}) << c.command;
    }
    if (c.replaced) {
      EXPECT_NE(ReadText(path).toUtf8(), damaged);
      EXPECT_FALSE(Window().GetDataChanged());
      EXPECT_EQ(Window().windowTitle(), kCaptionPrefix + QStringLiteral("Pier"));
    } else {
      EXPECT_EQ(ReadText(path).toUtf8(), damaged) << c.command << " left the file byte for byte";
    }
    if (!c.savedAs.isEmpty()) {
      EXPECT_EQ(ProgramData->FileName, c.savedAs);
      EXPECT_TRUE(QFileInfo::exists(c.savedAs));
      EXPECT_EQ(ProgramData->IncompleteLine, 0) << "a file of its own is complete";
    }
    if (c.answer == platform::TAnswer::Cancel) {
      EXPECT_TRUE(Window().GetDataChanged());
      EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("pier.kv4o")))) << "no run";
    }
    EXPECT_TRUE(fMessages.Messages().size() == 1u) << "no further message";
  }
  // Leaving it asks about saving.
  Window().OpenFileName(path, dfKorvan2021);
  WriteText(path, QString::fromUtf8(damaged));
  Window().OpenFileName(path, dfKorvan2021);
  TQuestionAnswers answers({platform::TAnswer::Cancel});
  Window().FileNewClick();
  EXPECT_EQ(answers.Asked(), QStringList{QStringLiteral("Do you want to save any changes?")});
}

}  // namespace
}  // namespace korvan::testing
