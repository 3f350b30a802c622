// Whole runs through the engine that end in the curve stage: the report's
// curve listings, the curve blocks of the plot file, and the runs a soil
// profile too short for a needed depth stops with its code and warning.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "engine/run_context.h"
#include "project_reading.h"
#include "test_support.h"

namespace korvan {
namespace {

using testing::ProjectParts;
using testing::ProjectRun;
using testing::RunProject;
using testing::Words;

constexpr const char* kRow = "0.0625 10 0.0 0.01 0 0.0 0.0 8 90";
constexpr const char* kWarningTitle = "                             **** WARNING ****";

std::string WarningLine(const std::string& x, const std::string& tail) {
  return "     THE VALUE OF X =" + x + "IS BEYOND THE EXTENT OF/     " + tail;
}

// The index of the first line equal to `text`, or lines.size().
std::size_t Find(const std::vector<std::string>& lines, const std::string& text) {
  std::size_t i = 0;
  while (i < lines.size() && lines[i] != text) ++i;
  return i;
}

// A pile of `plen` in `ninc` increments in one clay layer from 0 to `bottom`.
ProjectParts ClayPile(const std::string& bottom, const std::string& ninc, const std::string& plen) {
  ProjectParts parts;
  parts.control = ninc + " 0 1";
  parts.soil = "1\n1 1 0.0 " + bottom + "\n" + kRow + "\n" + kRow;
  parts.ae = "2\n4.0E+08 0.0\n4.0E+08 " + plen;
  parts.pile = "0.001 " + plen + " 0.0 12.0 113.1";
  return parts;
}

TEST(CurveRuns, ExampleProjectListsTheGeneratedCurves) {
  const ProjectRun run = RunProject(ProjectParts{}.Text());
  EXPECT_EQ(run.result, kRunCompleted);
  const auto lines = run.ReportLines();
  const std::size_t caption = Find(lines, "     INTERNALLY GENERATED T-Z CURVES");
  ASSERT_LT(caption + 12, lines.size());
  EXPECT_EQ(lines[caption - 1], "");
  EXPECT_EQ(lines[caption - 2], "");
  EXPECT_EQ(lines[caption + 3], "    T-Z       NO. OF    DEPTH TO    LOAD TRANSFER  PILE");
  EXPECT_EQ(lines[caption + 4], "   CURVE NO.  POINTS    CURVE,IN.   TRANSFER,PSI   MOVEMENT,IN.");
  EXPECT_EQ(lines[caption + 5], "");
  EXPECT_EQ(lines[caption + 6], "      1         10      0.0000E+00");
  EXPECT_EQ(lines[caption + 7], "                                    0.0000E+00     0.0000E+00");
  // Point 6 of curve 1: tmax = 8 psi at 0.08 inch.
  EXPECT_EQ(lines[caption + 12], "                                    8.0000E+00     8.0000E-02");
  // Curve 4 lies at 449.995, curve 5 at 599.99 (0.01 above the bottom).
  EXPECT_EQ(lines[caption + 6 + 3 * 11], "      4         10      0.4500E+03");
  EXPECT_EQ(lines[caption + 6 + 4 * 11], "      5         10      0.6000E+03");

  const std::size_t tip = Find(lines, "     INTERNALLY GENERATED Q-W CURVE");
  ASSERT_LT(tip + 14, lines.size());
  EXPECT_GT(tip, caption);
  EXPECT_EQ(lines[tip + 3], "        TIP   LOAD        TIP MOVEMENT");
  EXPECT_EQ(lines[tip + 4], "            LBS               IN.");
  EXPECT_EQ(lines[tip + 5], "        0.0000E+00         0.0000E+00");
  // Type 1 at 480 in: q = UTIP = 90 + 10 * 480 / 600 = 98 psi on 113.1 sq in,
  // w50 = 2 * 0.01 * 12 = 0.24 in, Qmax reached at 4 w50.
  EXPECT_EQ(Words(lines[tip + 13]), (std::vector<std::string>{"1.1084E+04", "9.6000E-01"}));
  EXPECT_EQ(Words(lines[tip + 14]), (std::vector<std::string>{"1.1084E+04", "9.6000E+00"}));

  const auto plot = run.PlotLines();
  ASSERT_GT(plot.size(), 57u);
  EXPECT_EQ(Words(plot[0]), std::vector<std::string>{"5"});
  EXPECT_EQ(plot[1], "      1         10      0.0000E+00");
  EXPECT_EQ(plot[7], "                                    8.0000E+00     8.0000E-02");
  EXPECT_EQ(Words(plot[56]), std::vector<std::string>{"10"});
  EXPECT_EQ(plot[57], "        0.0000E+00         0.0000E+00");
}

TEST(CurveRuns, SiListingsCarryTheSiLabelsAndUnits) {
  ProjectParts parts;
  parts.control = "10 0 2";
  parts.soil = "1\n1 1 0.0 20.0\n18 50 0 0.01 0 0 0 40 0\n18 50 0 0.01 0 0 0 40 0";
  parts.ae = "2\n4.0E+06 0.0\n4.0E+06 15.0";
  parts.pile = "0.00001 15.0 0.0 0.5 0.196";
  const ProjectRun run = RunProject(parts.Text());
  EXPECT_EQ(run.result, kRunCompleted);
  const auto lines = run.ReportLines();
  const std::size_t caption = Find(lines, "     INTERNALLY GENERATED T-Z CURVES");
  ASSERT_LT(caption + 8, lines.size());
  EXPECT_EQ(lines[caption + 4], "   CURVE NO.  POINTS    CURVE, M.   TRANSFER,KPA   MOVEMENT, M.");
  // 0.18 tmax at 0.01 inch.
  EXPECT_EQ(lines[caption + 8], "                                    7.2000E+00     2.5400E-04");
  const std::size_t tip = Find(lines, "     INTERNALLY GENERATED Q-W CURVE");
  ASSERT_LT(tip + 14, lines.size());
  EXPECT_EQ(lines[tip + 4], "            KN.                M.");
  // Qmax = 9 * 50 kPa * 0.196 m2 = 88.2 kN, reached at 4 w50 = 0.04 m.
  EXPECT_EQ(Words(lines[tip + 13]), (std::vector<std::string>{"8.8200E+01", "4.0000E-02"}));
  EXPECT_EQ(Words(lines[tip + 14]), (std::vector<std::string>{"8.8200E+01", "4.0000E-01"}));
}

TEST(CurveRuns, AtMostThirtyGeneratedCurvesArePlotted) {
  ProjectParts parts;
  std::string soil = "8\n";
  for (int i = 0; i < 8; ++i) {
    soil += std::to_string(i + 1) + " 2 " + std::to_string(i * 75) + " " +
            std::to_string((i + 1) * 75) + "\n";
  }
  for (int i = 0; i < 16; ++i) soil += std::string("0.0625 0 30 0 0 0 0 8 90\n");
  soil.pop_back();
  parts.soil = soil;
  const ProjectRun run = RunProject(parts.Text());
  EXPECT_EQ(run.result, kRunCompleted);
  const auto lines = run.ReportLines();
  const std::size_t caption = Find(lines, "     INTERNALLY GENERATED T-Z CURVES");
  ASSERT_LT(caption + 6 + 39 * 11, lines.size());
  EXPECT_EQ(Words(lines[caption + 6 + 39 * 11])[0], "40");
  const auto plot = run.PlotLines();
  ASSERT_GT(plot.size(), 30u * 11 + 1);
  EXPECT_EQ(Words(plot[0]), std::vector<std::string>{"30"});
  EXPECT_EQ(Words(plot[1 + 29 * 11])[0], "30");
  EXPECT_EQ(Words(plot[1 + 30 * 11]), std::vector<std::string>{"10"});  // the tip curve
}

TEST(CurveRuns, UserCurvesAreEchoedAndPlottedAsRead) {
  ProjectParts parts;
  parts.methods = "2 2";
  parts.soil.clear();
  std::string tz = "3\n";
  for (int k = 1; k <= 3; ++k) {
    tz += std::to_string(k) + " " + std::to_string(k * 100) + ".0 3\n0 0\n5 0.1\n6 1.0\n";
  }
  tz.pop_back();
  parts.userTz = tz;
  parts.userQw = "2\n0 0 5000 0.5";
  const ProjectRun run = RunProject(parts.Text());
  EXPECT_EQ(run.result, kRunCompleted);
  const auto lines = run.ReportLines();
  const std::size_t tzCaption = Find(lines, "     USER-DEFINED T-Z CURVES");
  const std::size_t qwCaption = Find(lines, "     USER-DEFINED Q-W CURVE");
  ASSERT_LT(qwCaption + 6, lines.size());
  EXPECT_LT(tzCaption, qwCaption);
  EXPECT_EQ(lines[tzCaption + 6], "      1          3      0.1000E+03");
  EXPECT_EQ(Words(lines[tzCaption + 8]), (std::vector<std::string>{"5.0000E+00", "1.0000E-01"}));
  EXPECT_EQ(Words(lines[qwCaption + 6]), (std::vector<std::string>{"5.0000E+03", "5.0000E-01"}));
  EXPECT_EQ(Find(lines, "     INTERNALLY GENERATED T-Z CURVES"), lines.size());
  EXPECT_EQ(Find(lines, "     INTERNALLY GENERATED Q-W CURVE"), lines.size());
  const auto plot = run.PlotLines();
  ASSERT_GT(plot.size(), 15u);
  EXPECT_EQ(Words(plot[0]), std::vector<std::string>{"3"});
  EXPECT_EQ(Words(plot[13]), std::vector<std::string>{"2"});
}

TEST(CurveRuns, IncrementBelowTheLayersStopsWithCodeSix) {
  // Layers end at 10; with 21 increments of 0.5 the lowest mid-depth is 10.25.
  const ProjectRun run = RunProject(ClayPile("10.0", "21", "10.5").Text());
  EXPECT_EQ(run.result, kSideFrictionProfileShort);
  const auto lines = run.ReportLines();
  ASSERT_GE(lines.size(), 4u);
  const std::size_t n = lines.size();
  const auto count = Words(lines[n - 4]);
  ASSERT_EQ(count.size(), 2u);
  EXPECT_EQ(count[0], "2");
  EXPECT_EQ(std::stof(count[1]), 10.0f);
  EXPECT_EQ(lines[n - 3], "");
  EXPECT_EQ(lines[n - 2], kWarningTitle);
  EXPECT_EQ(lines[n - 1], WarningLine(" 0.10E+02", "THE INPUT STRENGTH CURVE"));
  // The report set was listed and plotted before the analysis set failed.
  EXPECT_LT(Find(lines, "     INTERNALLY GENERATED T-Z CURVES"), n);
  const auto plot = run.PlotLines();
  ASSERT_EQ(plot.size(), 1u + 5 * 11);
  EXPECT_EQ(Words(plot[0]), std::vector<std::string>{"5"});

  // One increment: its curve lies at 5.25 and is generated; the run then
  // stops at the tip, which lies below the layers.
  const ProjectRun one = RunProject(ClayPile("10.0", "1", "10.5").Text());
  EXPECT_EQ(one.result, kStrengthProfileShort);
  EXPECT_EQ(one.ReportLines().back(), WarningLine(" 0.11E+02", "THE INPUT STRENGTH CURVE"));
}

TEST(CurveRuns, TipBelowTheDeepestLayerStopsWithCodeFive) {
  // The lowest mid-depth (597.5) still lies in the layer; the tip does not.
  const ProjectRun run = RunProject(ClayPile("600.0", "100", "600.5").Text());
  EXPECT_EQ(run.result, kStrengthProfileShort);
  const auto lines = run.ReportLines();
  ASSERT_GE(lines.size(), 3u);
  const std::size_t n = lines.size();
  EXPECT_EQ(lines[n - 3], "");
  EXPECT_EQ(lines[n - 2], kWarningTitle);
  EXPECT_EQ(lines[n - 1], WarningLine(" 0.60E+03", "THE INPUT STRENGTH CURVE"));
  EXPECT_EQ(Find(lines, "     INTERNALLY GENERATED Q-W CURVE"), n);
  EXPECT_EQ(run.PlotLines().size(), 1u + 5 * 11);  // the t-z curves alone
}

TEST(CurveRuns, ProfileEndingAboveTheTipStopsWithCodeEightForSand) {
  // User t-z curves, a generated sand tip at 100 in the first layer, and a
  // last layer written bottom above top: the profile's last row lies at 50.
  ProjectParts parts;
  parts.methods = "2 1";
  parts.userTz = "1\n1 0.0 2\n0 0\n5 0.1";
  parts.soil = std::string("2\n1 2 0.0 100.0\n2 2 100.0 50.0\n") + kRow + "\n" + kRow + "\n" +
               kRow + "\n" + kRow;
  parts.ae = "2\n4.0E+08 0.0\n4.0E+08 100.0";
  parts.pile = "0.001 100.0 0.0 12.0 113.1";
  const ProjectRun run = RunProject(parts.Text());
  EXPECT_EQ(run.result, kStrengthTypeProfileShort);
  const auto lines = run.ReportLines();
  ASSERT_GE(lines.size(), 1u);
  EXPECT_EQ(lines.back(), WarningLine(" 0.10E+03", "THE INPUT STRENGTH CURVE"));
  // The same data with a clay tip fail on the strain lookup: code 5.
  parts.soil = std::string("2\n1 1 0.0 100.0\n2 1 100.0 50.0\n") + kRow + "\n" + kRow + "\n" +
               kRow + "\n" + kRow;
  EXPECT_EQ(RunProject(parts.Text()).result, kStrengthProfileShort);
}

}  // namespace
}  // namespace korvan
