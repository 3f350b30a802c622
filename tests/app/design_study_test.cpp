// Computation → "Design Study..." in the main window: a study of the project
// on screen runs in the background and gives the rows korvan study writes,
// opens its graphs and exports them, and leaves the project as it was;
// Cancel ends the runs at once and keeps the rows done; a study that cannot
// run says why and runs nothing.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/DesignStudyDialog.h"
#include "components/DataEdit.h"
#include "graphs/StudyGraphs.h"
#include "graphs/windows/PlotForm.h"
#include "main_window_support.h"
#include "model/ProgramData.h"
#include "model/StudyRunner.h"

namespace korvan::testing {
namespace {

namespace fs = std::filesystem;

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The processes whose parent is this test program.
std::vector<pid_t> Children() {
  std::vector<pid_t> children;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream rest(text.substr(close + 2));
    char state = 0;
    pid_t parent = 0;
    if (rest >> state >> parent && parent == ::getpid() && state != 'Z')
      children.push_back(static_cast<pid_t>(std::stol(name)));
  }
  return children;
}

class DesignStudyTest : public MainWindowTest {
 protected:
  TDesignStudyDialog& OpenStudy(const char* example) {
    const QString project = CopyExample(example, QStringLiteral("pile.kv4d"));
    EXPECT_TRUE(Window().OpenFileName(project, dfKorvan2021));
    Window().Actions().CompStudy->trigger();
    EXPECT_NE(Window().DesignStudy(), nullptr);
    return *Window().DesignStudy();
  }

  static void SetRange(TDesignStudyDialog& dialog, const char* from, const char* to,
                       const char* step) {
    dialog.From->setText(QLatin1String(from));
    dialog.To->setText(QLatin1String(to));
    dialog.Step->setText(QLatin1String(step));
  }

  // Runs the study and waits for its end; the arguments of finished().
  static QList<QVariant> RunAndWait(TDesignStudyDialog& dialog) {
    QSignalSpy finished(&dialog.Runner(), &TStudyRunner::finished);
    dialog.RunClick();
    if (!dialog.Runner().Running()) return {};
    EXPECT_FALSE(dialog.RunButton->isEnabled());
    EXPECT_TRUE(dialog.CancelButton->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return finished.count() == 1; }, 120000));
    return finished.isEmpty() ? QList<QVariant>() : finished.front();
  }
};

TEST_F(DesignStudyTest, TheStudyOfTheProjectOnScreenIsKorvanStudysAndChangesNothing) {
  TDesignStudyDialog& dialog = OpenStudy("driven-pile-clay-sand.kv4d");
  // The first study spans the project's own length.
  EXPECT_EQ(dialog.From->Number(), 576);
  EXPECT_EQ(dialog.To->Number(), 864);
  EXPECT_EQ(dialog.Step->Number(), 72);
  EXPECT_EQ(dialog.From->EditLabel()->text(), QStringLiteral("From (in)"));
  EXPECT_EQ(dialog.DesignLoad->EditLabel()->text(), QStringLiteral("Design Load (lbs)"));
  SetRange(dialog, "600", "800", "100");
  dialog.UseDesignLoad->setChecked(true);
  dialog.DesignLoad->setText(QStringLiteral("300000"));
  dialog.UseSettlementLimit->setChecked(true);
  dialog.SettlementLimit->setText(QStringLiteral("0.25*2"));

  const QByteArray projectBefore = ProgramData->FileBytes();
  const QByteArray fileBefore = FileBytes(PathOf(QStringLiteral("pile.kv4d")));
  const QStringList folderBefore = QDir(PathOf({})).entryList(QDir::AllEntries | QDir::Hidden);
  const QList<QVariant> end = RunAndWait(dialog);
  ASSERT_EQ(end.size(), 2);
  EXPECT_TRUE(end[0].toBool());
  EXPECT_EQ(dialog.Progress->value(), 3);
  EXPECT_EQ(dialog.Status->text(), QStringLiteral("3 variants analysed: every run completed."));

  // The rows are those korvan study writes for the same study.
  QProcess korvan;
  korvan.start(
      QStringLiteral(KORVAN_BIN_DIR "/korvan"),
      {QStringLiteral("study"), PathOf(QStringLiteral("pile.kv4d")), QStringLiteral("--vary"),
       QStringLiteral("length=600:800:100"), QStringLiteral("--design-load"),
       QStringLiteral("300000"), QStringLiteral("--settlement-limit"), QStringLiteral("0.5"),
       QStringLiteral("--out"), PathOf(QStringLiteral("cli"))});
  ASSERT_TRUE(korvan.waitForFinished(60000));
  const QStringList lines = QString::fromUtf8(FileBytes(PathOf(QStringLiteral("cli/study.csv"))))
                                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), dialog.Table->rowCount() + 1);
  for (int row = 0; row < dialog.Table->rowCount(); ++row) {
    QStringList cells;
    for (int column = 0; column < dialog.Table->columnCount(); ++column)
      cells << dialog.Table->item(row, column)->text();
    EXPECT_EQ(cells.join(QLatin1Char(',')), lines[row + 1]);
  }
  QDir(PathOf(QStringLiteral("cli"))).removeRecursively();

  // The graphs are open in windows of the main window.
  TStudyGraphs* graphs = dialog.Graphs();
  ASSERT_NE(graphs, nullptr);
  ASSERT_EQ(graphs->All().size(), 3u);
  EXPECT_EQ(graphs->Curves().LineCount(), 3);
  for (const TStudyGraph& graph : graphs->All()) EXPECT_NE(TPlotForm::Of(*graph.graph), nullptr);
  EXPECT_EQ(Window().MdiArea()->subWindowList().size(), 3);
  EXPECT_TRUE(dialog.CurvesButton->isEnabled());
  EXPECT_TRUE(dialog.ExportButton->isEnabled());

  // The project, its file and its folder are as they were.
  EXPECT_EQ(ProgramData->FileBytes(), projectBefore);
  EXPECT_FALSE(Window().GetDataChanged());
  EXPECT_EQ(FileBytes(PathOf(QStringLiteral("pile.kv4d"))), fileBefore);
  EXPECT_EQ(QDir(PathOf({})).entryList(QDir::AllEntries | QDir::Hidden), folderBefore);

  // The graphs go to a workbook like the program's other graphs.
  QString offered, opened;
  dialog.AskFileName = [&](const QString& name) {
    offered = name;
    return PathOf(QStringLiteral("book.xlsx"));
  };
  dialog.OpenWorkbook = [&](const QString& name) { opened = name; };
  fMessages.Clear();
  dialog.ExportClick();
  EXPECT_EQ(QFileInfo(offered).fileName(), QStringLiteral("pile-length-study.xlsx"));
  EXPECT_EQ(opened, PathOf(QStringLiteral("book.xlsx")));
  EXPECT_TRUE(FileBytes(opened).startsWith("PK"));
  ASSERT_EQ(fMessages.Messages().size(), 1u);
  EXPECT_EQ(fMessages.Messages()[0].rfind("Export to Excel Completed", 0), 0u);
}

// Every sample, both ways: the window's rows are korvan study's.
TEST_F(DesignStudyTest, EverySampleStudiedOnScreenGivesTheRowsOfKorvanStudy) {
  struct Case {
    const char* example;
    int parameter;
    const char* from;
    const char* to;
    const char* step;
    const char* designLoad;
    const char* limit;
    bool scaleAE;
  };
  const Case cases[] = {
      {"api-clay-sand.kv4d", 0, "900", "1100", "100", "400000", "0.1", false},
      {"downdrag-modified-si.kv4d", 1, "0.3", "0.5", "0.1", "800", "0.02", true},
      {"drilled-shaft-si.kv4d", 0, "12", "18", "3", "3000", "0.025", false},
      {"driven-pile-clay-sand.kv4d", 0, "800", "1000", "100", "300000", "0.5", false},
      {"user-curves.kv4d", 1, "14", "20", "3", "200000", "0.5", false},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.example);
    TDesignStudyDialog& dialog = OpenStudy(row.example);
    dialog.Parameter->setCurrentIndex(row.parameter);
    SetRange(dialog, row.from, row.to, row.step);
    dialog.UseDesignLoad->setChecked(true);
    dialog.DesignLoad->setText(QLatin1String(row.designLoad));
    dialog.UseSettlementLimit->setChecked(true);
    dialog.SettlementLimit->setText(QLatin1String(row.limit));
    dialog.ScaleAE->setChecked(row.scaleAE);
    ASSERT_EQ(RunAndWait(dialog).size(), 2);

    QStringList arguments{
        QStringLiteral("study"),
        PathOf(QStringLiteral("pile.kv4d")),
        QStringLiteral("--vary"),
        QStringLiteral("%1=%2:%3:%4")
            .arg(row.parameter == 0 ? QStringLiteral("length") : QStringLiteral("diameter"))
            .arg(QLatin1String(row.from), QLatin1String(row.to), QLatin1String(row.step)),
        QStringLiteral("--design-load"),
        QLatin1String(row.designLoad),
        QStringLiteral("--settlement-limit"),
        QLatin1String(row.limit),
        QStringLiteral("--out"),
        PathOf(QStringLiteral("cli"))};
    if (row.scaleAE) arguments << QStringLiteral("--scale-ae");
    QProcess korvan;
    korvan.start(QStringLiteral(KORVAN_BIN_DIR "/korvan"), arguments);
    ASSERT_TRUE(korvan.waitForFinished(60000));
    const QStringList lines = QString::fromUtf8(FileBytes(PathOf(QStringLiteral("cli/study.csv"))))
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), dialog.Table->rowCount() + 1);
    for (int row = 0; row < dialog.Table->rowCount(); ++row) {
      QStringList cells;
      for (int column = 0; column < dialog.Table->columnCount(); ++column)
        cells << dialog.Table->item(row, column)->text();
      // A note with a comma is quoted in the file.
      const QString note = cells.takeLast();
      EXPECT_EQ(
          cells.join(QLatin1Char(',')) + QLatin1Char(',') +
              (note.contains(QLatin1Char(',')) ? QLatin1Char('"') + note + QLatin1Char('"') : note),
          lines[row + 1]);
    }
    QDir(PathOf(QStringLiteral("cli"))).removeRecursively();
  }
}

// The runs of the pausing engine wait until they are ended: Cancel ends
// them while the window goes on taking events.
TEST_F(DesignStudyTest, CancelEndsTheRunsAtOnceAndKeepsTheRowsDone) {
  const QString bin = PathOf(QStringLiteral("bin"));
  QDir().mkpath(bin);
  ASSERT_TRUE(QFile::copy(QStringLiteral(KORVAN_BIN_DIR "/korvan"), bin + "/korvan"));
  ASSERT_TRUE(QFile::copy(QStringLiteral(KORVAN_PAUSING_ENGINE),
                          bin + QStringLiteral("/KORVAN2021_DLL.so")));
  const QString temporary = PathOf(QStringLiteral("tmp"));
  QDir().mkpath(temporary);
  const QByteArray savedTemporary = qgetenv("TMPDIR");
  qputenv("TMPDIR", QFile::encodeName(temporary));

  TDesignStudyDialog& dialog = OpenStudy("driven-pile-clay-sand.kv4d");
  Window().SetProgramFolder(bin);
  SetRange(dialog, "600", "800", "100");
  QSignalSpy finished(&dialog.Runner(), &TStudyRunner::finished);
  dialog.RunClick();
  ASSERT_TRUE(dialog.Runner().Running());
  auto started = [&] {
    int count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(temporary.toStdString()))
      count += entry.path().filename() == "engine-started" ? 1 : 0;
    return count;
  };
  bool ticked = false;
  QTimer::singleShot(0, [&] { ticked = true; });
  ASSERT_TRUE(QTest::qWaitFor([&] { return started() == 2; }, 60000));
  EXPECT_TRUE(ticked);  // the window took its events all the while
  const std::vector<pid_t> runs = Children();
  EXPECT_EQ(runs.size(), 2u);

  dialog.CancelClick();
  ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() == 1; }, 20000));
  EXPECT_FALSE(finished.front()[0].toBool());
  EXPECT_EQ(finished.front()[1].toString(), QString());
  for (const pid_t run : runs) EXPECT_NE(::kill(run, 0), 0) << "run " << run << " is left";
  EXPECT_TRUE(QDir(temporary).isEmpty());
  EXPECT_EQ(dialog.Status->text(), QStringLiteral("Stopped: 0 of 3 variants were analysed."));
  ASSERT_EQ(dialog.Table->rowCount(), 3);
  EXPECT_EQ(dialog.Table->item(0, 1)->text(), QString());
  EXPECT_TRUE(dialog.Table->item(0, 5)->text().startsWith(QLatin1String("not analysed")));
  EXPECT_TRUE(dialog.RunButton->isEnabled());
  EXPECT_FALSE(dialog.CancelButton->isEnabled());
  EXPECT_FALSE(dialog.CurvesButton->isEnabled());
  qputenv("TMPDIR", savedTemporary);
}

TEST_F(DesignStudyTest, AStudyThatCannotRunSaysWhyAndRunsNothing) {
  struct Case {
    const char* what;
    const char* example;  // nullptr: a new project
    int parameter;
    const char* from;
    const char* to;
    const char* designLoad;  // nullptr: none
    const char* message;
  };
  const Case cases[] = {
      {"no diameter to scale", nullptr, 1, "10", "20", nullptr,
       "The project's outer diameter is 0: the tip area cannot be scaled with the diameter."},
      {"a reversed range", "driven-pile-clay-sand.kv4d", 0, "800", "600", nullptr,
       "--vary length=800:600:100: TO lies below FROM"},
      {"more than 200 variants", "driven-pile-clay-sand.kv4d", 0, "1", "30000", nullptr,
       "--vary length=1:30000:100: more than 200 variants"},
      {"a design load of 0", "driven-pile-clay-sand.kv4d", 0, "600", "800", "0",
       "The design load must be above 0."},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.what);
    if (row.example == nullptr) {
      Window().FileNewClick();
      Window().Actions().CompStudy->trigger();
    } else {
      OpenStudy(row.example);
    }
    TDesignStudyDialog& dialog = *Window().DesignStudy();
    dialog.Parameter->setCurrentIndex(row.parameter);
    SetRange(dialog, row.from, row.to, "100");
    dialog.UseDesignLoad->setChecked(row.designLoad != nullptr);
    if (row.designLoad) dialog.DesignLoad->setText(QLatin1String(row.designLoad));
    fMessages.Clear();
    dialog.RunClick();
    EXPECT_FALSE(dialog.Runner().Running());
    EXPECT_EQ(fMessages.Messages(), std::vector<std::string>{row.message});
    EXPECT_EQ(dialog.Table->rowCount(), 0);
    EXPECT_TRUE(Children().empty());
  }
  // Values typed in inches are not taken for metres: the units switched
  // while the window showed them.
  TDesignStudyDialog& dialog = OpenStudy("driven-pile-clay-sand.kv4d");
  SetRange(dialog, "600", "800", "100");
  dialog.UseDesignLoad->setChecked(false);
  Window().Actions().UnitsSI->trigger();
  fMessages.Clear();
  dialog.RunClick();
  EXPECT_FALSE(dialog.Runner().Running());
  EXPECT_EQ(fMessages.Messages(), std::vector<std::string>{"The project's units have changed: "
                                                           "check the values of the study."});
  EXPECT_EQ(dialog.From->EditLabel()->text(), QStringLiteral("From (m)"));
  EXPECT_NEAR(static_cast<double>(dialog.From->Number()), 720 * 0.0254 * 0.8, 1e-6);
}

}  // namespace
}  // namespace korvan::testing
