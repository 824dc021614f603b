// Point-by-point horizontal illuminance: a 100 x 100 grid (10,201 points) under 100 luminaires,
// summed with one and with two threads, with the default and the precise lookup; the large
// grids at the calculation's size limits: building them and summing them with the progress bar
// driven as the dialog drives it; and the Radiance reference hall in precise mode, with its
// largest relative difference from Radiance.
#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "bench_room.h"
#include "pointcalc/horizontal.h"
#include "pointcalc/intensity.h"
#include "pointcalc/room_grid.h"

namespace {

struct Room {
  IntensityTable a, b;
  std::vector<LuminaireSource> sources, precise;
  std::vector<nyhost::Point3> points;

  Room() {
    bench::LoadBatwing(a, b);
    for (const auto& r : bench::OfficeLuminaires())
      sources.push_back(MakeLuminaireSource(r, a, b, 1.0));
    precise = sources;
    for (auto& s : precise) s.precise = true;
    for (int u = 0; u <= 100; ++u)
      for (int v = 0; v <= 100; ++v) points.push_back({u * 200.0, v * 200.0, 0});
  }
};

void BM_HorizontalSum(benchmark::State& state) {
  static const Room room;
  const int threads = static_cast<int>(state.range(0));
  const auto& sources = state.range(1) ? room.precise : room.sources;
  std::vector<double> values;
  for (auto _ : state) {
    SumIlluminance(sources, room.points, values, threads);
    benchmark::DoNotOptimize(values.data());
  }
  const double evaluations = static_cast<double>(room.points.size() * room.sources.size());
  state.counters["evaluations/s"] = benchmark::Counter(
      evaluations * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["points"] = static_cast<double>(room.points.size());
  state.counters["luminaires"] = static_cast<double>(room.sources.size());
}

// Arguments: threads, precise lookup (0 or 1).
BENCHMARK(BM_HorizontalSum)
    ->ArgNames({"threads", "precise"})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({2, 0})
    ->Args({2, 1})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The reference hall of tests/data/radiance-s4: 600 luminaires of curve W, 9801 points.
struct Hall {
  IntensityTable w;
  std::vector<LuminaireSource> sources;
  std::vector<nyhost::Point3> points;
  std::vector<double> radiance;

  Hall() {
    const std::string dir = NYLUXORA_RADIANCE_DIR;
    std::ifstream scene_file(dir + "/S4.json");
    const auto scene = nlohmann::json::parse(scene_file);
    const auto& curve = scene["photometry"]["curves"]["W"]["C0"];
    for (std::size_t i = 0; i < 19; ++i) w.cd[i] = curve[i].get<int>();
    w.loaded = true;
    for (const auto& l : scene["luminaires"]) {
      LuminaireRecord r;
      r.position = {l["pos"][0].get<double>() * 1000, l["pos"][1].get<double>() * 1000,
                    l["pos"][2].get<double>() * 1000};
      r.total_flux = l["flux_lm"].get<int>();
      LuminaireSource s = MakeLuminaireSource(r, w, w, 1.0);
      s.precise = true;
      sources.push_back(s);
    }
    std::ifstream csv(dir + "/S4_results.csv");
    std::string line;
    std::getline(csv, line);
    while (std::getline(csv, line)) {
      std::istringstream s(line);
      std::string x, y, z, e;
      std::getline(s, x, ',');
      std::getline(s, y, ',');
      std::getline(s, z, ',');
      std::getline(s, e, ',');
      points.push_back({std::stod(x) * 1000, std::stod(y) * 1000, 0});
      radiance.push_back(std::stod(e));
    }
  }
};

void BM_RadianceHall(benchmark::State& state) {
  static const Hall hall;
  std::vector<double> values;
  for (auto _ : state) {
    SumIlluminance(hall.sources, hall.points, values, static_cast<int>(state.range(0)));
    benchmark::DoNotOptimize(values.data());
  }
  double worst = 0, sum = 0;
  for (std::size_t i = 0; i < values.size(); ++i) {
    const double rel = std::fabs(values[i] - hall.radiance[i]) / hall.radiance[i];
    worst = std::max(worst, rel);
    sum += rel;
  }
  state.counters["points"] = static_cast<double>(hall.points.size());
  state.counters["max_rel_diff"] = worst;
  state.counters["mean_rel_diff"] = sum / static_cast<double>(values.size());
}

BENCHMARK(BM_RadianceHall)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

// The 20 m x 20 m room's outline as the calculation gets it.
struct Outline {
  std::vector<nyhost::Point3> polygon{
      {0, 0, 0}, {20000, 0, 0}, {20000, 20000, 0}, {0, 20000, 0}, {0, 0, 0}};
  nyhost::Extents extents;
  Outline() {
    for (const auto& p : polygon) extents.Add(p);
  }
};

// An n x n grid: 500 is just above the size that asks first, 1999 just below the hard limit.
void BM_BuildGrid(benchmark::State& state) {
  static const Outline room;
  const int n = static_cast<int>(state.range(0));
  std::size_t points = 0;
  for (auto _ : state) {
    auto grid = BuildGrid(room.polygon, room.extents, n, n);
    points = grid ? grid->points.size() : 0;
    benchmark::DoNotOptimize(points);
  }
  state.counters["points"] = static_cast<double>(points);
  state.counters["MB"] = static_cast<double>(points) * kBytesPerGridPoint / (1024.0 * 1024.0);
}

BENCHMARK(BM_BuildGrid)->Arg(500)->Arg(1999)->Unit(benchmark::kMillisecond);

// 251,001 points under the 100 luminaires (25 million evaluations, a quarter of the number that
// asks first), on two threads, with the progress rule counting every evaluation.
void BM_LargeGridWithProgress(benchmark::State& state) {
  static const Room room;
  static const Outline outline;
  const auto grid = BuildGrid(outline.polygon, outline.extents, 500, 500);
  std::vector<double> values;
  int moves = 0;
  for (auto _ : state) {
    ProgressRule progress(static_cast<long long>(grid->points.size() * room.sources.size()));
    SumIlluminance(room.sources, grid->points, values, 2, [&](long long evaluations) {
      progress.Advance(evaluations, [&](int) { ++moves; });
    });
    benchmark::DoNotOptimize(values.data());
  }
  const double evaluations = static_cast<double>(grid->points.size() * room.sources.size());
  state.counters["evaluations/s"] = benchmark::Counter(
      evaluations * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["bar moves"] =
      static_cast<double>(moves) / static_cast<double>(state.iterations());
}

BENCHMARK(BM_LargeGridWithProgress)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
