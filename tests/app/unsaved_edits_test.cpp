// Every way the program once lost an edit, tried again through the real
// windows under the test's own X server, one row a way: an edited pile
// property and Exit, a save onto a full disk, a damaged project, a cancelled
// Save As and a recent file that is gone, a paste beyond a table's rows, a
// number no project keeps, a run that cannot save, reader errors of the
// graph settings and of a count, and a program killed after an edit whose
// work comes back at the next start.
#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QSettings>
#include <QTest>

#include "app/PilePropertiesForm.h"
#include "app/TitleForm.h"
#include "components/DataEdit.h"
#include "support/file_size_limit.h"
#include "user_path_support.h"

namespace korvan::testing {
namespace {

const QString kSaveQuestion = QStringLiteral("Do you want to save any changes?");

class UnsavedEditsTest : public UserPathTest {
 protected:
  // A copy of an example opened as the project, nothing changed yet.
  QString OpenCopy(const char* example, const QString& as) {
    const QString path = CopyExample(example, as);
    Window().MdiArea()->closeAllSubWindows();
    Window().SetDataChanged(false);
    Window().OpenFileName(path, dfKorvan2021);
    Settle();
    return path;
  }
  QByteArray Bytes(const QString& path) const { return ReadText(path).toUtf8(); }
  // Leaves the row's project without saving it.
  void LetGo() {
    Window().MdiArea()->closeAllSubWindows();
    Settle();
    Window().SetDataChanged(false);
  }
};

TEST_F(UnsavedEditsTest, NoWayLosesAnEdit) {
  const std::vector<std::pair<const char*, std::function<void()>>> ways = {
      {"an edited pile property asks at Exit",
       [&] {
         OpenCopy("driven-pile-clay-sand.kv4d", QStringLiteral("exit.kv4d"));
         Choose({QStringLiteral("Da&ta"), QStringLiteral("&Pile Properties")});
         TypeInto(TPilePropertiesForm::Instance()->LengthEdit(), QStringLiteral("777"));
         QString asked;
         AnswerQuestion(QStringLiteral("Cancel"), &asked);
         Choose({QStringLiteral("&File"), QStringLiteral("E&xit")});
         EXPECT_EQ(asked, kSaveQuestion);
         EXPECT_TRUE(Window().isVisible());
         EXPECT_EQ(ProgramData->PLength, 777);
         Screenshot(QStringLiteral("30-exit-asks"));
         LetGo();
       }},
      {"a save onto a full disk keeps the program and the edit",
       [&] {
         const QString path = OpenCopy("driven-pile-clay-sand.kv4d", QStringLiteral("full.kv4d"));
         const QByteArray before = Bytes(path);
         Choose({QStringLiteral("Da&ta"), QStringLiteral("&Title")});
         TypeInto(TTitleForm::Instance()->TitleEdit(), QStringLiteral("Typed as the disk filled"));
         QString asked;
         AnswerQuestion(QStringLiteral("Yes"), &asked);
         {
           const TFileSizeLimit fullDisk(16);
           Choose({QStringLiteral("&File"), QStringLiteral("E&xit")});
         }
         EXPECT_EQ(asked, kSaveQuestion);
         ASSERT_EQ(fMessages.Messages().size(), 1u);
         EXPECT_TRUE(fMessages.Messages()[0].starts_with(
             "Cannot save file \"" + path.toStdString() + "\". File too large."))
             << fMessages.Messages()[0];
         EXPECT_TRUE(Window().isVisible());
         EXPECT_EQ(ProgramData->Title, "Typed as the disk filled");
         EXPECT_TRUE(Window().GetDataChanged());
         EXPECT_EQ(Bytes(path), before);
         LetGo();
       }},
      {"a damaged project is not written over its file unasked",
       [&] {
         const QString path =
             CopyExample("driven-pile-clay-sand.kv4d", QStringLiteral("pier.kv4d"));
         QStringList lines = ReadText(path).split(QLatin1Char('\n'));
         lines[6].replace(QStringLiteral(" 4.0 "), QStringLiteral(" 4,0 "));
         WriteText(path, lines.join(QLatin1Char('\n')));
         const QByteArray damaged = Bytes(path);
         AnswerFileDialog(path);
         Choose({QStringLiteral("&File"), QStringLiteral("&Open...")});
         ASSERT_EQ(fMessages.Messages().size(), 1u);
         EXPECT_EQ(fMessages.Messages()[0],
                   "File \"" + path.toStdString() +
                       "\":\nError on Line 7 Item 8\nA floating point number was expected but "
                       "not found.");
         EXPECT_TRUE(Window().windowTitle().endsWith(
             QStringLiteral(" - Pier (incomplete: read only up to line 7)")));
         Screenshot(QStringLiteral("31-incomplete"));
         QString asked;
         AnswerQuestion(QStringLiteral("Cancel"), &asked, QStringLiteral("31-incomplete-question"));
         Window().activateWindow();
         ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
         QTest::keyClick(&Window(), Qt::Key_S, Qt::ControlModifier);
         Settle();
         EXPECT_TRUE(asked.startsWith(QStringLiteral(
             "\"pier.kv4d\" was read only up to line 7; saving replaces the file with what was "
             "read.")))
             << asked.toStdString();
         asked.clear();
         AnswerQuestion(QStringLiteral("Cancel"), &asked);
         Choose({QStringLiteral("&Computation"), QStringLiteral("&Run Analysis")});
         EXPECT_FALSE(asked.isEmpty()) << "Run Analysis asks too";
         EXPECT_EQ(Bytes(path), damaged) << "the file stays byte for byte";
         EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("pier.kv4o"))));
         EXPECT_EQ(fMessages.Messages().size(), 1u);
         LetGo();
       }},
      {"a cancelled Save As and a recent file that is gone",
       [&] {
         Choose({QStringLiteral("&File"), QStringLiteral("&New")});
         WhenModal("QFileDialog", [](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
         Choose({QStringLiteral("&File"), QStringLiteral("Save &As...")});
         EXPECT_FALSE(Window().PrevFile().contains(kNewFileName));
         const QString gone = PathOf(QStringLiteral("gone.kv4d"));
         Window().UpdatePrevFile(gone);
         Choose({QStringLiteral("&File"), QStringLiteral("1 gone.kv4d")});
         EXPECT_EQ(fMessages.Messages(),
                   std::vector<std::string>{"The file \"" + gone.toStdString() +
                                            "\" no longer exists; it was removed from the "
                                            "recent files."});
         EXPECT_FALSE(Window().PrevFile().contains(gone));
         QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kSettingsOrganisation,
                            kSettingsApplication);
         settings.beginGroup(kSettingsVersion);
         EXPECT_NE(settings.value(QStringLiteral("File1")).toString(), gone)
             << "nor in the settings";
       }},
      {"a paste beyond the table's rows and a number no project keeps",
       [&] {
         OpenCopy("driven-pile-clay-sand.kv4d", QStringLiteral("tip.kv4d"));
         Choose({QStringLiteral("&Options"), QStringLiteral("&Q-w Curve"),
                 QStringLiteral("Entered by the user")});
         Choose({QStringLiteral("Da&ta"), QStringLiteral("Enter Q-&w Curve")});
         TTableForm* curve = WindowCaptioned(QStringLiteral("Tip Load vs. Tip Movement"));
         ASSERT_NE(curve, nullptr);
         QString text;
         for (int k = 1; k <= 1000; ++k)
           text += QStringLiteral("%1,%2\n").arg(100 * k).arg(0.01 * k);
         QGuiApplication::clipboard()->setText(text);
         ClickButton(curve, QStringLiteral("Paste values from  Clipboard (text)"));
         EXPECT_EQ(
             fMessages.Messages(),
             std::vector<std::string>{"50 of 1000 rows were copied; the table holds at most 50"});
         EXPECT_EQ(Window().Tables().QwCurve().RowCount(), 50);
         fMessages.Clear();
         EnterCell(*curve, 0, 0, QStringLiteral("1e308*10"));
         EXPECT_EQ(fMessages.Messages(),
                   std::vector<std::string>{"Entry must be less than or equal to 1.1897315E100"});
         EXPECT_EQ(curve->Grid()->currentRow(), 0) << "the cursor stays in the cell";
         EXPECT_EQ(Window().Tables().QwCurve().GetFloatValue(0, 0), 100);
         Screenshot(curve->parentWidget(), QStringLiteral("32-refused-cell"));
         QTest::keyClick(curve->Grid()->indexWidget(curve->Grid()->currentIndex()), Qt::Key_Escape);
         LetGo();
       }},
      {"a run that cannot save says so and does not start",
       [&] {
         OpenCopy("driven-pile-clay-sand.kv4d", QStringLiteral("run.kv4d"));
         Choose({QStringLiteral("Da&ta"), QStringLiteral("&Title")});
         TypeInto(TTitleForm::Instance()->TitleEdit(), QStringLiteral("Run on a full disk"));
         {
           const TFileSizeLimit fullDisk(16);
           Choose({QStringLiteral("&Computation"), QStringLiteral("&Run Analysis")});
         }
         ASSERT_EQ(fMessages.Messages().size(), 1u);
         const std::string& message = fMessages.Messages()[0];
         EXPECT_TRUE(message.starts_with("The project could not be saved: \"" +
                                         PathOf(QStringLiteral("run.kv4d")).toStdString() +
                                         "\" cannot be written (File too large"))
             << message;
         EXPECT_TRUE(message.ends_with("). The analysis was not started.")) << message;
         EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("run.kv4o"))));
         LetGo();
       }},
      {"reader errors name their file and quote a count as read",
       [&] {
         const QString path =
             CopyExample("driven-pile-clay-sand.kv4d", QStringLiteral("graphs.kv4d"));
         QProcess runner;
         runner.start(QStringLiteral(KORVAN_BIN_DIR "/korvan"), {QStringLiteral("run"), path});
         ASSERT_TRUE(runner.waitForFinished(60000));
         ASSERT_EQ(runner.exitCode(), 0);
         const QString settings = PathOf(QStringLiteral("graphs.kv4g"));
         WriteText(settings,
                   QStringLiteral(":Plot Caption\nLoad Distribution\nx 9   :LineCount, Count\n"));
         Window().SetDataChanged(false);
         AnswerFileDialog(path);
         Choose({QStringLiteral("&File"), QStringLiteral("&Open...")});
         EXPECT_EQ(fMessages.Messages(),
                   std::vector<std::string>{"File \"" + settings.toStdString() +
                                            "\":\nError on Line 3 Item 1\nAn integer was "
                                            "expected but not found."});
         fMessages.Clear();
         const QString layers =
             CopyExample("driven-pile-clay-sand.kv4d", QStringLiteral("layers.kv4d"));
         QStringList lines = ReadText(layers).split(QLatin1Char('\n'));
         lines[3] = QStringLiteral("-5");
         WriteText(layers, lines.join(QLatin1Char('\n')));
         AnswerFileDialog(layers);
         Choose({QStringLiteral("&File"), QStringLiteral("&Open...")});
         EXPECT_EQ(fMessages.Messages(),
                   std::vector<std::string>{"File \"" + layers.toStdString() +
                                            "\":\nError on Line 4 Item 1\nThe count -5 is not a "
                                            "number of rows: \"Soil Layers\" takes 0 to 30."});
         LetGo();
       }},
      {"a program killed after an edit: its work comes back at the next start",
       [&] {
         const QString path =
             CopyExample("driven-pile-clay-sand.kv4d", QStringLiteral("killed.kv4d"));
         // The killed program's settings: a copy every second.
         QTemporaryDir config;
         {
           QSettings conf(config.filePath(QStringLiteral("Dravik/KORVAN.conf")),
                          QSettings::IniFormat);
           conf.beginGroup(kSettingsVersion);
           conf.setValue(QStringLiteral("Recovery Interval"), 1);
         }
         QProcess program;
         QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
         environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
         environment.insert(QStringLiteral("XDG_STATE_HOME"), fSettings.StateFolder());
         program.setProcessEnvironment(environment);
         program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
         program.start(QStringLiteral(KORVAN_BIN_DIR "/interrupted_session"),
                       {path, QStringLiteral("777")});
         ASSERT_TRUE(QTest::qWaitFor(
             [&] { return program.canReadLine() || program.state() == QProcess::NotRunning; },
             60000));
         ASSERT_EQ(program.readLine().trimmed(), "edited");
         const QDir recovery(fSettings.RecoveryFolder());
         ASSERT_TRUE(QTest::qWaitFor(
             [&] { return recovery.entryList({QStringLiteral("*.kv4d")}).size() == 1; }, 30000));
         program.kill();  // SIGKILL: nothing of the program's own ending runs
         ASSERT_TRUE(program.waitForFinished());
         EXPECT_EQ(program.exitStatus(), QProcess::CrashExit);
         EXPECT_EQ(ReadText(path), ReadText(ExamplePath("driven-pile-clay-sand.kv4d")));

         // The next start.
         Window().MdiArea()->closeAllSubWindows();
         Window().SetDataChanged(false);
         QString asked;
         AnswerQuestion(QStringLiteral("Yes"), &asked, QStringLiteral("33-restore-question"));
         Window().FormShow({});
         Settle();
         EXPECT_TRUE(
             asked.startsWith(QStringLiteral("Restore the unsaved changes to %1 from ").arg(path)))
             << asked.toStdString();
         ASSERT_EQ(ProgramData->FileName, path);
         EXPECT_EQ(ProgramData->PLength, 777);
         EXPECT_TRUE(Window().GetDataChanged());
         Screenshot(QStringLiteral("33-restored"));
         Choose({QStringLiteral("&File"), QStringLiteral("&Save")});
         EXPECT_FALSE(Window().GetDataChanged());
         Window().OpenFileName(path, dfKorvan2021);
         EXPECT_EQ(ProgramData->PLength, 777) << "the file holds the edit";
         EXPECT_TRUE(recovery.entryList(QDir::Files).isEmpty())
             << recovery.entryList().join(' ').toStdString();
       }},
  };
  for (const auto& [way, run] : ways) {
    SCOPED_TRACE(way);
    fMessages.Clear();
    run();
    Settle();
  }
}

}  // namespace
}  // namespace korvan::testing
