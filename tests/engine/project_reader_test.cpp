#include "engine/project_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "project_reading.h"

namespace korvan {
namespace {

using testing::ProjectParts;
using testing::Reading;
using testing::ReadProject;

// Entries 1..count of a 1-based array.
template <class Array>
auto Values(const Array& array, Int count) {
  return std::vector<typename Array::value_type>(array.begin() + 1, array.begin() + 1 + count);
}

TEST(ProjectReader, CompleteExampleFillsTheInputData) {
  const Reading reading = ReadProject(ProjectParts{}.Text());
  ASSERT_EQ(reading.error, "");
  const InputData& in = reading.in();
  EXPECT_EQ(in.TITLE, "Example pile" + std::string(60, ' '));
  EXPECT_EQ(in.NINC, 100);
  EXPECT_EQ(in.LSO, 0);
  EXPECT_EQ(in.NUNIT, 1);
  EXPECT_EQ(in.METHODTZ, 1);
  EXPECT_EQ(in.METHODQW, 1);
  EXPECT_EQ(in.NLAYER, 1);
  EXPECT_EQ(in.LAYNO[1], 1);
  EXPECT_EQ(in.KSOIL[1], 1);
  EXPECT_EQ(in.XTOP[1], 0.0f);
  EXPECT_EQ(in.XBOT[1], 600.0f);
  EXPECT_EQ(in.NSTR, 2);
  EXPECT_EQ(Values(in.XSTR, 2), (std::vector<Real>{0, 600}));
  EXPECT_EQ(Values(in.XG1, 2), (std::vector<Real>{0, 600}));
  EXPECT_EQ(Values(in.GAM1, 2), (std::vector<Real>{0.0625f, 0.0625f}));
  EXPECT_EQ(Values(in.C1, 2), (std::vector<Real>{10, 12}));
  EXPECT_EQ(Values(in.EE50, 2), (std::vector<Real>{0.01f, 0.01f}));
  EXPECT_EQ(Values(in.USIDE, 2), (std::vector<Real>{8, 9}));
  EXPECT_EQ(Values(in.UTIP, 2), (std::vector<Real>{90, 100}));
  EXPECT_EQ(in.NAE, 2);
  EXPECT_EQ(Values(in.AEPILE, 2), (std::vector<Real>{4.0e8f, 4.0e8f}));
  EXPECT_EQ(Values(in.XAE, 2), (std::vector<Real>{0, 480}));
  EXPECT_EQ(in.TOL, 0.001f);
  EXPECT_EQ(in.PLEN, 480.0f);
  EXPECT_EQ(in.HEAD, 0.0f);
  EXPECT_EQ(in.DIAM, 12.0f);
  EXPECT_EQ(in.TIPAREA, 113.1f);
  EXPECT_EQ(in.NTIPMV, 9);  // default compression series, no loads
  EXPECT_FALSE(in.userTipMovements);
  EXPECT_EQ(in.NLOAD, 0);
  EXPECT_EQ(in.NSET, 0);
  EXPECT_EQ(in.KMODTZ, 0);
  EXPECT_EQ(in.KMODQW, 0);
  EXPECT_EQ(in.QMULT, 1.0f);
  EXPECT_EQ(in.WMULT, 1.0f);
}

TEST(ProjectReader, UserCurvesForBothHaveNoSoilBlock) {
  ProjectParts parts;
  parts.methods = "2 2";
  parts.userTz = "2\n1 0.0 3\n0 0\n5.5 0.1\n6 0.3\n2 600.0 2\n0 0\n9 0.2";
  parts.userQw = "3\n0 0 1000 0.2\n2000 1.0";
  parts.soil.clear();  // the AE count follows the tip curve directly
  const Reading reading = ReadProject(parts.Text());
  ASSERT_EQ(reading.error, "");
  const InputData& in = reading.in();
  EXPECT_EQ(in.NLAYER, 0);
  ASSERT_EQ(in.tz.NTZ, 2);
  EXPECT_EQ(in.tz.CRVNO[2], 2);
  EXPECT_EQ(in.tz.XTZ[2], 600.0f);
  EXPECT_EQ(in.tz.NPTZ[1], 3);
  EXPECT_EQ(in.tz.NPTZ[2], 2);
  EXPECT_EQ(Values(in.tz.T[1], 3), (std::vector<Real>{0, 5.5f, 6}));
  EXPECT_EQ(Values(in.tz.Z[1], 3), (std::vector<Real>{0, 0.1f, 0.3f}));
  EXPECT_EQ(Values(in.tz.T[2], 2), (std::vector<Real>{0, 9}));
  EXPECT_EQ(in.NQW, 3);
  EXPECT_EQ(Values(in.QTIP, 3), (std::vector<Real>{0, 1000, 2000}));
  EXPECT_EQ(Values(in.WTIP, 3), (std::vector<Real>{0, 0.2f, 1.0f}));
  EXPECT_EQ(in.NAE, 2);
  EXPECT_EQ(in.PLEN, 480.0f);
}

TEST(ProjectReader, UserTzCurvesWithGeneratedTipReadTheSoilBlock) {
  ProjectParts parts;
  parts.methods = "2 1";
  parts.userTz = "1\n1 0.0 2\n0 0\n5 0.1";
  const Reading reading = ReadProject(parts.Text());
  ASSERT_EQ(reading.error, "");
  EXPECT_EQ(reading.in().tz.NTZ, 1);
  EXPECT_EQ(reading.in().NLAYER, 1);
  EXPECT_EQ(reading.in().NSTR, 2);
  EXPECT_EQ(reading.in().NAE, 2);
}

TEST(ProjectReader, PairsMaySpreadOverLinesOrShareOne) {
  ProjectParts parts;
  parts.methods = "1 2";
  parts.userQw = "4\n0\n0 100 0.1 200\n0.5\n300, 1.0";
  parts.ae = "3\n4.0E+08 0.0 3.0E+08 240.0 2.0E+08\n480.0 leftover words";
  parts.tipMovements = "4\n0.5 0.1\n0.3\n-0.2";
  const Reading reading = ReadProject(parts.Text());
  ASSERT_EQ(reading.error, "");
  const InputData& in = reading.in();
  EXPECT_EQ(Values(in.QTIP, 4), (std::vector<Real>{0, 100, 200, 300}));
  EXPECT_EQ(Values(in.WTIP, 4), (std::vector<Real>{0, 0.1f, 0.5f, 1.0f}));
  EXPECT_EQ(Values(in.AEPILE, 3), (std::vector<Real>{4e8f, 3e8f, 2e8f}));
  EXPECT_EQ(Values(in.XAE, 3), (std::vector<Real>{0, 240, 480}));
  EXPECT_EQ(Values(in.TIPMV, 4), (std::vector<Real>{-0.2f, 0.1f, 0.3f, 0.5f}));
  EXPECT_TRUE(in.userTipMovements);
  EXPECT_EQ(in.PLEN, 480.0f);
}

TEST(ProjectReader, TipCurveCountOfZeroStillUsesUpALine) {
  ProjectParts parts;
  parts.methods = "1 2";
  parts.userQw = "0\nthis line belongs to the empty pair list";
  const Reading reading = ReadProject(parts.Text());
  ASSERT_EQ(reading.error, "");
  EXPECT_EQ(reading.in().NQW, 0);
  EXPECT_EQ(reading.in().NLAYER, 1);
}

TEST(ProjectReader, PropertyRowOfEightWordsTakesItsNinthFromTheNextLine) {
  ProjectParts parts;
  parts.soil = "1\n1 1 0.0 600.0\n0.0625 10 0.0 0.01 0 0.0 0.0 8\n0.07 12 0.0 0.01 0 0.0 0.0 9 100";
  const Reading reading = ReadProject(parts.Text());
  // The first row takes 0.07; the second row then starts on the AE count line
  // and swallows the AE table and the pile record, so the reading derails.
  EXPECT_EQ(reading.in().UTIP[1], 0.07f);
  EXPECT_EQ(reading.in().GAM1[2], 2.0f);
  EXPECT_EQ(reading.in().C1[2], 4.0e8f);
  EXPECT_EQ(reading.error.rfind("RECORD 7 (", 0), 0u) << reading.error;
}

TEST(ProjectReader, ControlValuesAcceptCommasAndLeftovers) {
  ProjectParts parts;
  parts.control = "20,1,2 extra words";
  parts.methods = "1,1";
  const Reading reading = ReadProject(parts.Text());
  ASSERT_EQ(reading.error, "");
  EXPECT_EQ(reading.in().NINC, 20);
  EXPECT_EQ(reading.in().LSO, 1);
  EXPECT_EQ(reading.in().NUNIT, 2);
}

TEST(ProjectReader, LoadingSettlementAndModificationRecords) {
  ProjectParts parts;
  parts.loads = "3\n100\n-50\n0";
  parts.settlement = "2\n0 1.5\n600 0";
  parts.tzModification = "1\n2\n0 1.0 2.0\n600 0.5 1.5";
  parts.qwModification = "1\n0.8 1.2";
  const Reading reading = ReadProject(parts.Text());
  ASSERT_EQ(reading.error, "");
  const InputData& in = reading.in();
  EXPECT_EQ(Values(in.PLOAD, 3), (std::vector<Real>{100, -50, 0}));
  EXPECT_EQ(Values(in.SETX, 2), (std::vector<Real>{0, 600}));
  EXPECT_EQ(Values(in.SETV, 2), (std::vector<Real>{1.5f, 0}));
  EXPECT_EQ(in.KMODTZ, 1);
  EXPECT_EQ(in.NMOD, 2);
  EXPECT_EQ(Values(in.MODX, 2), (std::vector<Real>{0, 600}));
  EXPECT_EQ(Values(in.MODT, 2), (std::vector<Real>{1.0f, 0.5f}));
  EXPECT_EQ(Values(in.MODZ, 2), (std::vector<Real>{2.0f, 1.5f}));
  EXPECT_EQ(in.KMODQW, 1);
  EXPECT_EQ(in.QMULT, 0.8f);
  EXPECT_EQ(in.WMULT, 1.2f);
  EXPECT_EQ(in.NTIPMV, 18);  // loads of both signs
}

TEST(ProjectReader, FlagsOfZeroOrBelowSkipTheirRows) {
  ProjectParts parts;
  parts.tzModification = "-1";
  parts.qwModification = "0\n0.5 0.5";  // left over after the run's last record
  const Reading reading = ReadProject(parts.Text());
  ASSERT_EQ(reading.error, "");
  EXPECT_EQ(reading.in().NMOD, 0);
  EXPECT_EQ(reading.in().QMULT, 1.0f);
}

TEST(ProjectReader, ValuesAtTheCapacitiesAreAccepted) {
  ProjectParts parts;
  parts.control = "500 0 1";
  parts.tipMovements = "100\n" + [] {
    std::string values;
    for (int n = 100; n >= 1; --n) values += std::to_string(n) + " ";
    return values;
  }();
  parts.loads = "50\n" + [] {
    std::string lines;
    for (int n = 1; n <= 50; ++n) lines += std::to_string(n) + "\n";
    return lines.substr(0, lines.size() - 1);
  }();
  const Reading reading = ReadProject(parts.Text());
  ASSERT_EQ(reading.error, "");
  EXPECT_EQ(reading.in().NINC, 500);
  EXPECT_EQ(reading.in().NTIPMV, 100);
  EXPECT_EQ(reading.in().TIPMV[1], 1.0f);
  EXPECT_EQ(reading.in().TIPMV[100], 100.0f);
  EXPECT_EQ(reading.in().NLOAD, 50);
  EXPECT_EQ(reading.in().PLOAD[50], 50.0f);
}

}  // namespace
}  // namespace korvan
