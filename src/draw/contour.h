// Isolines and superlevel regions of a scalar lattice by marching squares: linear interpolation
// along cell edges, a saddle cell decided by the mean of its corners (the same rule for lines and
// areas, so both always agree), and segments chained into as few polylines as possible.
#pragma once

#include <vector>

#include "draw/scalar_grid.h"
#include "host/geometry.h"

namespace nydraw {

struct ContourLine {
  std::vector<nyhost::Point3> points;
  bool closed = false;  // a closed line does not repeat its first point
};

// The isolines at `level`; each line keeps values at or above the level on its left.
std::vector<ContourLine> Isolines(const ScalarGrid& grid, double level);

// The region where the value is at or above `level`, as closed loops (outer loops
// counter-clockwise, holes clockwise), bounded by the isolines and the lattice border.
std::vector<std::vector<nyhost::Point3>> SuperlevelLoops(const ScalarGrid& grid, double level);

}  // namespace nydraw
