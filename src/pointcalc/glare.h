// Unified glare rating of the point method: the Guth position index of a luminaire seen from an
// observer, the rating at one point for one horizontal viewing direction, the worst rating of
// every grid point over the directions of a full turn, and the one-point check against the
// standard's limit.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/dialog.h"
#include "host/geometry.h"
#include "pointcalc/intensity.h"
#include "pointcalc/point_data.h"
#include "refdata/luminaire_record.h"

// The table 古斯位置指数 held in memory for one run. A cell is found as the statement finds
// it: the column named by the T/R key of the one row whose H_R equals the H/R key.
class GuthTable {
 public:
  static constexpr int kRows = 32, kColumns = 21;  // keys a ratio inside the table can give

  // Reads the whole table from ZirIrodoDot.mdb; false (every index 0) when it cannot.
  bool Load();
  // From column names and rows of text, as a query gives them.
  void Fill(const std::vector<std::string>& columns,
            const std::vector<std::vector<std::string>>& rows);
  // The index for two keys; 0 without exactly one row or without such a column.
  double Lookup(int hr_key, int tr_key) const;

 private:
  std::array<double, kRows * kColumns> cells_{};
};

// The key of a ratio: "%.0f" of (ratio + 0.05) x 10 with halves away from zero.
std::string PositionKeyText(double ratio);

// Position index P of a luminaire at `lum` seen from `eye` looking along `psi` (radians,
// counter-clockwise from the x axis); 0 outside the table. A luminaire not above the eye prints
// "计算古斯位置指数P时 dH < 0" and gives 0.
double PositionIndex(const nyhost::Point3& eye, const nyhost::Point3& lum, double psi,
                     const GuthTable& table);

// The viewing directions of the all-points run: 0, 10, 20, ... degrees, the step added up and
// compared with a full turn as the run does it.
std::vector<double> FullTurnDirections();

// The glare of a room's luminaires for one run: curves and the position-index table read once.
class GlareCalculation {
 public:
  GlareCalculation(const std::vector<LuminaireRecord>& records, double arch_scale,
                   const GuthTable& table);
  // The prepared sources point into the object's own tables.
  GlareCalculation(const GlareCalculation&) = delete;
  GlareCalculation& operator=(const GlareCalculation&) = delete;
  // Luminances from the precise lookup (set before LoadCurves).
  void SetPrecise(bool precise) { precise_ = precise; }
  using CurveLoader = std::function<bool(const std::string&, IntensityTable&, IntensityTable&)>;
  // Loads, in record order, the curve of each luminaire that counts at one of the points for
  // one of the directions; a curve that cannot be loaded prints the load's message and leaves
  // its luminaire out. Runs on the calling thread (it talks to the host).
  void LoadCurves(const std::vector<nyhost::Point3>& points, const std::vector<double>& psis,
                  const CurveLoader& load = LoadCurve);
  // UGR at `eye` for each direction (>= 0). Thread-safe after LoadCurves.
  void Rate(const nyhost::Point3& eye, const std::vector<double>& psis,
            std::vector<double>& ugr) const;
  double RateOne(const nyhost::Point3& eye, double psi) const;
  // The largest rating above 0 over the directions, 0 when none is.
  double Worst(const nyhost::Point3& eye, const std::vector<double>& psis) const;
  // Worst for every point, shared among threads (results do not depend on their number);
  // `progress` gets the points finished, on the calling thread.
  void WorstAt(const std::vector<nyhost::Point3>& points, const std::vector<double>& psis,
               std::vector<double>& worst, int threads,
               const std::function<void(long long)>& progress = {}) const;

 private:
  struct Lum {
    LuminaireRecord record;
    IntensityTable a, b;
    LuminaireSource source;  // prepared once the curve is loaded
    std::optional<Photometry> grid;  // full photometry in precise mode, when kept
    int curve = 0;           // 0 not needed so far, 1 loaded, -1 failed
  };
  // What a luminaire contributes at one eye whatever the direction.
  struct Seen {
    double hx = 0, hy = 0, h = 0;  // horizontal offset and height of the luminaire from the eye
    double cos_theta = 0;
    double d = 0;  // distance in metres (drawing units taken as mm)
  };
  bool See(const Lum& lum, const nyhost::Point3& eye, Seen& seen) const;
  double Index(const Seen& seen, double cos_psi, double sin_psi) const;

  std::vector<Lum> lums_;
  double scale_;
  GuthTable table_;
  bool precise_ = false;
};

// "各点眩光" after the dialog read its controls: the density question, the luminaire table, the
// grid, the worst rating of every point, statistics and legend into `data`. Sets `exceeded`
// when a rating is above a standard limit of 1 or more. False when it stopped.
bool RunGlareAtAllPoints(nyhost::Dialog& window, PointDialogData& data, bool& exceeded);
void WarnGlareAboveStandard();

// UGR rounded down to one decimal and the text of the one-point check against `limit`.
double GlareShown(double ugr);
std::string GlareVerdictText(double shown, int limit);

// The command's work after the dialog was hidden: the two picks, the rating, the message box
// and the command-line text. False when a pick was not given.
bool RunGlareAtPickedPoint(const PointDialogData& data);
