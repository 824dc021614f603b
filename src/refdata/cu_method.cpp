#include "refdata/cu_method.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <stdexcept>

namespace nyluxora::cu {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
// Sub-steps per zone when integrating the multiplier over the zone's polar angles.
constexpr int kZoneSteps = 200;
// Smallest cavity ratio the room model accepts; below it the walls vanish.
constexpr double kMinRcr = 1e-6;

// Share of rays with horizontal reach u (in units of the room side) that land inside a square
// room, averaged over all start points and azimuths. Closed form of
// (2/pi) * integral over 0..pi/2 of max(0, 1 - u cos p) * max(0, 1 - u sin p) dp.
double LandingShare(double u) {
  if (u <= 1.0) return 1.0 - (4.0 * u - u * u) / std::numbers::pi;
  if (u >= std::numbers::sqrt2) return 0.0;
  const double value = std::numbers::pi / 2.0 - 2.0 * std::acos(1.0 / u) - 1.0 +
                       2.0 * std::sqrt(u * u - 1.0) - u * u / 2.0;
  return std::max(0.0, 2.0 / std::numbers::pi * value);
}

}  // namespace

Curve SymmetricCurve(const std::array<double, kCurvePoints>& values) {
  return Curve{values, values};
}

std::array<double, kZones> ZonalLumens(const Curve& curve) {
  std::array<double, kZones> lumens{};
  for (int zone = 0; zone < kZones; ++zone) {
    const int middle = 2 * zone + 1;  // 5, 15, ... 85 degrees
    const double intensity = (curve.plane_a[middle] + curve.plane_b[middle]) / 2.0;
    const double solid_angle =
        2.0 * std::numbers::pi *
        (std::cos(10.0 * zone * kDegree) - std::cos(10.0 * (zone + 1) * kDegree));
    lumens[zone] = intensity * solid_angle;
  }
  return lumens;
}

double DownwardLor(const Curve& curve) {
  double sum = 0.0;
  for (double lumens : ZonalLumens(curve)) sum += lumens;
  return sum / 1000.0;
}

Curve ScaledToDownwardLor(const Curve& curve, double lor) {
  const double current = DownwardLor(curve);
  if (!(lor > 0.0) || !(current > 0.0)) {
    throw std::invalid_argument("light output ratio and curve flux must be positive");
  }
  const double factor = lor / current;
  Curve scaled = curve;
  for (double& v : scaled.plane_a) v *= factor;
  for (double& v : scaled.plane_b) v *= factor;
  return scaled;
}

double ZonalMultiplier(int zone, double rcr) {
  if (zone < 0 || zone >= kZones) throw std::out_of_range("zone must be 0..8");
  if (rcr <= 0.0) return 1.0;
  // A square room of side a and cavity height h has RCR = 10 h / a, so a ray leaving at polar
  // angle t travels u = h tan t / a = RCR tan t / 10 room sides sideways before the work plane.
  double weighted = 0.0;
  double weights = 0.0;
  const double step = 10.0 / kZoneSteps;
  for (int i = 0; i < kZoneSteps; ++i) {
    const double angle = (10.0 * zone + (i + 0.5) * step) * kDegree;
    const double weight = std::sin(angle);
    weighted += weight * LandingShare(rcr * std::tan(angle) / 10.0);
    weights += weight;
  }
  return weighted / weights;
}

double DirectRatio(const Curve& curve, double rcr) {
  const auto lumens = ZonalLumens(curve);
  double total = 0.0;
  double direct = 0.0;
  for (int zone = 0; zone < kZones; ++zone) {
    total += lumens[zone];
    direct += lumens[zone] * ZonalMultiplier(zone, rcr);
  }
  return total > 0.0 ? direct / total : 0.0;
}

double CeilingFloorFormFactor(double rcr) {
  if (rcr <= 0.0) return 1.0;
  // Parallel, directly opposed squares of side a at distance h, with x = a / h = 10 / RCR.
  const double x = 10.0 / rcr;
  const double x2 = x * x;
  const double root = std::sqrt(1.0 + x2);
  const double bracket = std::log((1.0 + x2) / std::sqrt(1.0 + 2.0 * x2)) +
                         2.0 * x * root * std::atan(x / root) - 2.0 * x * std::atan(x);
  return 2.0 / (std::numbers::pi * x2) * bracket;
}

RoomExchange SolveRoomExchange(double rcr, double rho_ceiling, double rho_wall, double rho_floor,
                               double direct_ceiling, double direct_wall, double direct_floor) {
  rcr = std::max(rcr, kMinRcr);
  const double f = CeilingFloorFormFactor(rcr);
  const double wall_to_floor_area = rcr / 2.5;                    // wall area / floor area
  const double ceiling_to_wall = 1.0 - f;                         // also floor to wall
  const double wall_to_ceiling = (1.0 - f) / wall_to_floor_area;  // also wall to floor
  const double wall_to_wall = std::max(0.0, 1.0 - 2.0 * wall_to_ceiling);

  // Incident flux E_i = D_i + sum_j rho_j E_j F(j -> i), surfaces 0 ceiling, 1 wall, 2 floor.
  const double view[3][3] = {{0.0, ceiling_to_wall, f},
                             {wall_to_ceiling, wall_to_wall, wall_to_ceiling},
                             {f, ceiling_to_wall, 0.0}};
  const double rho[3] = {rho_ceiling, rho_wall, rho_floor};
  double m[3][4];
  const double direct[3] = {direct_ceiling, direct_wall, direct_floor};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) m[i][j] = (i == j ? 1.0 : 0.0) - rho[j] * view[j][i];
    m[i][3] = direct[i];
  }
  // Reflectances below 1 make the system diagonally dominant: no pivoting needed.
  for (int c = 0; c < 3; ++c) {
    for (int r = 0; r < 3; ++r) {
      if (r == c) continue;
      const double factor = m[r][c] / m[c][c];
      for (int k = c; k < 4; ++k) m[r][k] -= factor * m[c][k];
    }
  }
  return RoomExchange{m[0][3] / m[0][0], m[1][3] / m[1][1], m[2][3] / m[2][2]};
}

double CoefficientOfUtilization(const Curve& curve, double upward_lor, double rho_cc, double rho_w,
                                double rcr, double rho_fc) {
  const double downward = DownwardLor(curve);
  const double direct_ratio = DirectRatio(curve, rcr);
  return SolveRoomExchange(rcr, rho_cc, rho_w, rho_fc, upward_lor, (1.0 - direct_ratio) * downward,
                           direct_ratio * downward)
      .floor_incident;
}

std::array<ReflectancePair, 10> SeriesPairs(Series series) {
  if (series == Series::k80) {
    return {{{80, 50},
             {80, 30},
             {80, 10},
             {70, 50},
             {70, 30},
             {70, 10},
             {50, 50},
             {50, 30},
             {50, 10},
             {0, 0}}};
  }
  return {{{70, 50},
           {70, 30},
           {70, 10},
           {50, 50},
           {50, 30},
           {50, 10},
           {30, 50},
           {30, 30},
           {30, 10},
           {0, 0}}};
}

std::vector<CuRow> CuTable(const Curve& curve, double upward_lor, Series series) {
  const double downward = DownwardLor(curve);
  std::array<double, 10> direct_ratio{};
  for (int rcr = 1; rcr <= 10; ++rcr) direct_ratio[rcr - 1] = DirectRatio(curve, rcr);

  std::vector<CuRow> rows;
  rows.reserve(100);
  for (const ReflectancePair& pair : SeriesPairs(series)) {
    for (int rcr = 1; rcr <= 10; ++rcr) {
      const double dr = direct_ratio[rcr - 1];
      const RoomExchange exchange =
          SolveRoomExchange(rcr, pair.ceiling / 100.0, pair.wall / 100.0, kFloorCavityReflectance,
                            upward_lor, (1.0 - dr) * downward, dr * downward);
      rows.push_back(CuRow{exchange.floor_incident, pair.ceiling, pair.wall, rcr});
    }
  }
  return rows;
}

std::string CreateTableSql(std::string_view table) {
  std::string sql = "CREATE TABLE [";
  sql += table;
  sql += "] ([利用系数] REAL, [有效顶棚反射比] REAL, [墙反射比] REAL, [室空间比] REAL);\n";
  return sql;
}

std::string InsertRowsSql(std::string_view table, const std::vector<CuRow>& rows) {
  std::string sql;
  char values[256];
  for (const CuRow& row : rows) {
    // Same statement form as the table editor writes, so both kinds of table read alike.
    std::snprintf(values, sizeof values,
                  " (利用系数,有效顶棚反射比,墙反射比,室空间比) values (%.2f,%d,%d,%d);\n", row.cu,
                  row.ceiling, row.wall, row.rcr);
    sql += "INSERT INTO [";
    sql += table;
    sql += "]";
    sql += values;
  }
  return sql;
}

}  // namespace nyluxora::cu
