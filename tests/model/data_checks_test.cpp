// The tip-movement check before a run: user curves must reach every
// prescribed tip movement.
#include "model/DataChecks.h"
#include "support/project_fixtures.h"

namespace korvan::testing {
namespace {

class DataChecksTest : public GraphsTest {
 protected:
  void SetRows(TGridTable& table, int column, const std::vector<long double>& values) {
    table.SetRowCount(static_cast<int>(values.size()));
    for (size_t i = 0; i < values.size(); ++i)
      table.SetFloatValue(column, static_cast<int>(i), values[i]);
  }
  // User t-z curves whose pile movements are `curves`.
  void SetTzCurves(const std::vector<std::vector<long double>>& curves) {
    TGridTable& depths = Tables().TzCurves();
    depths.SetRowCount(static_cast<int>(curves.size()));
    for (size_t j = 0; j < curves.size(); ++j) {
      TGridTable* points = depths.GetDataValue(1, static_cast<int>(j));
      ASSERT_NE(points, nullptr);
      SetRows(*points, 1, curves[j]);
    }
  }
};

const QString kQwMessage = QStringLiteral(
    "Tip Movement entered (1.2)\ris higher than largest displacement entered for user defined "
    "Q-w curve (1)\rPlease check tip movements defined (3) .");

TEST_F(DataChecksTest, TipMovementsWithinTheUserCurves) {
  struct Case {
    const char* what;
    int loadMethod;
    bool userQw;
    bool userTz;
    std::vector<long double> movements;
    std::vector<long double> qw;
    std::vector<std::vector<long double>> tz;
    QString message;
  };
  const std::vector<Case> cases = {
      {"generated movements", 0, true, true, {5}, {0, 1}, {{0, 1}}, {}},
      {"head loads", 2, true, true, {5}, {0, 1}, {{0, 1}}, {}},
      {"Q-w first, t-z not examined",
       1,
       true,
       true,
       {0.1, 0.5, 1.2},
       {0, 0.5, 1.0},
       {{0, 0.1}},
       kQwMessage},
      {"only the last Q-w row counts",
       1,
       true,
       false,
       {0.8},
       {0, 2.0, 0.5},
       {},
       QStringLiteral(
           "Tip Movement entered (0.8)\ris higher than largest displacement entered "
           "for user defined Q-w curve (0.5)\rPlease check tip movements defined (1) .")},
      {"last Q-w row the largest", 1, true, false, {0.8}, {0, 0.5, 2.0}, {}, {}},
      {"second t-z curve short",
       1,
       false,
       true,
       {0.2, 0.6},
       {},
       {{0, 1}, {0, 0.5}},
       QStringLiteral("Tip Movement entered (0.6)\ris higher than largest displacement entered "
                      "for user defined t-z curve (0.5), row 2\rPlease check tip movements "
                      "defined (2) .")},
      {"equal values pass", 1, true, true, {0.25, 1.5}, {0, 1.5}, {{0, 1.5}, {0, 1.5}}, {}},
      {"t-z curve without points left to the engine", 1, false, true, {0.6}, {}, {{0, 1}, {}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Project().Nloadmethod = c.loadMethod;
    Project().UserQw = c.userQw;
    Project().UserTz = c.userTz;
    SetRows(Tables().TipMovements(), 0, c.movements);
    SetRows(Tables().QwCurve(), 1, c.qw);
    SetTzCurves(c.tz);
    EXPECT_EQ(TipMovementRangeMessage(Project()), c.message);
  }
}

}  // namespace
}  // namespace korvan::testing
