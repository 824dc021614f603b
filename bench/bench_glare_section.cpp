// Unified glare rating of every grid point (20 x 20 and 100 x 100 grids) and the illuminance of
// a vertical section (100 x 50 grid), each under 100 luminaires, with one and with two threads.
// A run includes what the calculation does once per run: deciding which luminaires count and
// taking their curves, laying the grid and turning the luminaires with the section.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench_room.h"
#include "pointcalc/glare.h"
#include "pointcalc/intensity.h"
#include "pointcalc/vertical.h"

namespace {

bool Curve(const std::string&, IntensityTable& a, IntensityTable& b) {
  return bench::LoadBatwing(a, b);
}

// The office's luminaires and a Guth table with every cell filled (the values do not change the
// work).
struct Room {
  std::vector<LuminaireRecord> records = bench::OfficeLuminaires();
  GuthTable guth;

  Room() {
    std::vector<std::string> columns{"H_R"};
    for (int c = 0; c < 20; ++c) columns.push_back(std::to_string(c));
    std::vector<std::vector<std::string>> rows;
    for (int h = 0; h <= 30; ++h) {
      rows.push_back({std::to_string(h)});
      for (int c = 0; c < 20; ++c) rows.back().push_back(std::to_string(1 + 0.3 * h + 0.1 * c));
    }
    guth.Fill(columns, rows);
  }
};

const Room& TheRoom() {
  static const Room room;
  return room;
}

std::vector<nyhost::Point3> Grid(int n) {
  std::vector<nyhost::Point3> points;
  for (int u = 0; u <= n; ++u)
    for (int v = 0; v <= n; ++v) points.push_back({u * 20000.0 / n, v * 20000.0 / n, 0});
  return points;
}

// Arguments: grid intervals per side, threads.
void BM_GlareAllPoints(benchmark::State& state) {
  const Room& room = TheRoom();
  const auto points = Grid(static_cast<int>(state.range(0)));
  const int threads = static_cast<int>(state.range(1));
  const auto psis = FullTurnDirections();
  std::vector<double> worst;
  for (auto _ : state) {
    GlareCalculation glare(room.records, 1.0, room.guth);
    glare.LoadCurves(points, psis, Curve);
    glare.WorstAt(points, psis, worst, threads);
    benchmark::DoNotOptimize(worst.data());
  }
  state.counters["points"] = static_cast<double>(points.size());
  state.counters["directions"] = static_cast<double>(psis.size());
}

// Arguments: threads. A section across the whole room, 100 x 50 grid intervals.
void BM_VerticalSection(benchmark::State& state) {
  const Room& room = TheRoom();
  const int threads = static_cast<int>(state.range(0));
  IntensityTable a, b;
  Curve("", a, b);
  std::vector<std::vector<double>> contributions;
  std::vector<double> values;
  std::size_t n_points = 0;
  for (auto _ : state) {
    const SectionFrame frame = MakeSectionFrame({0, 9000, 0}, {20000, 11000, 0}, {0, 0, 0});
    double hmax = 0;
    const auto lums = FlattenLuminaires(frame, room.records, hmax);
    const SectionGrid grid =
        BuildSectionGrid(SectionOrigin(frame, hmax), frame.length, hmax, 100, 50);
    std::vector<LuminaireSource> sources;
    for (const auto& r : lums) sources.push_back(MakeLuminaireSource(r, a, b, 1.0));
    SumSection(sources, grid.points, contributions, values, threads);
    benchmark::DoNotOptimize(values.data());
    n_points = grid.points.size();
  }
  state.counters["points"] = static_cast<double>(n_points);
}

BENCHMARK(BM_GlareAllPoints)
    ->Args({20, 1})
    ->Args({20, 2})
    ->Args({100, 1})
    ->Args({100, 2})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VerticalSection)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
