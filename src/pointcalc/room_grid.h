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

// Size of one calculation. Above the hard limits it is refused; between the asking and the hard
// limits the user is asked first. A candidate point costs two points and a value while it runs.
inline constexpr double kMaxGridPoints = 4e6;
inline constexpr double kAskGridPoints = 250e3;
inline constexpr double kMaxEvaluations = 4e9;  // candidate points x luminaires
inline constexpr double kAskEvaluations = 1e8;
inline constexpr double kBytesPerGridPoint = 2 * sizeof(nyhost::Point3) + sizeof(double);

// (x count + 1) x (y count + 1), as a double so that no count can overflow it.
double GridCandidates(int x_count, int y_count);

// Refuses ("你输入的数据不合理!" with the limit) or asks (Yes/No) before a large calculation;
// true to go on.
bool ConfirmCalculationSize(int x_count, int y_count, std::size_t luminaires);

// Lattice of (x count + 1) x (y count + 1) candidates over the extents, stepped by repeated
// addition, kept where the polygon test accepts them. Prints "\n房间没有面积!" and gives none
// for an outline without width, height or area, and "\n你输入的数据不合理!" for counts below 1,
// more candidates than kMaxGridPoints or extents beyond a double's range.
std::optional<Grid> BuildGrid(const std::vector<nyhost::Point3>& polygon,
                              const nyhost::Extents& extents, int x_count, int y_count);

// Floor area in m², or none when the outline is not a polyline of the current drawing.
std::optional<double> RoomArea(nyhost::EntityId outline);

// The luminaire blocks of model space whose insertion point lies inside (or on) the outline, in
// drawing order; an invalid outline gives an empty room.
void CollectLuminaires(nyhost::EntityId outline, std::vector<LuminaireRecord>& records);
