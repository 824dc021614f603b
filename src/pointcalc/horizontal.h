// Horizontal illuminance of the room: the grid summed over the room's luminaires, the statistics,
// the lighting power density and the verdicts against the chosen standard.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/geometry.h"
#include "pointcalc/intensity.h"
#include "pointcalc/point_data.h"

// The host's progress bar driven the way the calculation loop drives it: with fewer than 100
// evaluations each one advances the bar by 100 div total; otherwise a fraction accumulates and
// the bar moves by one whenever it passes 1.
class ProgressRule {
 public:
  explicit ProgressRule(long long total);
  // Advances by `evaluations`; calls `report` with the new percentage for every move.
  void Advance(long long evaluations, const std::function<void(int)>& report);
  int percent() const { return percent_; }

 private:
  long long total_;
  int step_ = 0;
  long long cycle_ = 0, pending_ = 0;  // evaluations per move, and since the last one
  int percent_ = 0;
};

// Number of threads the sums use (default: the machine's cores). 0 restores the default.
void SetCalculationThreads(int threads);
int CalculationThreads();

// values[i] = sum over the sources, in their order, of the illuminance at points[i]. Every point
// is summed in the same order whatever the thread count, so results do not depend on it.
// `progress` (may be empty) runs on the calling thread with the evaluations done since its last
// call.
void SumIlluminance(const std::vector<LuminaireSource>& sources,
                    const std::vector<nyhost::Point3>& points, std::vector<double>& values,
                    int threads, const std::function<void(long long)>& progress = {});

struct PointStatistics {
  double min = 0, max = 0, sum = 0, mean = 0;
};
PointStatistics StatisticsOf(const std::vector<double>& values);

struct LegendRange {
  double min = 0, max = 0;
  int interval = 10;
};
LegendRange LegendFor(double min, double max, double mean);

// Maximum, minimum and mean into fields 241, 242, 243 ("%.2f") and the legend range from them,
// as every run of the dialog writes its statistics.
void ShowStatistics(PointDialogData& data, const PointStatistics& st);

// The standard illuminance taken from the average when none was chosen: its integer part rounded
// down to a multiple of 50.
int StandLxFromAverage(const std::string& average_text);

// Installed power of the luminaires (lamps plus ballasts, both groups) over the area; 0 for an
// area below 0.001 m².
double PowerDensity(const std::vector<LuminaireRecord>& records, double area_m2);
// Limit scaled to the calculated average; 0 when the average is 0 or no standard illuminance
// is known.
double ConvertedLimit(double stand_lpd, int stand_lx, double average);
// floor(x * 100) / 100.
double CutTo2Decimals(double x);

// Work-area uniformity: minimum over mean of the points strictly inside the rectangle around the
// luminaires. Leaves `uniformity` unchanged when it cannot be formed.
void WorkAreaUniformity(PointDialogData& data, double average);

// Label 372, the limit 360 and the tooltips of 243, 358, 360 and 232 against the standard.
void ApplyVerdicts(PointDialogData& data);

// What the tooltips of the maximum and minimum (241, 242) say of results of precise photometry.
inline constexpr const char* kPreciseMark = "精确光度: 极角按实际值插值, 不截取整度, 85°以上照常计入";
// Marks the results of this run as precise (or not) in the tooltips of 241 and 242.
void MarkPhotometry(PointDialogData& data);

// Clears the result fields as a new calculation starts.
void ClearHorizontalResults(PointDialogData& data);

// The calculation after the dialog has read its controls and the luminaire table: grid, sums,
// statistics, legend, power density, limit, uniformity and verdicts. False when it stopped (the
// reason has been reported where the user sees it).
bool RunHorizontalCalculation(PointDialogData& data);

// Summed illuminance of all luminaires of the room at one point (curves loaded on the way).
double IlluminanceAtPoint(const std::vector<LuminaireRecord>& records, const nyhost::Point3& p);
