// korvan convert, end to end: every sample project converted by the program
// gives the engine the same results as the original, and a file that cannot
// be read whole produces nothing.
#include <QDir>
#include <QProcess>

#include "runner/engine_runner.h"
#include "support/project_fixtures.h"

namespace korvan::testing {
namespace {

struct TConvert {
  int exitCode = -1;
  QString errors;
};

TConvert Convert(const QString& input, const QString& output) {
  QProcess korvan;
  korvan.start(QStringLiteral(KORVAN_BIN_DIR "/korvan"),
               {QStringLiteral("convert"), input, output});
  korvan.waitForFinished(60000);
  return {korvan.exitStatus() == QProcess::NormalExit ? korvan.exitCode() : -1,
          QString::fromUtf8(korvan.readAllStandardError())};
}

QByteArray PlotOf(const QString& dataFile) {
  const EngineRun run = RunEngine(dataFile.toStdString(), KORVAN_BIN_DIR, UserIdentification{});
  EXPECT_TRUE(run.called && run.result == 0) << run.failure;
  QString plot = dataFile;
  plot.replace(QStringLiteral(".kv4d"), QStringLiteral(".kv4p"));
  return ReadBytes(plot);
}

// What the program analyses of a sample project: a file that holds both
// user tip movements and head loads opens with the head loads as its load
// method, and its tip movements are no longer written.
QString AsTheProgramKeepsIt(const QString& name, QString text) {
  if (name == QStringLiteral("api-clay-sand.kv4d")) {
    text.replace(QStringLiteral("\n8\n0.5 0.05 0.01 0.2 1.0 0.1 -0.05 -0.2\n"),
                 QStringLiteral("\n0\n"));
  }
  return text;
}

TEST_F(ProjectTest, ConvertedExamplesGiveTheEngineTheSameResults) {
  const QStringList examples =
      QDir(QStringLiteral(KORVAN_EXAMPLES_DIR)).entryList({QStringLiteral("*.kv4d")});
  ASSERT_GE(examples.size(), 5);
  for (const QString& name : examples) {
    SCOPED_TRACE(name.toStdString());
    const QString original = QDir(QStringLiteral(KORVAN_EXAMPLES_DIR)).filePath(name);
    const QString expected =
        WriteFile("expected-" + name, AsTheProgramKeepsIt(name, ReadBytes(original)));
    const TConvert convert = Convert(original, PathOf("converted-" + name));
    ASSERT_EQ(convert.exitCode, 0) << convert.errors.toStdString();
    EXPECT_EQ(PlotOf(PathOf("converted-" + name)), PlotOf(expected));
  }
}

TEST_F(ProjectTest, ConvertWritesNothingFromAFileItCannotReadWhole) {
  const QString output = WriteFile("out.kv4d", QStringLiteral("kept\n"));
  const QString truncated = WriteFile("old.kv3d", QStringLiteral("Old pile\n40 0 1\n2\n1\n"));
  TConvert convert = Convert(truncated, output);
  EXPECT_EQ(convert.exitCode, 65);
  EXPECT_TRUE(convert.errors.contains(QStringLiteral("This file either invalid or incomplete.")))
      << convert.errors.toStdString();
  convert = Convert(WriteFile("notes.txt", QStringLiteral("1\n")), output);
  EXPECT_EQ(convert.exitCode, 64);
  EXPECT_EQ(ReadBytes(output), "kept\n");
  EXPECT_EQ(QDir(PathOf({})).entryList(QDir::Files).size(), 3);
}

}  // namespace
}  // namespace korvan::testing
