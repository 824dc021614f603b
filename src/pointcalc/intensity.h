// Luminous intensity of a luminaire's distribution curve and the illuminance one luminaire gives
// at one calculation point. Every illuminance of the point method is a sum of these values.
#pragma once

#include <array>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "host/geometry.h"

#include "refdata/luminaire_record.h"
#include "refdata/photometry.h"

// Intensities in cd per 1000 lm at the polar angles 0, 5, ..., 90 degrees (index = angle / 5).
struct IntensityTable {
  std::array<int, 19> cd{};
  bool loaded = false;
  int At(int angle) const { return cd[static_cast<std::size_t>(angle / 5)]; }
};

// Loads a curve table of ZirIrodoDot.mdb: column 光强A into `a` (C0 plane), 光强B into `b` (C90).
// A missing or malformed table prints its message on the command line and fails.
bool LoadCurve(const std::string& curve_table, IntensityTable& a, IntensityTable& b);

// Intensity towards the whole polar angle `t` (degrees): 0 beyond 85 degrees, linear between
// the neighbouring 5-degree values otherwise.
double IntensityAtAngle(int t, const IntensityTable& table);

// Precise lookup: linear at the true polar angle `gamma` (degrees) between the 5-degree values,
// up to and including 90 degrees.
double IntensityAtGamma(double gamma, const IntensityTable& table);

// A luminaire prepared for evaluation at many points: its axis, C-angle reference and the
// constants of the formula, computed once per calculation run.
struct LuminaireSource {
  nyhost::Point3 position;  // drawing units; z = height above the calculation plane
  double nx = 0, ny = 0, nz = 1;  // luminaire axis (unit)
  double xx = 1, xy = 0, xz = 0;  // first axis of the plane normal to the axis (C0 reference)
  double cos_rot = 1, sin_rot = 0;  // rotation about Z
  double flux = 0;                  // lm
  double scale = 1;                 // architectural scale: drawing units -> mm
  const IntensityTable* a = nullptr;
  const IntensityTable* b = nullptr;
  // Precise photometry: the polar angle is used as it is (no whole degrees, no cut above 85
  // degrees), and a full photometry, when the luminaire has one, replaces the two planes.
  bool precise = false;
  const Photometry* photometry = nullptr;
};

// The axis of a luminaire tilted by `tilt_x` about X and `tilt_y` about Y (degrees), as a unit
// vector, and the first in-plane axis of the plane normal to it (arbitrary-axis rule).
void LuminaireAxes(double tilt_x, double tilt_y, double n[3], double x_axis[3]);

LuminaireSource MakeLuminaireSource(const LuminaireRecord& rec, const IntensityTable& a,
                                    const IntensityTable& b, double arch_scale);

// Illuminance in lx at point p (drawing units, on the calculation plane) from one luminaire.
double LuminaireIlluminance(const LuminaireSource& src, const nyhost::Point3& p);

// The same for a record, with the current drawing's architectural scale.
double LuminaireIlluminance(const nyhost::Point3& p, const LuminaireRecord& rec,
                            const IntensityTable& a, const IntensityTable& b);

// The full photometry the precise calculation uses for a curve table: the photometric file
// kept beside the databases when the luminaire was imported from one; none otherwise (the two
// curve planes then serve).
std::optional<Photometry> FullPhotometryOf(const std::string& curve_table);

// The curves of one run's luminaires, each loaded once, and the sources that point into them.
class RunSources {
 public:
  RunSources(double arch_scale, bool precise) : scale_(arch_scale), precise_(precise) {}
  RunSources(const RunSources&) = delete;
  RunSources& operator=(const RunSources&) = delete;
  // Loads the record's curve (and in precise mode its full photometry) and appends its source;
  // false when the curve cannot be loaded (the load has reported why).
  bool Add(const LuminaireRecord& rec);
  const std::vector<LuminaireSource>& sources() const { return sources_; }

 private:
  double scale_;
  bool precise_;
  std::deque<IntensityTable> tables_;  // a deque: sources keep pointers into it
  std::deque<std::optional<Photometry>> grids_;
  std::vector<LuminaireSource> sources_;
};

// Switches a prepared source to the precise lookup, with the model's full photometry kept in
// `grid` when there is one.
void MakePrecise(LuminaireSource& s, const std::string& curve_table,
                 std::optional<Photometry>& grid);
