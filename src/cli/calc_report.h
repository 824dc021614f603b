// What `nyluxora calc` reports of a finished point calculation: the result fields of the
// point-method dialog as printed lines, and the same values as a JSON summary.
#pragma once

#include <string>
#include <vector>

#include "host/dialog.h"
#include "host/geometry.h"

namespace nycli {

// Result fields of dialog 214 in the order they are printed.
inline constexpr int kPointDialog = 214;
inline constexpr int kLuminaireTable = 4512;
inline constexpr int kPreciseCheck = 402;  // "精确光度"
inline constexpr int kResultFields[] = {338, 241, 242, 243, 232, 358, 245, 233, 372, 360};

struct CalcSummary {
  std::string program;  // "nyluxora 0.1.0"
  std::string plan;
  std::vector<nyhost::Point3> room;  // corners, drawing units
  double area_m2 = 0;
  int grid_points = 0;
  std::string standard;  // category/place, empty when none was chosen
  // Luminaires left out for lack of a curve (--missing-curve skip): name, model, "x,y".
  std::vector<std::vector<std::string>> left_out;
  std::string edition;  // of the standard, as the standards dialog names it; empty without one
};

// Whether the results come from precise photometry.
bool PreciseChecked(const nyhost::Dialog& dlg);

// Area of the room in square metres (drawing units times the architectural scale are mm).
double RoomAreaM2(const std::vector<nyhost::Point3>& corners, double arch_scale);

// The JSON text of the summary: the fields above, the luminaire table, the results, the
// standard values and the verdicts, read from the dialog.
std::string CalcSummaryJson(const CalcSummary& summary, const nyhost::Dialog& dlg);

}  // namespace nycli
