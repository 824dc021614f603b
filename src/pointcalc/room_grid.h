// The room of the point method: its outline in the drawing (picked as a rectangle or a polygon),
// the luminaires inside it, the calculation grid over it and its floor area.
#pragma once

#include <optional>
#include <vector>

#include "host/entity.h"
#include "host/geometry.h"

#include "refdata/luminaire_record.h"

// Asks "\n选择起点:" and "\n选择终点:" and appends the closed axis-parallel rectangle to model
// space. The new outline's id, or the null id when a point was not given.
nyhost::EntityId PickRectangleOutline();

// Asks "\n选择起点:" and then "\n选择下一点:" until Enter; appends the closed polyline. Enter
// after any number of points keeps them (even one); a cancel adds nothing. The new outline's id,
// or the null id.
nyhost::EntityId PickPolygonOutline();

// The outline's vertices followed by the first vertex again, and its geometric extents. False
// when the id is not a live polyline.
bool RoomPolygon(nyhost::EntityId outline, std::vector<nyhost::Point3>& polygon,
                 nyhost::Extents& extents);

struct Grid {
  std::vector<nyhost::Point3> points;  // column by column from the left, each from the bottom
  double dx = 0, dy = 0;               // drawing units
};

// Lattice of (x count + 1) x (y count + 1) candidates over the extents, stepped by repeated
// addition, kept where the polygon test accepts them. Prints "\n房间没有面积!" and gives none
// for an outline without width or height.
std::optional<Grid> BuildGrid(const std::vector<nyhost::Point3>& polygon,
                              const nyhost::Extents& extents, int x_count, int y_count);

// Floor area in m², or none when the outline is not a polyline of the current drawing.
std::optional<double> RoomArea(nyhost::EntityId outline);

// The luminaire blocks of model space whose insertion point lies inside (or on) the outline, in
// drawing order; an invalid outline gives an empty room.
void CollectLuminaires(nyhost::EntityId outline, std::vector<LuminaireRecord>& records);
