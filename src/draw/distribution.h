// The illuminance distribution as drawing entities: calculation points with value labels,
// isolux lines with their values, colour areas between the levels and the legend. Pure: result
// points and settings in, entities out; the caller puts them into a drawing.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "draw/clip.h"
#include "draw/effects.h"
#include "host/entity.h"

namespace nydraw {

enum class DrawMode { kPoints = 0, kLines = 1, kAreas = 2 };

// Key of the text a drawn point carries: a section point's per-luminaire values joined by "#".
inline constexpr const char* kPointTextKey = "计算值";

struct DrawRequest {
  std::vector<nyhost::Point3> points;  // x, y and the value in z
  double cal_max = 0, cal_min = 0;     // the calculated range as the dialog shows it
  DrawMode mode = DrawMode::kPoints;
  bool labels = false;    // "标注": a value label at every point (areas: on the lines too)
  unsigned cal_type = 0;  // 2 = glare ratings, otherwise illuminance
  int range_type = 0;     // 0 the calculated range, 1 the effect's range
  ColourEffect effect;
  std::string point_layer, text_layer;
  // Per point, a text kept on the drawn point under kPointTextKey (none when empty).
  std::vector<std::string> point_texts;
  Loop outline;       // closed room outline (first point repeated); empty: none
  double unit = 100;  // drawing units per millimetre of paper (drawing / arch scale)
  // Whether a box would cover something the plan already shows; the legend goes where nothing
  // is, trying right of the room, left, below, above, then further right. Empty: nothing is.
  std::function<bool(const nyhost::Extents&)> occupied;
};

struct Legend {
  std::vector<double> levels;  // ascending
  std::vector<int> colours;    // colour index per level
  double lo = 0, hi = 0;       // the range the levels span
};

// Levels of the drawing. Range type 0: from the calculated range and the mean of the values,
// the same rule that sets the dialog's legend; range type 1: the effect's range in about ten
// round steps.
Legend MakeLegend(const DrawRequest& request);

// Every entity of the drawing, in drawing order (areas, lines, points, labels, legend).
std::vector<nyhost::Entity> BuildDistribution(const DrawRequest& request);

// Text of a level: whole numbers without decimals.
std::string LevelText(double level);

}  // namespace nydraw
