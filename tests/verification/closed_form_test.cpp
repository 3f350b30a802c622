// Verification of the engine against the closed-form solution of a
// compressible pile on linear springs: a uniform pile of axial stiffness AE
// and perimeter p, side springs t = ks·z and a tip spring Q = kb·w. With
// λ² = p·ks / AE and the tip moving by wt, the pile at height x above the tip
// moves w(x) = wt·(cosh λx + kb/(AE·λ)·sinh λx) and carries
// P(x) = wt·(AE·λ·sinh λx + kb·cosh λx). The engine's walk converges to it as
// the increments shrink; the table printed here is the one the technical
// manual quotes: the walk's own error, measured in the engine's core, and the
// error of what a user reads, through the shipped library and its plot file
// (whose summary carries five significant digits).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "engine/tip_movement_solution.h"
#include "pile_fixture.h"
#include "runner/engine_runner.h"
#include "runner/plot_summary.h"

namespace korvan {
namespace {

namespace fs = std::filesystem;

// English units: inches, pounds, psi.
constexpr double kLength = 600;       // pile length
constexpr double kDiameter = 12;      // outer diameter
constexpr double kStiffness = 4.0e8;  // AE
constexpr double kSideSpring = 50;    // ks, psi per inch of movement
constexpr double kTipSpring = 2.0e5;  // kb, pounds per inch
constexpr double kTipMovement = 0.1;  // wt
constexpr double kPi = 3.1416;        // the engine's π in the shaft area

struct HeadValues {
  double load = 0, movement = 0;
};

HeadValues ClosedForm() {
  const double perimeter = kPi * kDiameter;
  const double lambda = std::sqrt(perimeter * kSideSpring / kStiffness);
  const double x = lambda * kLength;
  return {kTipMovement * (kStiffness * lambda * std::sinh(x) + kTipSpring * std::cosh(x)),
          kTipMovement * (std::cosh(x) + kTipSpring / (kStiffness * lambda) * std::sinh(x))};
}

// Linear curves written as two-point user curves that reach far beyond any
// movement of the run, so the engine's linear interpolation is exact.
std::string LinearPileProject(int increments) {
  std::string text = "Compressible pile on linear springs\n";
  text += std::to_string(increments) + " 0 1\n2 2\n";
  text += "2\n";
  for (int curve = 1; curve <= 2; ++curve) {
    text += std::to_string(curve) + (curve == 1 ? " 0.0 2\n" : " 1000.0 2\n");
    text += "0.0 0.0\n" + std::to_string(kSideSpring * 10) + " 10.0\n";
  }
  text += "2\n0.0 0.0 " + std::to_string(kTipSpring * 10) + " 10.0\n";
  text += "2\n4.0E+08 0.0\n4.0E+08 600.0\n";
  text += "1.0E-08 600.0 0.0 12.0 113.1\n";
  text += "1\n0.1\n0\n0\n0\n0\n";
  return text;
}

double RelativeError(double value, double exact) {
  return std::abs(value - exact) / exact;
}

TEST(ClosedFormVerification, TheWalkConvergesToTheExactSolutionWithTheSquareOfTheIncrement) {
  const HeadValues exact = ClosedForm();
  std::printf("%10s %14s %14s   (engine core)\n", "increments", "load error", "movement error");
  // Largest relative errors allowed, as the technical manual quotes them.
  const struct {
    int increments;
    double bound;
  } cases[] = {{10, 7e-4}, {20, 2e-4}, {50, 3e-5}, {100, 8e-6}, {200, 2e-6}, {500, 1e-6}};
  for (const auto& c : cases) {
    testing::PileDefinition pile;
    pile.ninc = c.increments;
    pile.length = kLength;
    pile.diameter = kDiameter;
    pile.stiffness = static_cast<Real>(kStiffness);
    pile.tol = 1E-9f;
    pile.tz = {{10, static_cast<Real>(10 * kSideSpring)}};
    pile.tip = {{10, static_cast<Real>(10 * kTipSpring)}};
    auto ctx = testing::MakePile(pile);
    testing::SetTipMovements(ctx->in, {static_cast<Real>(kTipMovement)});
    SolveAllTipMovements(*ctx);
    const double loadError = RelativeError(ctx->res.HEADLOAD[1], exact.load);
    const double movementError = RelativeError(ctx->res.HEADMV[1], exact.movement);
    std::printf("%10d %14.2e %14.2e\n", c.increments, loadError, movementError);
    EXPECT_LT(loadError, c.bound) << c.increments << " increments";
    EXPECT_LT(movementError, c.bound) << c.increments << " increments";
  }
}

TEST(ClosedFormVerification, TheShippedEngineReportsTheExactSolutionToItsPrintedDigits) {
  const fs::path folder =
      fs::temp_directory_path() / ("korvan-closed-form-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const HeadValues exact = ClosedForm();
  std::printf("exact head load %.6f lb, head movement %.8f in\n", exact.load, exact.movement);
  std::printf("%10s %14s %14s   (plot file)\n", "increments", "load error", "movement error");

  // Largest relative errors allowed: the walk's own, or half a unit of the
  // fifth printed digit, whichever is larger.
  const struct {
    int increments;
    double bound;
  } cases[] = {{10, 8e-4}, {20, 2.5e-4}, {50, 5e-5}, {500, 5e-5}};
  for (const auto& c : cases) {
    const fs::path data = folder / ("linear" + std::to_string(c.increments) + ".kv4d");
    std::ofstream(data) << LinearPileProject(c.increments);
    const EngineRun run = RunEngine(data, KORVAN_BIN_DIR, UserIdentification{});
    ASSERT_TRUE(run.called) << run.failure;
    ASSERT_EQ(run.result, 0);
    const auto summary = ReadPlotSummary(fs::path(data).replace_extension(".kv4p"));
    ASSERT_TRUE(summary.has_value());
    ASSERT_EQ(summary->tipMovementRows.size(), 1u);
    const SummaryRow& row = summary->tipMovementRows.front();
    const double loadError = RelativeError(row.headLoad, exact.load);
    const double movementError = RelativeError(row.headMovement, exact.movement);
    std::printf("%10d %14.2e %14.2e\n", c.increments, loadError, movementError);
    EXPECT_LT(loadError, c.bound) << c.increments << " increments";
    EXPECT_LT(movementError, c.bound) << c.increments << " increments";
  }
  fs::remove_all(folder);
}

}  // namespace
}  // namespace korvan
