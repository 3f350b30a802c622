// korvan report on every sample project, analysed by korvan run: the PDF's
// text as pdftotext extracts it holds the heading on every page, every
// input value of the data file and every head-load / head-movement pair of
// the plot data file as the engine printed them; its paper, its fonts, and
// the statuses of projects never analysed or changed since.
#include <sys/stat.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <cmath>

#include "korvan_version.h"
#include "support/project_fixtures.h"

namespace korvan::testing {
namespace {

struct TCommand {
  int status = -1;
  QString output;
  QString errors;
};

TCommand Korvan(const QStringList& arguments, const QProcessEnvironment& environment) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(QStringLiteral(KORVAN_BIN_DIR "/korvan"), arguments);
  process.waitForFinished(120000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromLocal8Bit(process.readAllStandardOutput()),
          QString::fromLocal8Bit(process.readAllStandardError())};
}

QString Tool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  process.waitForFinished(60000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

// The numbers of a text: every word that reads whole as a real.
std::vector<double> Numbers(const QString& text) {
  std::vector<double> numbers;
  for (const QString& word :
       text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
    bool ok = false;
    const double value = word.toDouble(&ok);
    if (ok) numbers.push_back(value);
  }
  return numbers;
}

bool Holds(const std::vector<double>& numbers, double value) {
  return std::any_of(numbers.begin(), numbers.end(), [value](double n) {
    return std::fabs(n - value) <= 1e-7 * std::max(std::fabs(value), 1e-30);
  });
}

struct TSampleCase {
  const char* sample;
  const char* change;    // a data-file line replaced, "from=>to"; "" for none
  QStringList options;   // after the project
  const char* locale;    // LANG of the command; "" for none
  const char* pageSize;  // as pdfinfo gives it
  int unconverged;       // applied loads that did not converge
};

const TSampleCase kSampleCases[] = {
    {"api-clay-sand", "", {"--paper", "letter"}, "de_DE.UTF-8", "612 x 792", 0},
    {"downdrag-modified-si", "", {"--paper", "a4"}, "en_US.UTF-8", "595 x 842", 0},
    {"drilled-shaft-si", "", {}, "en_US.UTF-8", "612 x 792", 0},
    {"driven-pile-clay-sand", "", {}, "en_GB.UTF-8", "595 x 842", 0},
    {"user-curves", "", {"--paper", "A4"}, "", "595 x 842", 0},
    {"driven-pile-clay-sand", "\n250000\n=>\n0\n", {}, "de_DE.UTF-8", "595 x 842", 1},
};

class ReportCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The settings the desktop program keeps, in a folder of the test's.
    QSettings settings(fFolder.filePath(QStringLiteral("config/Dravik/KORVAN.conf")),
                       QSettings::IniFormat);
    settings.beginGroup(QLatin1String(kVersionText));
    settings.setValue(QStringLiteral("Organisation"), QStringLiteral("Harbour Piling Co"));
    settings.setValue(QStringLiteral("City"), QStringLiteral("Leith"));
    settings.setValue(QStringLiteral("Region"), QStringLiteral("Lothian"));
  }
  QProcessEnvironment Environment(const char* locale) const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       fFolder.filePath(QStringLiteral("config")));
    for (const char* name : {"LANG", "LC_ALL", "LC_MEASUREMENT", "LC_PAPER"})
      environment.remove(QLatin1String(name));
    if (*locale) environment.insert(QStringLiteral("LANG"), QLatin1String(locale));
    return environment;
  }
  QString Sample(const TSampleCase& c) {
    const QString data = fFolder.filePath(QLatin1String(c.sample) + QStringLiteral(".kv4d"));
    QString text = ReadText(ExamplePath((std::string(c.sample) + ".kv4d").c_str()));
    if (*c.change) {
      const QStringList change = QString::fromLatin1(c.change).split(QStringLiteral("=>"));
      EXPECT_TRUE(text.contains(change[0]));
      text.replace(change[0], change[1]);
    }
    QFile::remove(data);
    WriteText(data, text);
    return data;
  }
  QTemporaryDir fFolder;
};

TEST_F(ReportCommandTest, EverySampleReportHoldsItsHeadingInputsAndResultsAsText) {
  for (const TSampleCase& c : kSampleCases) {
    SCOPED_TRACE(c.sample + std::string(" ") + c.change);
    const QProcessEnvironment environment = Environment(c.locale);
    const QString data = Sample(c);
    const QString base = data.chopped(5);
    ASSERT_EQ(Korvan({QStringLiteral("run"), data}, environment).status, 0);
    const QString pdf = base + QStringLiteral(".pdf");
    QFile::remove(pdf);
    const TCommand report =
        Korvan(QStringList{QStringLiteral("report"), data} + c.options, environment);
    ASSERT_EQ(report.status, 0) << report.errors.toStdString();
    EXPECT_EQ(report.output.trimmed(), pdf);

    const QString info = Tool(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(info.contains(QStringLiteral("Page size:       %1 pts").arg(c.pageSize)))
        << info.toStdString();
    const QStringList fonts = Tool(QStringLiteral("pdffonts"), {pdf}).split('\n').mid(2);
    for (const QString& font : fonts) {
      if (font.trimmed().isEmpty()) continue;
      EXPECT_TRUE(font.contains(QStringLiteral(" yes "))) << "not embedded: " << font.toStdString();
    }

    const QString text =
        Tool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    const QString kv4d = ReadText(data);
    const QString kv4o = ReadText(base + QStringLiteral(".kv4o"));
    const QString kv4p = ReadText(base + QStringLiteral(".kv4p"));

    // The heading on every page.
    QStringList pages = text.split(QLatin1Char('\f'));
    if (pages.last().trimmed().isEmpty()) pages.removeLast();
    ASSERT_GT(pages.size(), 2);
    const QString title = kv4d.section(QLatin1Char('\n'), 0, 0).trimmed();
    static const QRegularExpression date(QStringLiteral("Date:\\s+(.*\\S)\\s+Time:\\s+(\\S+)"));
    const auto when = date.match(kv4o);
    ASSERT_TRUE(when.hasMatch());
    for (int p = 0; p < pages.size(); ++p) {
      const QString page = pages[p].simplified();
      for (const QString& part :
           {QStringLiteral("KORVAN %1").arg(QLatin1String(kVersionText)), title,
            QStringLiteral("File: %1.kv4d").arg(QLatin1String(c.sample)),
            QStringLiteral("Harbour Piling Co, Leith, Lothian"),
            QStringLiteral("Analysis: %1 %2").arg(when.captured(1), when.captured(2)),
            QStringLiteral("Page %1 of %2").arg(p + 1).arg(pages.size())}) {
        EXPECT_TRUE(page.contains(part)) << "page " << p + 1 << " lacks " << part.toStdString();
      }
    }

    // Every real of the data file among the numbers of the inputs and
    // results (counts, flags and numbers of curves are whole words).
    const std::vector<double> shown = Numbers(text.section(QStringLiteral("4 Graphs"), 0, 0));
    for (const QString& line : kv4d.split('\n').mid(1)) {
      for (const QString& word : line.split(' ', Qt::SkipEmptyParts)) {
        if (!word.contains(QLatin1Char('.')) && !word.contains(QLatin1Char('E'))) continue;
        EXPECT_TRUE(Holds(shown, word.toDouble())) << "input " << word.toStdString();
      }
    }

    // The four-word lines of the plot file are its result rows: head load
    // and head movement as the engine wrote them, side by side; a load that
    // did not converge (flag 0) as the load and the engine's words.
    const QString words = text.simplified();
    const QStringList lines = kv4p.split('\n');
    int unconverged = 0;
    for (int i = 0; i < lines.size(); ++i) {
      const QStringList row = lines[i].split(' ', Qt::SkipEmptyParts);
      if (row.size() != 4) continue;
      const bool converged = i == 0 || lines[i - 1].trimmed() != QStringLiteral("0");
      const QString expected = converged ? row[0] + QLatin1Char(' ') + row[1]
                                         : row[0] + QStringLiteral(" NOT ABLE TO GET CONVERGENCE");
      unconverged += converged ? 0 : 1;
      EXPECT_TRUE(words.contains(expected)) << "result " << expected.toStdString();
    }
    EXPECT_EQ(unconverged, c.unconverged);
    EXPECT_EQ(words.count(QStringLiteral(": NOT ABLE TO GET CONVERGENCE")), c.unconverged)
        << "in the warnings";
    EXPECT_EQ(words.contains(QStringLiteral("The run wrote no warnings.")), c.unconverged == 0);
  }
}

// A project never analysed has no report; one changed after its run gets a
// report whose first page says so; wrong requests are refused.
TEST_F(ReportCommandTest, ProjectsNeverAnalysedOrChangedSince) {
  const TSampleCase sample = kSampleCases[3];
  const QProcessEnvironment environment = Environment("");
  const QString data = Sample(sample);
  const QString pdf = data.chopped(5) + QStringLiteral(".pdf");
  const TCommand never = Korvan({QStringLiteral("report"), data}, environment);
  EXPECT_EQ(never.status, 65);
  EXPECT_TRUE(never.errors.contains(QStringLiteral("run the analysis first")));
  EXPECT_FALSE(QFileInfo::exists(pdf));

  ASSERT_EQ(Korvan({QStringLiteral("run"), data}, environment).status, 0);
  // Saved again a minute after its run.
  const QFileInfo plot(data.chopped(5) + QStringLiteral(".kv4p"));
  QFile file(data);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.setFileTime(plot.lastModified().addSecs(60), QFileDevice::FileModificationTime));
  file.close();
  const TCommand changed = Korvan({QStringLiteral("report"), data}, environment);
  ASSERT_EQ(changed.status, 0);
  EXPECT_TRUE(changed.errors.contains(QStringLiteral("newer than its results")));
  const QString firstPage = Tool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")})
                                .section(QLatin1Char('\f'), 0, 0)
                                .simplified();
  EXPECT_TRUE(
      firstPage.contains(QStringLiteral("The project data file was changed after the "
                                        "analysis of")))
      << firstPage.toStdString();

  for (const QStringList& bad :
       {QStringList{QStringLiteral("--paper")},
        QStringList{QStringLiteral("--paper"), QStringLiteral("b5")},
        QStringList{QStringLiteral("--out"), QString()},
        QStringList{QStringLiteral("--pages"), QStringLiteral("1")}, QStringList{data}}) {
    EXPECT_EQ(Korvan(QStringList{QStringLiteral("report"), data} + bad, environment).status, 64)
        << bad.join(QLatin1Char(' ')).toStdString();
  }
  EXPECT_EQ(
      Korvan({QStringLiteral("report"), data.chopped(5) + QStringLiteral("x.kv4d")}, environment)
          .status,
      66);
}

// The graphs are drawn with the settings the program saved beside the
// project: its title, line names and active lines.
TEST_F(ReportCommandTest, GraphsKeepTheSettingsSavedBesideTheProject) {
  const QProcessEnvironment environment = Environment("");
  const QString data = Sample(kSampleCases[3]);
  ASSERT_EQ(Korvan({QStringLiteral("run"), data}, environment).status, 0);
  // The load distribution's block: nine tip movements of 60 increments;
  // line 2 inactive.
  QString settings = QStringLiteral(
      ":Plot Caption\nLoad Distribution\n9 60   :LineCount, Count\n1 : Show Legend\n"
      "0 : Do not Show Soil Layers\n0 : Do not Show Wall Geometry\n1   :Markers Index\n"
      "10   :FontSize Index\n1   :LineWidth Index\n:Graph Title\nPier 7 for the design file\n"
      "1 : User Caption on Top\n");
  for (int k = 1; k <= 9; ++k)
    settings += QStringLiteral(":Legend, Line %1\nMovement %2\n").arg(k).arg(QChar('A' + k - 1));
  for (int k = 1; k <= 9; ++k)
    settings += QStringLiteral("%1 1 : Active, Visible, Line %2\n").arg(k == 2 ? 0 : 1).arg(k);
  WriteText(data.chopped(5) + QStringLiteral(".kv4g"), settings);

  const TCommand report = Korvan({QStringLiteral("report"), data}, environment);
  ASSERT_EQ(report.status, 0) << report.errors.toStdString();
  const QString graphs = Tool(QStringLiteral("pdftotext"),
                              {data.chopped(5) + QStringLiteral(".pdf"), QStringLiteral("-")})
                             .section(QStringLiteral("4 Graphs"), 1)
                             .section(QStringLiteral("Displacement Distribution"), 0, 0);
  EXPECT_TRUE(graphs.contains(QStringLiteral("Pier 7 for the design file")))
      << graphs.toStdString();
  EXPECT_TRUE(graphs.contains(QStringLiteral("Movement A")));
  EXPECT_TRUE(graphs.contains(QStringLiteral("Movement I")));
  EXPECT_FALSE(graphs.contains(QStringLiteral("Movement B"))) << "an inactive line is not listed";
  EXPECT_FALSE(graphs.contains(QStringLiteral("Tip movement"))) << "the names saved replace these";
}

}  // namespace
}  // namespace korvan::testing
