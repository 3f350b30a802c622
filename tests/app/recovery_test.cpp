// Recovery copies of unsaved projects: written while the project has unsaved
// changes and removed once it is saved, its changes are let go or the
// program closes; offered at the next start when their program ended without
// closing, never taken from a program that still runs.
#include <QDateTime>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QLockFile>
#include <QProcess>
#include <QTest>
#include <functional>

#include "main_window_support.h"
#include "model/RecoveryStore.h"

namespace korvan::testing {
namespace {

class RecoveryTest : public MainWindowTest {
 protected:
  QString Folder() const { return fSettings.RecoveryFolder(); }
  QStringList Files() const {
    return QDir(Folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
  }
  QStringList Copies() const { return QDir(Folder()).entryList({QStringLiteral("*.kv4d")}); }

  // A copy as a program that ended without closing leaves it: the project's
  // text, its description, and a lock file of a process that is gone when
  // `deadLock` (else none).
  void LeaveCopy(const QString& id, const QString& projectText, const QString& original,
                 const QDateTime& written, bool deadLock) const {
    QDir().mkpath(Folder());
    WriteText(Folder() + QLatin1Char('/') + id + QStringLiteral(".kv4d"), projectText);
    const QJsonObject description{{QStringLiteral("file"), original},
                                  {QStringLiteral("written"), written.toString(Qt::ISODateWithMs)},
                                  {QStringLiteral("incompleteLine"), 0}};
    WriteText(Folder() + QLatin1Char('/') + id + QStringLiteral(".json"),
              QString::fromUtf8(QJsonDocument(description).toJson()));
    if (!deadLock) return;
    // A lock file as this program writes one, naming a process that ended.
    const QString lockPath = Folder() + QLatin1Char('/') + id + QStringLiteral(".lock");
    QLockFile own(lockPath);
    EXPECT_TRUE(own.tryLock(0));
    QStringList lines = ReadText(lockPath).split(QLatin1Char('\n'));
    own.unlock();
    QProcess gone;
    gone.start(QStringLiteral("true"), {});
    EXPECT_TRUE(gone.waitForStarted());
    const qint64 pid = gone.processId();
    EXPECT_TRUE(gone.waitForFinished());
    lines[0] = QString::number(pid);
    WriteText(lockPath, lines.join(QLatin1Char('\n')));
  }
  static QString Asked(const QString& original, const QDateTime& written) {
    return QStringLiteral("Restore the unsaved changes to %1 from %2?")
        .arg(original, QLocale().toString(written.toLocalTime(), QLocale::ShortFormat));
  }
};

TEST_F(RecoveryTest, TheFolderIsInTheUsersStateFolder) {
  EXPECT_EQ(TRecoveryStore::DefaultFolder(), Folder());
  EXPECT_EQ(Window().Recovery().Folder(), Folder());
  const QByteArray saved = qgetenv("XDG_STATE_HOME");
  qputenv("XDG_STATE_HOME", "relative/state");  // not absolute: ignored
  EXPECT_EQ(TRecoveryStore::DefaultFolder(), QDir::homePath() + "/.local/state/KORVAN/recovery");
  qunsetenv("XDG_STATE_HOME");
  EXPECT_EQ(TRecoveryStore::DefaultFolder(), QDir::homePath() + "/.local/state/KORVAN/recovery");
  qputenv("XDG_STATE_HOME", saved);
}

// The copy lives exactly while the project holds changes nobody saved or
// let go.
TEST_F(RecoveryTest, TheCopyLivesWhileTheProjectHasUnsavedChanges) {
  const QString project = CopyExample("user-curves.kv4d", QStringLiteral("pile.kv4d"));
  auto edit = [this](const QString& title) {
    ProgramData->Title = title;
    Window().SetDataChanged(true);
  };
  struct Step {
    const char* what;
    std::function<void()> run;
    bool copy;
    bool interval = true;  // an interval passes afterwards (not once the program closed)
  };
  const std::vector<Step> steps = {
      {"a new project", [] {}, false},
      {"an edit", [&] { edit(QStringLiteral("Edited once")); }, true},
      {"Save As",
       [&] {
         fSaveAnswer = PathOf(QStringLiteral("new.kv4d"));
         Window().FileSaveAsClick();
       },
       false},
      {"an edit", [&] { edit(QStringLiteral("Edited twice")); }, true},
      {"Save", [&] { Window().FileSaveClick(); }, false},
      {"opening a project", [&] { Window().OpenFileName(project, dfKorvan2021); }, false},
      {"an edit", [&] { edit(QStringLiteral("Edited three times")); }, true},
      {"New, letting the changes go",
       [&] {
         TQuestionAnswers answers({platform::TAnswer::No});
         Window().FileNewClick();
       },
       false},
      {"an edit", [&] { edit(QStringLiteral("Edited four times")); }, true},
      {"New, cancelled",
       [&] {
         TQuestionAnswers answers({platform::TAnswer::Cancel});
         Window().FileNewClick();
       },
       true},
      {"Exit, letting the changes go",
       [&] {
         TQuestionAnswers answers({platform::TAnswer::No});
         Window().close();
       },
       false, false},
  };
  for (const Step& step : steps) {
    step.run();
    if (step.interval) Window().WriteRecoveryCopy();
    EXPECT_EQ(Copies().size(), step.copy ? 1 : 0) << step.what;
    if (!step.copy) {
      EXPECT_TRUE(Files().isEmpty()) << step.what << ": " << Files().join(' ').toStdString();
      continue;
    }
    // The copy is the project as Save would write it, and says whose it is.
    const QString copy = Window().Recovery().CopyFile();
    EXPECT_EQ(ReadText(copy).toUtf8(), ProgramData->FileBytes()) << step.what;
    const QJsonObject description =
        QJsonDocument::fromJson(ReadText(QString(copy).replace(".kv4d", ".json")).toUtf8())
            .object();
    EXPECT_EQ(description.value(QStringLiteral("file")).toString(), ProgramData->FileName);
  }
}

// A copy whose program is gone is offered with its project and time; a copy
// of a program that runs is left alone.
TEST_F(RecoveryTest, CopiesLeftBehindAreOfferedAndRestoredUnderTheirOwnName) {
  const QString project = CopyExample("user-curves.kv4d", QStringLiteral("pile.kv4d"));
  const QByteArray before = ReadText(project).toUtf8();
  QString edited = ReadText(project);
  edited.replace(0, edited.indexOf(QLatin1Char('\n')), QStringLiteral("Edited before the crash"));
  const QDateTime written = QDateTime::currentDateTimeUtc().addSecs(-3600);

  TRecoveryStore running(Folder());  // another program, still running
  running.Write(before, PathOf(QStringLiteral("theirs.kv4d")), 0);

  struct Case {
    const char* what;
    bool deadLock;
    platform::TAnswer answer;
    QStringList left;  // the copy's files afterwards
  };
  const std::vector<Case> cases = {
      {"lock of a program that is gone, No", true, platform::TAnswer::No, {}},
      {"no lock, No", false, platform::TAnswer::No, {}},
      {"Cancel: asked again next time", false, platform::TAnswer::Cancel, {"a.json", "a.kv4d"}},
      {"Yes", true, platform::TAnswer::Yes, {"a.json", "a.kv4d", "a.lock"}},
  };
  for (const Case& c : cases) {
    for (const QString& left : QDir(Folder()).entryList({QStringLiteral("a.*")}))
      QFile::remove(Folder() + QLatin1Char('/') + left);
    LeaveCopy(QStringLiteral("a"), edited, project, written, c.deadLock);
    ProgramData->Title = QStringLiteral("Untouched");
    {
      TQuestionAnswers answers({c.answer});
      EXPECT_EQ(Window().OfferRecovery(), c.answer == platform::TAnswer::Yes) << c.what;
      EXPECT_EQ(answers.Asked(), QStringList{Asked(project, written)}) << c.what;
    }
    QStringList files = Files();
    files.removeIf([](const QString& name) { return !name.startsWith(QLatin1String("a.")); });
    EXPECT_EQ(files, c.left) << c.what;
    EXPECT_EQ(QFileInfo::exists(running.CopyFile()), true) << "the running program's copy stays";
    if (c.answer != platform::TAnswer::Yes) {
      EXPECT_EQ(ProgramData->Title, "Untouched") << c.what;
      continue;
    }
    EXPECT_EQ(ProgramData->FileName, project);
    EXPECT_EQ(ProgramData->Title, "Edited before the crash");
    EXPECT_TRUE(Window().GetDataChanged());
    EXPECT_EQ(Window().windowTitle(), kCaptionPrefix + QStringLiteral("Pile"));
    EXPECT_EQ(ReadText(project).toUtf8(), before) << "nothing is written before Save";
    // Save writes it there, and the copy goes.
    EXPECT_TRUE(Window().FileSaveClick());
    EXPECT_TRUE(ReadText(project).startsWith(QStringLiteral("Edited before the crash\n")));
    EXPECT_FALSE(QFileInfo::exists(Folder() + QStringLiteral("/a.kv4d")));
  }
  EXPECT_TRUE(fMessages.Messages().empty());
}

TEST_F(RecoveryTest, ANeverSavedProjectIsRecoveredUnnamedAndTheNewestFirst) {
  const QString text = ReadText(ExamplePath("user-curves.kv4d"));
  const QDateTime older = QDateTime::currentDateTimeUtc().addDays(-1);
  const QDateTime newer = QDateTime::currentDateTimeUtc().addSecs(-60);
  LeaveCopy(QStringLiteral("older"), text, PathOf(QStringLiteral("old.kv4d")), older, false);
  LeaveCopy(QStringLiteral("newer"), text, kNewFileName, newer, true);
  {
    TQuestionAnswers answers({platform::TAnswer::Yes});
    Window().FormShow({});
    EXPECT_EQ(answers.Asked(), QStringList{Asked(kNewFileName, newer)});
  }
  EXPECT_EQ(ProgramData->FileName, kNewFileName);
  EXPECT_EQ(Window().windowTitle(), kCaptionPrefix + QStringLiteral("NewKORVAN"));
  EXPECT_TRUE(Window().GetDataChanged());
  EXPECT_FALSE(Window().ShowOutput());
  // Save goes through Save As, as for any project never saved.
  fSaveAnswer = PathOf(QStringLiteral("named.kv4d"));
  EXPECT_TRUE(Window().FileSaveClick());
  EXPECT_EQ(fSavePresets.last(), kNewFileName);
  EXPECT_EQ(ReadText(fSaveAnswer).section(QLatin1Char('\n'), 0, 0),
            text.section(QLatin1Char('\n'), 0, 0));
  // The older copy was not asked about: it waits for the next start.
  EXPECT_TRUE(QFileInfo::exists(Folder() + QStringLiteral("/older.kv4d")));
  TRecoveryStore next(Folder());
  const std::vector<TRecoveryCopy> left = next.Orphans();
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].OriginalName, PathOf(QStringLiteral("old.kv4d")));
}

// Two programs at once each keep their own copy; a normal end removes only
// the program's own.
TEST_F(RecoveryTest, ProgramsRunningAtOnceKeepOutOfEachOthersCopies) {
  auto first = std::make_unique<TRecoveryStore>(Folder());
  TRecoveryStore second(Folder());
  first->Write("first\n", PathOf(QStringLiteral("first.kv4d")), 0);
  second.Write("second\n", PathOf(QStringLiteral("second.kv4d")), 3);
  EXPECT_TRUE(first->Orphans().empty());
  EXPECT_TRUE(second.Orphans().empty());
  EXPECT_EQ(Copies().size(), 2);
  first.reset();
  EXPECT_EQ(Copies(), QStringList{QFileInfo(second.CopyFile()).fileName()});
  EXPECT_TRUE(second.Orphans().empty());
  EXPECT_EQ(ReadText(second.CopyFile()), "second\n");

  // A copy is written again only when it would differ.
  const QString description = QString(second.CopyFile()).replace(".kv4d", ".json");
  const QString written = ReadText(description);
  QTest::qWait(20);
  second.Write("second\n", PathOf(QStringLiteral("second.kv4d")), 3);
  EXPECT_EQ(ReadText(description), written);
  second.Write("second, edited\n", PathOf(QStringLiteral("second.kv4d")), 3);
  EXPECT_NE(ReadText(description), written);
  EXPECT_EQ(ReadText(second.CopyFile()), "second, edited\n");
}

TEST_F(RecoveryTest, TheIntervalComesFromTheSettings) {
  struct Case {
    QVariant stored;  // invalid: none stored
    int interval;
  };
  for (const Case& c : {Case{QVariant(), 60}, Case{0, 0}, Case{5, 5},
                        Case{QStringLiteral("soon"), 60}, Case{-3, 60}, Case{10'000'000, 86400}}) {
    fSettings.Set(QStringLiteral("Recovery Interval"), c.stored);
    Window().FormShow({});
    EXPECT_EQ(Window().RecoveryInterval(), c.interval) << c.stored.toString().toStdString();
  }
  // Every interval: a copy a second after the edit.
  fSettings.Set(QStringLiteral("Recovery Interval"), 1);
  Window().FormShow({});
  ProgramData->Title = QStringLiteral("Typed");
  Window().SetDataChanged(true);
  EXPECT_TRUE(QTest::qWaitFor([this] { return Copies().size() == 1; }, 10000));
}

}  // namespace
}  // namespace korvan::testing
