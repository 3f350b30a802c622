// Every kind of input the reader refuses: the run ends with result code 3 and
// a report line naming the record and the line, and nothing crashes.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/run_context.h"
#include "project_reading.h"
#include "test_support.h"

namespace korvan {
namespace {

using testing::ProjectParts;

struct BadInput {
  const char* name;
  std::function<void(ProjectParts&)> change;
  const char* message;  // the beginning of the expected error message
};

const std::vector<BadInput>& BadInputs() {
  static const std::vector<BadInput> cases = {
      // Words that are no number of the kind the record needs.
      {"IntegerWithDecimalPoint", [](ProjectParts& p) { p.control = "100.0 0 1"; },
       "RECORD 2 (NINC LSO NUNIT), LINE 2: \"100.0\" is not an integer"},
      {"IntegerWithExponent", [](ProjectParts& p) { p.methods = "1 1E0"; },
       "RECORD 3 (METHODTZ METHODQW), LINE 3: \"1E0\" is not an integer"},
      {"WordInPileRecord", [](ProjectParts& p) { p.pile = "0.001 abc 0.0 12.0 113.1"; },
       "RECORD 8 (TOL PLEN HEAD DIAM TIPAREA), LINE 11: \"abc\" is not a number"},
      {"WordInPropertyRow",
       [](ProjectParts& p) {
         p.soil = "1\n1 1 0.0 600.0\n0.0625 10 0.0 0.01 0 0.0 0.0 8 90\n0.0625 12 x 0.01 0 0 0 9 1";
       },
       "RECORD 6 (PROPERTY ROW 2), LINE 7: \"x\" is not a number"},
      {"RealAsLayerNumber", [](ProjectParts& p) { p.soil.replace(2, 3, "1.0 1"); },
       "RECORD 6 (LAYER 1), LINE 5: \"1.0\" is not an integer"},
      {"WordInLoad", [](ProjectParts& p) { p.loads = "1\n-250kN"; },
       "RECORD 10 (PLOAD 1), LINE 14: \"-250kN\" is not a number"},
      // Counts and codes outside the engine's storage.
      {"NincZero", [](ProjectParts& p) { p.control = "0 0 1"; },
       "RECORD 2 (NINC LSO NUNIT), LINE 2: NINC = 0 is outside 1..500"},
      {"NincNegative", [](ProjectParts& p) { p.control = "-10 0 1"; },
       "RECORD 2 (NINC LSO NUNIT), LINE 2: NINC = -10 is outside 1..500"},
      {"Ninc501", [](ProjectParts& p) { p.control = "501 0 1"; },
       "RECORD 2 (NINC LSO NUNIT), LINE 2: NINC = 501 is outside 1..500"},
      {"SoilTypeZero", [](ProjectParts& p) { p.soil.replace(4, 1, "0"); },
       "RECORD 6 (LAYER 1), LINE 5: soil type KSOIL = 0 is outside 1..6"},
      {"SoilTypeSeven", [](ProjectParts& p) { p.soil.replace(4, 1, "7"); },
       "RECORD 6 (LAYER 1), LINE 5: soil type KSOIL = 7 is outside 1..6"},
      {"NlayerNegative", [](ProjectParts& p) { p.soil = "-1"; },
       "RECORD 6 (NLAYER), LINE 4: NLAYER = -1 is outside 1..30"},
      {"NlayerZero", [](ProjectParts& p) { p.soil = "0"; },
       "RECORD 6 (NLAYER), LINE 4: NLAYER = 0 is outside 1..30"},
      {"Nlayer31", [](ProjectParts& p) { p.soil = "31"; },
       "RECORD 6 (NLAYER), LINE 4: NLAYER = 31 is outside 1..30"},
      {"NtzNegative", [](ProjectParts& p) { p = ProjectParts::WithUserCurves(), p.userTz = "-1"; },
       "RECORD 4 (NTZ), LINE 4: NTZ = -1 is outside 1..200"},
      {"NtzZero", [](ProjectParts& p) { p = ProjectParts::WithUserCurves(), p.userTz = "0"; },
       "RECORD 4 (NTZ), LINE 4: NTZ = 0 is outside 1..200"},
      {"Ntz201", [](ProjectParts& p) { p = ProjectParts::WithUserCurves(), p.userTz = "201"; },
       "RECORD 4 (NTZ), LINE 4: NTZ = 201 is outside 1..200"},
      {"NptzNegative",
       [](ProjectParts& p) { p = ProjectParts::WithUserCurves(), p.userTz = "1\n1 0.0 -2"; },
       "RECORD 4 (T-Z CURVE 1), LINE 5: NPTZ = -2 is outside 1..200"},
      {"Nptz201",
       [](ProjectParts& p) { p = ProjectParts::WithUserCurves(), p.userTz = "1\n1 0.0 201"; },
       "RECORD 4 (T-Z CURVE 1), LINE 5: NPTZ = 201 is outside 1..200"},
      {"NqwNegative",
       [](ProjectParts& p) { p = ProjectParts::WithUserCurves(), p.userQw = "-1\n0 0"; },
       "RECORD 5 (NQW), LINE 8: NQW = -1 is outside 0..50"},
      {"Nqw51", [](ProjectParts& p) { p = ProjectParts::WithUserCurves(), p.userQw = "51\n0 0"; },
       "RECORD 5 (NQW), LINE 8: NQW = 51 is outside 0..50"},
      {"NaeNegative", [](ProjectParts& p) { p.ae = "-1"; },
       "RECORD 7 (NAE), LINE 8: NAE = -1 is outside 0..50"},
      {"Nae51", [](ProjectParts& p) { p.ae = "51"; },
       "RECORD 7 (NAE), LINE 8: NAE = 51 is outside 0..50"},
      {"NaeZeroAfterItsEmptyPairLine", [](ProjectParts& p) { p.ae = "0\nthe empty pair list"; },
       "RECORD 7 (AEPILE XAE PAIRS), LINE 9: NAE = 0: the AE table needs at least 2 points"},
      {"NaeOne", [](ProjectParts& p) { p.ae = "1\n4.0E+08 0.0"; },
       "RECORD 7 (AEPILE XAE PAIRS), LINE 9: NAE = 1: the AE table needs at least 2 points"},
      {"AeZero", [](ProjectParts& p) { p.ae = "2\n4.0E+08 0.0\n0 480.0"; },
       "RECORD 7 (AEPILE XAE PAIRS), LINE 10: AEPILE 2 must be greater than 0"},
      {"AeNegative", [](ProjectParts& p) { p.ae = "2\n-4.0E+08 0.0\n4.0E+08 480.0"; },
       "RECORD 7 (AEPILE XAE PAIRS), LINE 9: AEPILE 1 must be greater than 0"},
      {"PileLengthZero", [](ProjectParts& p) { p.pile = "0.001 0.0 0.0 12.0 113.1"; },
       "RECORD 8 (TOL PLEN HEAD DIAM TIPAREA), LINE 11: PLEN must be greater than 0"},
      {"NtipmvNegative", [](ProjectParts& p) { p.tipMovements = "-1"; },
       "RECORD 9 (NTIPMV), LINE 12: NTIPMV = -1 is outside 0..100"},
      {"Ntipmv101", [](ProjectParts& p) { p.tipMovements = "101"; },
       "RECORD 9 (NTIPMV), LINE 12: NTIPMV = 101 is outside 0..100"},
      {"NloadNegative", [](ProjectParts& p) { p.loads = "-3"; },
       "RECORD 10 (NLOAD), LINE 13: NLOAD = -3 is outside 0..50"},
      {"Nload51", [](ProjectParts& p) { p.loads = "51"; },
       "RECORD 10 (NLOAD), LINE 13: NLOAD = 51 is outside 0..50"},
      {"NsetNegative", [](ProjectParts& p) { p.settlement = "-1"; },
       "RECORD 11 (NSET), LINE 14: NSET = -1 is outside 0..100"},
      {"Nset101", [](ProjectParts& p) { p.settlement = "101"; },
       "RECORD 11 (NSET), LINE 14: NSET = 101 is outside 0..100"},
      {"NmodNegative", [](ProjectParts& p) { p.tzModification = "1\n-1"; },
       "RECORD 12 (NMOD), LINE 16: NMOD = -1 is outside 0..50"},
      {"Nmod51", [](ProjectParts& p) { p.tzModification = "1\n51"; },
       "RECORD 12 (NMOD), LINE 16: NMOD = 51 is outside 0..50"},
      {"CountTooLargeForItsValues",
       [](ProjectParts& p) {
         p.loads = "2\n100";
         p.settlement = p.tzModification = p.qwModification = "";
       },
       "RECORD 10 (PLOAD 2), LINE 14: the file ends before the record is complete"},
  };
  return cases;
}

void PrintTo(const BadInput& input, std::ostream* out) {
  *out << input.name;
}

class ReaderRejects : public ::testing::TestWithParam<BadInput> {};

TEST_P(ReaderRejects, NamingRecordAndLine) {
  ProjectParts parts;
  GetParam().change(parts);
  const std::string text = parts.Text();

  const testing::Reading reading = testing::ReadProject(text);
  EXPECT_EQ(reading.error.rfind(GetParam().message, 0), 0u)
      << "expected: " << GetParam().message << "\nactual:   " << reading.error;

  const testing::ProjectRun run = testing::RunProject(text);
  EXPECT_EQ(run.result, kProjectDataError);
  EXPECT_NE(run.report.find("**** ERROR IN THE PROJECT DATA FILE ****"), std::string::npos);
  EXPECT_NE(run.report.find("     " + reading.error + "\n"), std::string::npos) << run.report;
}

INSTANTIATE_TEST_SUITE_P(BadInput, ReaderRejects, ::testing::ValuesIn(BadInputs()),
                         [](const auto& info) { return std::string(info.param.name); });

// A file cut after any line ends the run in the record that was being read.
struct Truncation {
  int linesKept;
  const char* record;
};

TEST(ReaderRejects, FileEndingEarlyInEveryRecord) {
  ProjectParts parts;
  parts.loads = "1\n100";
  parts.settlement = "1\n0 0.1";
  parts.tzModification = "1\n1\n0 1 1";
  parts.qwModification = "1\n1 1";
  const std::vector<Truncation> cuts = {{0, "1 (TITLE)"},
                                        {1, "2 (NINC LSO NUNIT)"},
                                        {2, "3 (METHODTZ METHODQW)"},
                                        {3, "6 (NLAYER)"},
                                        {4, "6 (LAYER 1)"},
                                        {5, "6 (PROPERTY ROW 1)"},
                                        {6, "6 (PROPERTY ROW 2)"},
                                        {7, "7 (NAE)"},
                                        {8, "7 (AEPILE XAE PAIRS)"},
                                        {9, "7 (AEPILE XAE PAIRS)"},
                                        {10, "8 (TOL PLEN HEAD DIAM TIPAREA)"},
                                        {11, "9 (NTIPMV)"},
                                        {12, "10 (NLOAD)"},
                                        {13, "10 (PLOAD 1)"},
                                        {14, "11 (NSET)"},
                                        {15, "11 (SETTLEMENT ROW 1)"},
                                        {16, "12 (KMODTZ)"},
                                        {17, "12 (NMOD)"},
                                        {18, "12 (MODIFICATION ROW 1)"},
                                        {19, "13 (KMODQW)"},
                                        {20, "13 (QMULT WMULT)"}};
  const std::vector<std::string> lines = testing::SplitLines(parts.Text());
  ASSERT_EQ(lines.size(), 21u);
  ASSERT_EQ(testing::ReadProject(parts.Text()).error, "");
  for (const Truncation& cut : cuts) {
    std::string text;
    for (int i = 0; i < cut.linesKept; ++i) text += lines[i] + "\n";
    const std::string expected = "RECORD " + std::string(cut.record) + ", LINE " +
                                 std::to_string(cut.linesKept == 0 ? 1 : cut.linesKept) + ": ";
    const testing::Reading reading = testing::ReadProject(text);
    EXPECT_EQ(reading.error.rfind(expected, 0), 0u) << cut.linesKept << ": " << reading.error;
    EXPECT_EQ(testing::RunProject(text).result, kProjectDataError) << cut.linesKept;
  }
}

TEST(ReaderRejects, FileEndingEarlyInTheUserCurves) {
  const std::vector<std::pair<std::string, const char*>> cases = {
      {"T\n10 0 1\n2 2\n", "RECORD 4 (NTZ), LINE 3: the file ends"},
      {"T\n10 0 1\n2 2\n1\n", "RECORD 4 (T-Z CURVE 1), LINE 4: the file ends"},
      {"T\n10 0 1\n2 2\n1\n1 0.0 2\n0 0\n", "RECORD 4 (T-Z CURVE 1, POINT 2), LINE 6: the file"},
      {"T\n10 0 1\n2 2\n1\n1 0.0 1\n0 0\n", "RECORD 5 (NQW), LINE 6: the file ends"},
      {"T\n10 0 1\n2 2\n1\n1 0.0 1\n0 0\n2\n0 0 1\n",
       "RECORD 5 (QTIP WTIP PAIRS), LINE 8: the file ends"},
      {"T\n10 0 1\n2 2\n1\n1 0.0 1\n0 0\n0\n", "RECORD 5 (QTIP WTIP PAIRS), LINE 7: the file"},
      {"T\n10 0 1\n1 1\n0\n0\n4\n0.1 0.2\n", "RECORD 6 (NLAYER), LINE 4: NLAYER = 0"},
  };
  for (const auto& [text, expected] : cases) {
    const testing::Reading reading = testing::ReadProject(text);
    EXPECT_EQ(reading.error.rfind(expected, 0), 0u) << text << "\n" << reading.error;
    EXPECT_EQ(testing::RunProject(text).result, kProjectDataError);
  }
}

TEST(ReaderRejects, ArbitraryBytesEndWithACode) {
  // Control characters, NULs and high bytes are words like any others.
  std::string text = "T\n1";
  text += '\0';
  text += "0 0 1\n\xff\xfe 1\n";
  EXPECT_EQ(testing::RunProject(text).result, kProjectDataError);
  EXPECT_EQ(testing::RunProject("").result, kProjectDataError);
  EXPECT_EQ(testing::RunProject("\n\n\n\n").result, kProjectDataError);
}

}  // namespace
}  // namespace korvan
