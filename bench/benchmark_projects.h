// The benchmark's projects: a typical one and one at the engine's capacity
// limits. The output golden test hashes their report and plot file too, so
// both stay exactly as the benchmark runs them.
#pragma once

#include <sstream>
#include <string>

namespace korvan::benchmark_projects {

// A layered driven pile with generated curves, English units.
inline std::string LayeredProject(int increments, int layers, const std::string& tipMovements,
                                  const std::string& loads) {
  std::ostringstream text;
  const double layerThickness = 1200.0 / layers;
  text << "Benchmark pile\n" << increments << " 0 1\n1 1\n" << layers << "\n";
  for (int i = 1; i <= layers; ++i) {
    const int type = 1 + (i - 1) % 6;
    text << i << " " << type << " " << (i - 1) * layerThickness << " " << i * layerThickness
         << "\n";
  }
  for (int i = 1; i <= layers; ++i) {
    for (int row = 0; row < 2; ++row) {
      const double side = 3.0 + 0.5 * i + row;
      text << "0.035 " << 4 + i << " " << 30 + i % 6 << " 0.01 " << 10 + i << " 0.0 0.0 " << side
           << " " << 60 * side << "\n";
    }
  }
  text << "2\n8.0E+08 0.0\n8.0E+08 1100.0\n1.0E-05 1000.0 0.0 18.0 254.5\n";
  text << tipMovements << loads << "0\n0\n0\n";
  return text.str();
}

// 100 increments, 3 layers, the default tip movements, 5 head loads.
inline std::string TypicalProject() {
  return LayeredProject(100, 3, "0\n", "5\n40000\n80000\n120000\n160000\n200000\n");
}

// 500 increments, 30 layers, 100 user tip movements (20 of them uplift) and
// 50 head loads (10 of them uplift).
inline std::string CapacityProject() {
  std::ostringstream movements, loads;
  movements << "100\n";
  for (int n = 0; n < 100; ++n)
    movements << (n < 20 ? -0.5 + 0.024 * n : 0.0005 * (n - 19) * (n - 19)) << "\n";
  loads << "50\n";
  for (int i = 0; i < 50; ++i)
    loads << (i % 5 == 0 ? -20000.0 * (1 + i / 5) : 15000.0 * (1 + i)) << "\n";
  return LayeredProject(500, 30, movements.str(), loads.str());
}

}  // namespace korvan::benchmark_projects
