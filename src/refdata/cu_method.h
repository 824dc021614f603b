// Utilization coefficients of a luminaire from its distribution curve, by the zonal-cavity
// method. The cu_generator tool writes the shipped coefficient tables with it and the photometry
// import gives an imported luminaire its table the same way. Method: tools/README.md.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace nyluxora::cu {

// A curve has one intensity per 5 degrees from 0 (straight down) to 90 degrees.
inline constexpr int kCurvePoints = 19;
// Zones of 10 degrees between 0 and 90 degrees.
inline constexpr int kZones = 9;
// Reflectance of the floor cavity that every shipped table assumes.
inline constexpr double kFloorCavityReflectance = 0.2;

// Intensities in cd per 1000 lamp lumens, so the curve already holds the light output ratio.
struct Curve {
  std::array<double, kCurvePoints> plane_a{};  // A-A plane (C0)
  std::array<double, kCurvePoints> plane_b{};  // B-B plane (C90)
};

// Curve whose two planes are equal.
Curve SymmetricCurve(const std::array<double, kCurvePoints>& values);

// Lumens per 1000 lamp lumens emitted into each 10-degree zone (0-10, 10-20, ... 80-90), from
// the mean of both planes at the zone's middle angle times the zone's solid angle.
std::array<double, kZones> ZonalLumens(const Curve& curve);

// Downward light output ratio implied by the curve (sum of the zonal lumens / 1000).
double DownwardLor(const Curve& curve);

// The curve scaled so that its downward light output ratio equals `lor`. For curves that are
// given per 1000 luminaire lumens or as a relative shape. `lor` must be positive and the curve
// must emit some light.
Curve ScaledToDownwardLor(const Curve& curve, double lor);

// Fraction of a zone's flux that reaches the work plane without striking a wall, for
// luminaires spread evenly over the ceiling of a square room of the given room cavity ratio,
// averaged over the zone (weighted by solid angle) and over all azimuths. zone: 0..8.
double ZonalMultiplier(int zone, double rcr);

// Share of the downward luminaire flux that falls directly on the work plane.
double DirectRatio(const Curve& curve, double rcr);

// View factor between the ceiling plane and the work plane of a square room (two equal,
// parallel, directly opposed squares) with the given room cavity ratio.
double CeilingFloorFormFactor(double rcr);

// Total flux (per lamp lumen) arriving on each surface of the room cavity, direct light and all
// inter-reflections included.
struct RoomExchange {
  double ceiling_incident = 0;
  double wall_incident = 0;
  double floor_incident = 0;
};

// Solves the inter-reflection between ceiling cavity plane, walls and floor cavity plane.
// direct_ceiling/direct_wall/direct_floor: flux per lamp lumen sent straight to each surface.
RoomExchange SolveRoomExchange(double rcr, double rho_ceiling, double rho_wall, double rho_floor,
                               double direct_ceiling, double direct_wall, double direct_floor);

// Utilization coefficient: flux reaching the work plane per lamp lumen. Reflectances are
// fractions (0.7, not 70). upward_lor: flux sent above the horizontal per lamp lumen, which a
// curve of 0..90 degrees cannot show; it lands on the ceiling cavity.
double CoefficientOfUtilization(const Curve& curve, double upward_lor, double rho_cc, double rho_w,
                                double rcr, double rho_fc = kFloorCavityReflectance);

enum class Series { k70, k80 };

struct ReflectancePair {
  int ceiling;  // effective ceiling-cavity reflectance, percent
  int wall;     // wall reflectance, percent
};

// The ten (ceiling, wall) pairs of a series, highest first and (0,0) last: the column order of
// the table editor.
std::array<ReflectancePair, 10> SeriesPairs(Series series);

struct CuRow {
  double cu;
  int ceiling;
  int wall;
  int rcr;
};

// The 100 rows of a table: pairs in SeriesPairs order, RCR 1..10 within each pair.
std::vector<CuRow> CuTable(const Curve& curve, double upward_lor, Series series);

// "CREATE TABLE [name] (...)" for a coefficient table, with a trailing newline.
std::string CreateTableSql(std::string_view table);

// One INSERT statement per row, coefficients with two decimals, each on its own line.
std::string InsertRowsSql(std::string_view table, const std::vector<CuRow>& rows);

}  // namespace nyluxora::cu
