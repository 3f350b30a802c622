// korvan plot on an analysed sample project: one picture per graph with
// results, in the chosen format, size and folder; bad requests refused.
#include <QDir>
#include <QImage>
#include <QProcess>

#include "main_window_support.h"

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

}  // namespace
}  // namespace korvan::testing
