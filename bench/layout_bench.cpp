// Throughput of the line-layout writer on the report's and plot file's most
// frequent lines (a run writes some 200 000 of them), in lines and in bytes
// formatted per second.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/line_layout/layout.h"

namespace {

using korvan::FieldValue;

// The second line of every pile increment in the report.
void BM_IncrementLine(benchmark::State& state) {
  std::string out;
  float depth = 0.5f;
  for (auto _ : state) {
    const std::array<FieldValue, 6> values = {depth,    12.3456f,  -789.012f,
                                              34567.8f, 0.000123f, 0.0456f};
    out.clear();
    korvan::AppendLayout(
        out, "1X, F6.1, 1X, PE10.3, 1X, PE10.3, 10X, PE10.3, 1X, PE10.3, 10X, PE10.3", values);
    benchmark::DoNotOptimize(out.data());
    // Depths stay within the six columns of F6.1, as in a report.
    depth = depth < 9000.0f ? depth + 0.25f : 0.5f;
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(out.size()));
}
BENCHMARK(BM_IncrementLine);

// A distribution line of the plot file.
void BM_PlotDistributionLine(benchmark::State& state) {
  std::string out;
  float load = 1000.0f;
  for (auto _ : state) {
    const std::array<FieldValue, 3> values = {123.25f, load, 0.0123f};
    out.clear();
    korvan::AppendLayout(out, "1X, PE10.3, 3X, PE10.3, 3X, PE10.3", values);
    benchmark::DoNotOptimize(out.data());
    load += 1.5f;
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(out.size()));
}
BENCHMARK(BM_PlotDistributionLine);

// A table written in one piece: the layout is reused once per pair.
void BM_ReusedPairLayout(benchmark::State& state) {
  std::vector<FieldValue> values;
  for (int i = 0; i < 100; ++i) values.emplace_back(static_cast<float>(i) * 0.37f);
  std::string out;
  for (auto _ : state) {
    out.clear();
    korvan::AppendLayout(out, "PE18.4, PE19.4", values);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * 50);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(out.size()));
}
BENCHMARK(BM_ReusedPairLayout);

void BM_FreeLine(benchmark::State& state) {
  std::string out;
  for (auto _ : state) {
    const std::array<FieldValue, 3> values = {10, 50, 1};
    out.clear();
    korvan::AppendFree(out, values);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(out.size()));
}
BENCHMARK(BM_FreeLine);

}  // namespace
