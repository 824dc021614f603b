// The distribution drawing on a 1000 x 1000 grid (1,002,001 result points): isolux lines with
// their labels, and colour areas between the levels cut to the room outline. The whole build
// is timed: the lattice rebuilt from the points, contouring, joining, clipping, entities.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "draw/distribution.h"

namespace {

// A 20 m x 20 m room under a 4 x 4 layout of luminaire-like peaks over a floor level.
nydraw::DrawRequest Request(nydraw::DrawMode mode) {
  nydraw::DrawRequest r;
  const int n = 1000;
  const double size = 20000;
  double lo = 1e9, hi = -1e9;
  r.points.reserve(static_cast<std::size_t>((n + 1) * (n + 1)));
  for (int i = 0; i <= n; ++i)
    for (int j = 0; j <= n; ++j) {
      const double x = size * i / n, y = size * j / n;
      double v = 80;
      for (int a = 0; a < 4; ++a)
        for (int b = 0; b < 4; ++b) {
          const double dx = x - (2500 + 5000 * a), dy = y - (2500 + 5000 * b);
          v += 400 * std::pow(3000 / std::sqrt(dx * dx + dy * dy + 9e6), 3);
        }
      lo = std::min(lo, v), hi = std::max(hi, v);
      r.points.push_back({x, y, v});
    }
  r.cal_min = lo, r.cal_max = hi;
  r.mode = mode;
  r.labels = true;
  r.effect.stops = {0x0000FF, 0x00FF00, 0xFF0000};
  r.point_layer = "P", r.text_layer = "T";
  r.outline = {{0, 0, 0}, {size, 0, 0}, {size, size, 0}, {0, size, 0}, {0, 0, 0}};
  return r;
}

void Distribution(benchmark::State& state) {
  const auto mode = static_cast<nydraw::DrawMode>(state.range(0));
  const nydraw::DrawRequest r = Request(mode);
  std::size_t entities = 0;
  for (auto _ : state) {
    auto out = nydraw::BuildDistribution(r);
    entities = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["levels"] = static_cast<double>(nydraw::MakeLegend(r).levels.size());
  state.counters["entities"] = static_cast<double>(entities);
}

BENCHMARK(Distribution)
    ->Arg(static_cast<int>(nydraw::DrawMode::kLines))
    ->Arg(static_cast<int>(nydraw::DrawMode::kAreas))
    ->ArgName("mode")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
