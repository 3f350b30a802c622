// Plot data files far beyond any run: a huge file, a line of 10 MB without a
// break, and counts of 2^31 - 1 in every place of the file are refused
// (the main window then says the run failed) within seconds and without
// taking memory beyond a few times the largest file read.
#include <string>
#include <vector>

#include "support/project_fixtures.h"
#include "support/resource_limits.h"

namespace korvan::testing {
namespace {

// A valid file with one t-z curve, two tip movements over two increments
// and one converged head load; each count is a placeholder.
const char* const kCountedResult =
    "{curves}\n1 {curvePoints} 0\n 0 0\n 2 0.1\n 3 1\n"
    "{tipPoints}\n0 0\n100 1\n"
    "{lines} {points} 1\n 60 900 0.1\n 120 500 0.05\n 60 1900 0.3\n 120 1000 0.2\n"
    "1000 0.12 0.1 400\n2000 0.35 0.3 700\n"
    "{cases} {casePoints} 1\n1\n1000 0.12 0.1 400\n 60 900 0.1\n 120 500 0.05\n";

// The valid file with the counts named in `changed` ("lines=0 ...") set to
// their values and those named alone set to 2^31 - 1.
QString CountedResult(const QString& changed) {
  const QList<std::pair<QString, int>> valid = {
      {QStringLiteral("curves"), 1},    {QStringLiteral("curvePoints"), 3},
      {QStringLiteral("tipPoints"), 2}, {QStringLiteral("lines"), 2},
      {QStringLiteral("points"), 2},    {QStringLiteral("cases"), 1},
      {QStringLiteral("casePoints"), 2}};
  QString text = QString::fromLatin1(kCountedResult);
  for (const auto& [name, count] : valid) {
    QString value = QString::number(count);
    for (const QString& change : changed.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
      const QStringList parts = change.split(QLatin1Char('='));
      if (parts[0] == name) value = parts.size() > 1 ? parts[1] : QStringLiteral("2147483647");
    }
    text.replace(QLatin1Char('{') + name + QLatin1Char('}'), value);
  }
  return text;
}

class PlotLimitsTest : public GraphsTest {
 protected:
  void SetUp() override {
    GraphsTest::SetUp();
    Project().Nloadmethod = 2;
  }

  bool ReadCheaply(const QString& path) {
    bool read = true;
    const TResourceUsage usage =
        MeasureUsage([&] { read = Graphs().ReadPlotData(path, Project()); });
    EXPECT_LT(usage.seconds, kSecondsAllowed) << path.toStdString();
    if (usage.peakGrowthMB) EXPECT_LT(*usage.peakGrowthMB, kMegabytesAllowed) << path.toStdString();
    return read;
  }
};

TEST_F(PlotLimitsTest, CountsOfTheLargestIntegerAreRefusedWherever) {
  const QString path = PathOf(QStringLiteral("p.kv4p"));
  ASSERT_TRUE(ReadCheaply(WriteText(path, CountedResult({}))));
  ASSERT_EQ(Graphs().pltLoadLoads().LineCount(), 1);
  // "lines points=0" is the fuzzer's finding: lines without points took
  // memory for every line before the summary words of the lines were missed.
  for (const char* huge :
       {"curves", "curvePoints", "tipPoints", "lines", "points", "lines points", "lines points=0",
        "curves=20000 curvePoints=0", "cases", "cases casePoints=0", "casePoints"}) {
    SCOPED_TRACE(huge);
    EXPECT_FALSE(ReadCheaply(WriteText(path, CountedResult(QString::fromLatin1(huge)))));
  }
}

TEST_F(PlotLimitsTest, HugeFilesAndEndlessLinesAreRefused) {
  const std::string path = PathOf(QStringLiteral("p.kv4p")).toStdString();
  struct TBigFile {
    const char* name;
    std::size_t bytes;
    const char* pattern;
  };
  for (const TBigFile& big : std::vector<TBigFile>{
           {"a hundred megabytes of digits", kHugeFileBytes, "0123456789"},
           {"a line of ten megabytes", kLongLineBytes, "7"},
       }) {
    SCOPED_TRACE(big.name);
    ASSERT_TRUE(WriteRepeatedFile(path, "", big.pattern, big.bytes));
    EXPECT_FALSE(ReadCheaply(QString::fromStdString(path)));
  }
}

}  // namespace
}  // namespace korvan::testing
