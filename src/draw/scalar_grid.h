// A regular lattice of values rebuilt from scattered result points: the columns and rows are the
// distinct x and y of the points, whatever laid them out (a room's plan grid, a flattened
// section). Lattice nodes without a point are filled from their neighbours so contours and
// areas reach the edges of the region; clipping to an outline trims what lies outside.
#pragma once

#include <vector>

#include "host/geometry.h"

namespace nydraw {

struct ScalarGrid {
  std::vector<double> xs, ys;  // ascending
  std::vector<double> values;  // row by row from the bottom: values[j * xs.size() + i]
  std::size_t nx() const { return xs.size(); }
  std::size_t ny() const { return ys.size(); }
  double at(std::size_t i, std::size_t j) const { return values[j * xs.size() + i]; }
  bool Empty() const { return xs.size() < 2 || ys.size() < 2; }
};

// Points give x, y and the value in z. Coordinates closer than a millionth of the extent are one
// column (or row): grids stepped by repeated addition carry rounding noise. `cover`, when not
// empty, is the region the lattice should reach: a missing last column or row within one and a
// half steps of its edge is added.
ScalarGrid GridFromPoints(const std::vector<nyhost::Point3>& points,
                          const nyhost::Extents& cover = {});

// Gives every missing (NaN) node the mean of its known 4-neighbours, ring by ring inwards.
void FillMissing(ScalarGrid& grid);

}  // namespace nydraw
