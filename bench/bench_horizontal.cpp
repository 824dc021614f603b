// Point-by-point horizontal illuminance: a 100 x 100 grid (10,201 points) under 100 luminaires,
// summed with one and with two threads. Reports point-luminaire evaluations per second.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench_room.h"
#include "pointcalc/horizontal.h"
#include "pointcalc/intensity.h"

namespace {

struct Room {
  IntensityTable a, b;
  std::vector<LuminaireSource> sources;
  std::vector<nyhost::Point3> points;

  Room() {
    bench::LoadBatwing(a, b);
    for (const auto& r : bench::OfficeLuminaires())
      sources.push_back(MakeLuminaireSource(r, a, b, 1.0));
    for (int u = 0; u <= 100; ++u)
      for (int v = 0; v <= 100; ++v) points.push_back({u * 200.0, v * 200.0, 0});
  }
};

void BM_HorizontalSum(benchmark::State& state) {
  static const Room room;
  const int threads = static_cast<int>(state.range(0));
  std::vector<double> values;
  for (auto _ : state) {
    SumIlluminance(room.sources, room.points, values, threads);
    benchmark::DoNotOptimize(values.data());
  }
  const double evaluations = static_cast<double>(room.points.size() * room.sources.size());
  state.counters["evaluations/s"] = benchmark::Counter(
      evaluations * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["points"] = static_cast<double>(room.points.size());
  state.counters["luminaires"] = static_cast<double>(room.sources.size());
}

BENCHMARK(BM_HorizontalSum)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
