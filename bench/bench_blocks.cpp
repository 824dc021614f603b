// Block expansion: extents of a plan whose blocks nest ten references deep on eight levels
// (10^8 lines if expanded naively), and the walk's bound on a drawing that expands past it.
#include <benchmark/benchmark.h>

#include <string>

#include "host/entity_geometry.h"

namespace {

nyhost::Entity Insert(const std::string& block, double x) {
  nyhost::Entity e;
  e.data = nyhost::BlockReference{block, {x, 0, 0}};
  return e;
}

nyhost::Drawing NestedPlan() {
  nyhost::Drawing d;
  nyhost::Entity line;
  line.data = nyhost::Line{{0, 0, 0}, {100, 20, 0}};
  d.SetBlock({"L0", {0, 0, 0}, {line}});
  for (int level = 1; level <= 8; ++level) {
    nyhost::BlockDefinition b{"L" + std::to_string(level), {0, 0, 0}, {}};
    for (int i = 0; i < 10; ++i)
      b.entities.push_back(Insert(b.name.substr(0, 1) + std::to_string(level - 1), 100.0 * i));
    d.SetBlock(b);
  }
  for (int i = 0; i < 1000; ++i) d.Add(Insert("L8", 1000.0 * i));
  return d;
}

void BM_NestedExtents(benchmark::State& state) {
  nyhost::Drawing d = NestedPlan();
  for (auto _ : state) benchmark::DoNotOptimize(nyhost::DrawingExtents(d));
}
BENCHMARK(BM_NestedExtents)->Unit(benchmark::kMillisecond);

// A full walk to its bound, as a renderer does on a drawing that expands past it.
void BM_WalkToItsBound(benchmark::State& state) {
  nyhost::Drawing d = NestedPlan();
  for (auto _ : state) {
    nyhost::BlockWalk walk(d);
    std::size_t visited = 0;
    auto expand = [&](auto& self, const nyhost::BlockDefinition& b) -> void {
      for (const auto& child : b.entities) {
        ++visited;
        if (const auto* r = child.As<nyhost::BlockReference>())
          if (const auto* inner = walk.Enter(*r)) self(self, *inner), walk.Leave();
      }
    };
    if (const auto* top = walk.Enter({"L8"})) expand(expand, *top);
    benchmark::DoNotOptimize(visited);
  }
}
BENCHMARK(BM_WalkToItsBound)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
