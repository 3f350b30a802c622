// The echo of the project data in the report, line by line. Trailing blanks
// are not compared: the report may keep or drop them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "project_reading.h"

namespace korvan {
namespace {

using testing::ProjectParts;
using testing::ReadProject;

std::string B(int blanks) {
  return std::string(blanks, ' ');
}

std::vector<std::string> TrimmedLines(const std::string& text) {
  std::vector<std::string> lines = testing::SplitLines(text);
  for (std::string& line : lines) line.erase(line.find_last_not_of(' ') + 1);
  return lines;
}

std::vector<std::string> Trimmed(std::vector<std::string> lines) {
  for (std::string& line : lines) line.erase(line.find_last_not_of(' ') + 1);
  return lines;
}

std::vector<std::string> Concat(std::vector<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

long Count(const std::vector<std::string>& lines, const std::string& text) {
  return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
    return line.find(text) != std::string::npos;
  });
}

const std::vector<std::string> kTitleSection = {
    "", " Example pile", "", "", "", "  AXIALLY LOADED PILE, CONSTANT OD", ""};

const std::vector<std::string> kEnglishLayerSection = {
    "",
    "",
    B(12) + "LAYER" + B(12) + "SOIL TYPE          XTOP        XBOT",
    B(29) + "                    IN.         IN.",
    B(10) + "    1" + B(4) + "  Driven Pile in Clay   " + B(2) + " 0.000E+00  " + " 6.000E+02",
    "",
    "",
    B(10) + "    XG1        GAM1",
    B(10) + "    IN.       LB/IN**3",
    B(10) + " 0.000E+00  " + " 6.250E-02",
    B(10) + " 6.000E+02  " + " 6.250E-02",
    "",
    "",
    B(7) + "XSTR         C1          EE50        PHI1   BLOW COUNT   UNIT SIDE    UNIT TIP",
    B(7) + " IN.      LB/IN**2                   DEG.                 LB/IN**2    LB/IN**2",
    B(3) + " 0.000E+00   1.000E+01   1.000E-02   0.000E+00   0.000E+00   8.000E+00   9.000E+01",
    B(3) + " 6.000E+02   1.200E+01   1.000E-02   0.000E+00   0.000E+00   9.000E+00   1.000E+02",
    "",
    ""};

const std::vector<std::string> kEnglishPileSection = {
    "",
    B(9) + "  DEPTH" + B(13) + "AE PILE",
    B(12) + "IN." + B(16) + "LBS",
    B(8) + "0.0000E+00" + B(9) + "4.0000E+08",
    B(8) + "4.8000E+02" + B(9) + "4.0000E+08",
    "",
    "",
    "",
    B(8) + "PILE LENGTH" + B(7) + "HEAD COORD." + B(6) + "OUTER DIAMETER" + B(7) + "TOLERANCE",
    B(12) + "IN." + B(16) + "IN." + B(16) + "IN." + B(15) + "IN.",
    B(8) + "4.8000E+02" + B(8) + "0.0000E+00" + B(9) + "1.2000E+01" + B(8) + "1.0000E-03"};

TEST(ProjectEcho, EnglishExampleEchoesTitleLayersAndPile) {
  const testing::Reading reading = ReadProject(ProjectParts{}.Text());
  ASSERT_EQ(reading.error, "");
  // Default tip movements and absent blocks add nothing.
  EXPECT_EQ(TrimmedLines(reading.report),
            Trimmed(Concat({kTitleSection, kEnglishLayerSection, kEnglishPileSection})));
}

TEST(ProjectEcho, WholeRunReportOpensWithTheEcho) {
  const testing::ProjectRun run = testing::RunProject(ProjectParts{}.Text());
  const std::vector<std::string> expected =
      Trimmed(Concat({kTitleSection, kEnglishLayerSection, kEnglishPileSection}));
  std::vector<std::string> lines = TrimmedLines(run.report);
  ASSERT_GE(lines.size(), expected.size()) << run.report;
  lines.resize(expected.size());
  EXPECT_EQ(lines, expected);
}

TEST(ProjectEcho, LoadingAndModificationBlocks) {
  ProjectParts parts;
  parts.tipMovements = "3\n0.5 0.1 0.3";
  parts.loads = "2\n100\n-250";
  parts.settlement = "2\n0 1.5\n600 0";
  parts.tzModification = "1\n2\n0 1.0 2.0\n600 0.5 1.5";
  parts.qwModification = "1\n0.8 1.2";
  const testing::Reading reading = ReadProject(parts.Text());
  ASSERT_EQ(reading.error, "");
  const std::vector<std::string> section5 = {
      "",
      "",
      "",
      B(8) + "USER-DEFINED TIP MOVEMENTS",
      B(12) + "IN.",
      B(8) + "1.0000E-01",
      B(8) + "3.0000E-01",
      B(8) + "5.0000E-01",
      "",
      "",
      B(10) + "   LOADS      ",
      B(10) + "    LB.       ",
      B(4) + "   100.000",
      B(4) + "  -250.000",
      "",
      "",
      B(10) + "   SOIL SETTLEMENT PROFILE",
      "",
      B(10) + "   DEPTH     SETTLEMENT",
      B(10) + "    IN.         IN",
      B(10) + " 0.000E+00   1.500E+00",
      B(10) + " 6.000E+02   0.000E+00",
      "",
      "",
      B(10) + "DEPTH" + B(20) + "t-Multiplier  " + B(10) + "z-Multiplier  ",
      B(10) + "IN.",
      B(7) + " 0.000E+00" + B(18) + " 0.100E+01" + B(15) + " 0.200E+01",
      B(7) + " 0.600E+03" + B(18) + " 0.500E+00" + B(15) + " 0.150E+01",
      "",
      "",
      B(10) + "PILE TIP" + B(17) + "Q-Multiplier  " + B(10) + "w-Multiplier ",
      B(32) + " 8.000E-01" + B(13) + " 1.200E+00"};
  EXPECT_EQ(TrimmedLines(reading.report),
            Trimmed(Concat({kTitleSection, kEnglishLayerSection, kEnglishPileSection, section5})));
}

// Head loads are listed in ten columns after four blanks; one too wide for
// them (a 4.5 MN shaft's load in pounds) keeps its value in exponent form.
TEST(ProjectEcho, HeadLoadsKeepTheirValueInTheirTenColumns) {
  struct HeadLoad {
    const char* load;
    const char* line;
  };
  const HeadLoad loads[] = {
      {"-250", "      -250.000"},  {"999999.9", "    999999.875"},  {"1011600", "    1.0116E+06"},
      {"4.5E6", "    4.5000E+06"}, {"-99999.99", "    -99999.992"}, {"-200000", "    -2.000E+05"},
  };
  for (const HeadLoad& h : loads) {
    ProjectParts parts;
    parts.loads = std::string("1\n") + h.load;
    const std::vector<std::string> lines = testing::SplitLines(ReadProject(parts.Text()).report);
    EXPECT_EQ(Count(lines, h.line), 1) << h.load;
    EXPECT_NE(std::find(lines.begin(), lines.end(), h.line), lines.end()) << h.load;
  }
}

TEST(ProjectEcho, PeakMovementTableOnlyWithAnApiLayer) {
  // Two layers of types 1 and 6 (or 5, or 2); the peak table follows the
  // strength table, between it and the closing lines of the layer echo.
  const std::vector<std::string> peakTable = Trimmed({
      "",
      "",
      B(7) + "XSTR       ZPEAK     tres/tmax",
      B(7) + " IN.        IN.      ",
      B(3) + " 0.000E+00   0.000E+00   0.000E+00",
      B(3) + " 3.000E+02   0.000E+00   0.000E+00",
      B(3) + " 3.000E+02   1.000E-01   9.000E-01",
      B(3) + " 6.000E+02   2.000E-01   8.000E-01",
  });
  const std::vector<std::string> closing = {"", ""};
  for (const char* secondType : {"6", "5", "2"}) {
    const bool api = secondType[0] != '2';
    ProjectParts parts;
    parts.soil = std::string("2\n1 1 0.0 300.0\n2 ") + secondType +
                 " 300.0 600.0\n"
                 "0.0625 10 0 0.01 0 0.0 0.0 8 90\n0.0625 12 0 0.01 0 0.0 0.0 9 100\n"
                 "0.07 0 35 0.01 0 0.1 0.9 1 2\n0.07 0 36 0.01 0 0.2 0.8 3 4";
    const testing::Reading reading = ReadProject(parts.Text());
    ASSERT_EQ(reading.error, "") << secondType;
    const std::vector<std::string> lines = TrimmedLines(reading.report);
    // Two layer lines, four unit-weight rows, four strength rows.
    EXPECT_EQ(Count(lines, "Driven Pile in "), 2);
    EXPECT_EQ(Count(lines, B(10) + " 3.000E+02   7.000E-02"), 1);
    EXPECT_EQ(Count(lines, B(10) + " 6.000E+02   7.000E-02"), 1);
    EXPECT_EQ(Count(lines, B(3) + " 6.000E+02   0.000E+00   1.000E-02   3.600E+01"), 1);

    const auto strengthEnd =
        std::find(lines.begin(), lines.end(),
                  B(3) +
                      " 6.000E+02   0.000E+00   1.000E-02   3.600E+01   0.000E+00   "
                      "3.000E+00   4.000E+00");
    ASSERT_NE(strengthEnd, lines.end()) << secondType;
    const std::vector<std::string> expectedTail =
        api ? Concat({peakTable, closing}) : Trimmed(closing);
    const std::vector<std::string> tail(strengthEnd + 1,
                                        strengthEnd + 1 + static_cast<long>(expectedTail.size()));
    EXPECT_EQ(tail, expectedTail) << secondType;
    EXPECT_EQ(Count(lines, "ZPEAK"), api ? 1 : 0) << secondType;
  }
}

TEST(ProjectEcho, SiFormsOfHeadingsAndLabels) {
  ProjectParts parts;
  parts.control = "100 0 2";
  parts.loads = "1\n100";
  parts.settlement = "1\n0 0.01";
  parts.tzModification = "1\n0";
  parts.soil = "1\n1 6 0.0 20.0\n10 0 35 0.01 0 0.0 0.0 8 90\n10 0 36 0.01 0 0.0 0.0 9 100";
  const testing::Reading reading = ReadProject(parts.Text());
  ASSERT_EQ(reading.error, "");
  const std::vector<std::string> lines = TrimmedLines(reading.report);
  const std::vector<std::string> expectedHeadings = {
      B(30) + "                    M.          M.",
      B(10) + "     M        kN/M**3",
      B(7) + "  M.       kN/M**2                   DEG.                  kN/M**2     kN/M**2",
      B(7) + "  M.         M.",
      B(12) + " M." + B(16) + "KN.",
      B(12) + " M." + B(16) + " M." + B(16) + " M." + B(15) + " M.",
      B(10) + "    KN",
      B(10) + "     M           M",
      B(10) + " M."};
  for (const std::string& heading : expectedHeadings) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), heading), lines.end()) << heading;
  }
  EXPECT_EQ(Count(lines, "IN."), 0);
  EXPECT_EQ(Count(lines, "LB"), 0);
  EXPECT_EQ(reading.ctx->labels.StressLabel, "KPA");
  EXPECT_EQ(reading.ctx->labels.AreaLabel, " SQ M");
}

TEST(ProjectEcho, OtherUnitSystemsLeaveOutUnitHeadingsButKeepData) {
  ProjectParts parts;
  parts.control = "100 0 3";
  parts.loads = "1\n100";
  parts.settlement = "1\n0 0.01";
  const testing::Reading reading = ReadProject(parts.Text());
  ASSERT_EQ(reading.error, "");
  const std::vector<std::string> lines = TrimmedLines(reading.report);
  for (const char* heading : {"LAYER", "XG1", "BLOW COUNT", "LOADS", "SOIL SETTLEMENT"}) {
    EXPECT_EQ(Count(lines, heading), 0) << heading;
  }
  EXPECT_EQ(Count(lines, "  Driven Pile in Clay"), 1);
  EXPECT_EQ(Count(lines, B(10) + " 0.000E+00   6.250E-02"), 1);
  EXPECT_EQ(Count(lines, B(7) + "100.000"), 1);
  EXPECT_EQ(Count(lines, B(10) + " 0.000E+00   1.000E-02"), 1);
  // Headings that take their units from the labels stay, with the SI labels.
  EXPECT_EQ(Count(lines, "AE PILE"), 1);
  EXPECT_EQ(Count(lines, B(12) + " M." + B(16) + "KN."), 1);
}

TEST(ProjectEcho, TitleLongerThan72CharactersIsCut) {
  ProjectParts parts;
  parts.title = std::string(70, 'T') + "ABCDEF";
  const std::vector<std::string> lines = testing::SplitLines(ReadProject(parts.Text()).report);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[1], " " + std::string(70, 'T') + "AB");
}

TEST(ProjectEcho, UserCurvesAloneEchoNoLayerSection) {
  ProjectParts parts;
  parts.methods = "2 2";
  parts.userTz = "1\n1 0.0 2\n0 0\n5 0.1";
  parts.userQw = "2\n0 0 1000 0.2";
  parts.soil.clear();
  const testing::Reading reading = ReadProject(parts.Text());
  ASSERT_EQ(reading.error, "");
  EXPECT_EQ(TrimmedLines(reading.report), Trimmed(Concat({kTitleSection, kEnglishPileSection})));
}

}  // namespace
}  // namespace korvan
