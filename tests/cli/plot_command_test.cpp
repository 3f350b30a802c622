// korvan plot and korvan export on analysed sample projects: one picture per
// graph with results, in the chosen format, size and folder; one workbook of
// the chosen graphs; bad requests refused.
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

#include "graphs/ZipPackage.h"
#include "support/project_fixtures.h"

namespace korvan::testing {
namespace {

struct TResult {
  int status = -1;
  QString output;
};

TResult Korvan(const QStringList& arguments) {
  QProcess process;
  process.start(QStringLiteral(KORVAN_BIN_DIR "/korvan"), arguments);
  process.waitForFinished(120000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromLocal8Bit(process.readAllStandardOutput())};
}

TEST(PlotCommandTest, DrawsEveryGraphWithResults) {
  QTemporaryDir folder;
  const QString project = folder.filePath(QStringLiteral("pier.kv4d"));
  ASSERT_TRUE(QFile::copy(ExamplePath("downdrag-modified-si.kv4d"), project));
  EXPECT_EQ(Korvan({QStringLiteral("plot"), project}).status, 65) << "not analysed yet";
  ASSERT_EQ(Korvan({QStringLiteral("run"), project}).status, 0);

  const QString out = folder.filePath(QStringLiteral("figures"));
  const TResult png =
      Korvan({QStringLiteral("plot"), project, QStringLiteral("--out"), out,
              QStringLiteral("--width"), QStringLiteral("5"), QStringLiteral("--height"),
              QStringLiteral("3"), QStringLiteral("--dpi"), QStringLiteral("100")});
  ASSERT_EQ(png.status, 0) << png.output.toStdString();
  const QStringList written = QDir(out).entryList(QDir::Files, QDir::Name);
  EXPECT_TRUE(written.contains(QStringLiteral("pier-displacement-soil-settlement.png")))
      << written.join(QLatin1Char(' ')).toStdString();
  EXPECT_TRUE(written.contains(QStringLiteral("pier-t-z-curves.png")));
  EXPECT_EQ(png.output.trimmed().split(QLatin1Char('\n')).size(), written.size());
  EXPECT_EQ(QImage(QDir(out).filePath(QStringLiteral("pier-t-z-curves.png"))).size(),
            QSize(500, 300));

  const TResult svg =
      Korvan({QStringLiteral("plot"), project, QStringLiteral("--format"), QStringLiteral("svg")});
  ASSERT_EQ(svg.status, 0);
  EXPECT_TRUE(QFileInfo::exists(folder.filePath(QStringLiteral("pier-load-distribution.svg"))));

  for (const QStringList& bad :
       {QStringList{QStringLiteral("plot"), project, QStringLiteral("--format"),
                    QStringLiteral("gif")},
        QStringList{QStringLiteral("plot"), project, QStringLiteral("--dpi"), QStringLiteral("x")},
        QStringList{QStringLiteral("plot"), project, QStringLiteral("--out")}}) {
    EXPECT_EQ(Korvan(bad).status, 64) << bad.join(QLatin1Char(' ')).toStdString();
  }
  EXPECT_EQ(Korvan({QStringLiteral("plot"), folder.filePath(QStringLiteral("none.kv4d"))}).status,
            66);
}

QString ZipText(const std::vector<TZipEntry>& package, const char* name) {
  return QString::fromUtf8(ZipEntryData(package, QString::fromLatin1(name)).value_or(QByteArray()));
}

TEST(ExportCommandTest, WritesAWorkbookOfTheGraphsTheProgramWouldOffer) {
  // Example, graphs offered for export (down-drag adds the settlement graph).
  const std::vector<std::pair<const char*, int>> examples = {
      {"driven-pile-clay-sand.kv4d", 5}, {"downdrag-modified-si.kv4d", 6}, {"user-curves.kv4d", 5}};
  for (const auto& [example, offered] : examples) {
    SCOPED_TRACE(example);
    QTemporaryDir folder;
    const QString project = folder.filePath(QStringLiteral("pier.kv4d"));
    ASSERT_TRUE(QFile::copy(ExamplePath(example), project));
    EXPECT_EQ(Korvan({QStringLiteral("export"), project}).status, 65) << "not analysed yet";
    ASSERT_EQ(Korvan({QStringLiteral("run"), project}).status, 0);

    const TResult all = Korvan({QStringLiteral("export"), project});
    ASSERT_EQ(all.status, 0);
    const QString book = folder.filePath(QStringLiteral("pier.xlsx"));
    EXPECT_EQ(all.output.trimmed(), book);
    QStringList sheets = {QStringLiteral("Legend")};
    for (int k = 1; k <= offered; ++k)
      sheets << QStringLiteral("Page_%1").arg(k) << QStringLiteral("Plot_%1").arg(k);
    QString expected;
    for (const QString& sheet : sheets) expected += QStringLiteral("name=\"%1\"").arg(sheet);
    static const QRegularExpression names(QStringLiteral("name=\"[^\"]+\""));
    QString found;
    for (const auto& match : names.globalMatch(ZipText(ReadZip(book), "xl/workbook.xml")))
      found += match.captured();
    EXPECT_EQ(found, expected);

    const QString one = folder.filePath(QStringLiteral("axial.xlsx"));
    ASSERT_EQ(
        Korvan({QStringLiteral("export"), project, QStringLiteral("--plots"), QStringLiteral("4"),
                QStringLiteral("--no-markers"), QStringLiteral("--out"), one})
            .status,
        0);
    const auto package = ReadZip(one);
    EXPECT_TRUE(ZipText(package, "xl/sharedStrings.xml")
                    .contains(QStringLiteral("Axial Load vs Settlement")));
    const QString chart = ZipText(package, "xl/charts/chart1.xml");
    EXPECT_TRUE(chart.contains(QStringLiteral("<c:f>Page_1!$A$6:$A$")));
    EXPECT_TRUE(chart.contains(QStringLiteral("<c:symbol val=\"none\"/>")));
    EXPECT_TRUE(ZipText(package, "xl/charts/chart2.xml").isEmpty());
  }
  const QString project = ExamplePath("user-curves.kv4d");
  for (const QStringList& bad :
       {QStringList{QStringLiteral("--plots"), QStringLiteral("7")},
        QStringList{QStringLiteral("--plots"), QStringLiteral("1,x")},
        QStringList{QStringLiteral("--out")}, QStringList{QStringLiteral("--markers")}}) {
    EXPECT_EQ(Korvan(QStringList{QStringLiteral("export"), project} + bad).status, 64)
        << bad.join(QLatin1Char(' ')).toStdString();
  }
}

}  // namespace
}  // namespace korvan::testing
