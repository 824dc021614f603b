#include "lumen/lumen_room.h"

#include <fmt/printf.h>

#include <cmath>
#include <cstdlib>

namespace {

int Watts(const std::string& text) { return std::atoi(text.c_str()); }

// Rounded to two decimals as "%.2f" and read back.
double TwoDecimals(double v) { return std::atof(fmt::sprintf("%.2f", v).c_str()); }

}  // namespace

void UpdateRoomGeometry(LumenRoom& r) {
  r.floor_area = r.length * r.width;
  r.perimeter = 2 * (r.length + r.width);
  r.wall_area = r.perimeter * r.height;
}

double RoomCavityRatio(const LumenRoom& r) {
  const double a = r.length * r.width;
  if (std::fabs(a) < 1e-12) return 0;
  return 2.5 * (2 * (r.length + r.width) * r.height) / a;
}

double EffectiveCeiling(const LumenRoom& r) { return r.ceiling * 0.01; }

double EffectiveWall(const LumenRoom& r) {
  return ((1 - r.window_ratio * 0.01) * r.wall + r.window_ratio * 0.09) * 0.01;
}

double CutCoefficient(double u, int digits) {
  if (u == -1) return u;
  const double k = std::pow(10.0, digits);
  // A whole number of thousandths stays itself despite binary rounding (0.59 × 1000).
  return std::floor(u * k + 1e-9) / k;
}

double ComputePowerDensity(const LumenRoom& r) {
  if (std::fabs(r.floor_area) < 0.001) return 0;
  const int watts = (Watts(r.set1.power) + Watts(r.set1.ballast)) * r.set1.lamps +
                    (Watts(r.set2.power) + Watts(r.set2.ballast)) * r.set2.lamps;
  return static_cast<double>(watts) * r.count / r.floor_area;
}

double ComputeReducedPowerDensity(const LumenRoom& r) {
  if (std::fabs(r.standard_lx) < 0.001) return 0;
  return std::trunc(r.illuminance / r.standard_lx * r.standard_lpd * 100) * 0.01;
}

std::optional<LumenVerdicts> ShowPowerDensityVerdicts(LumenRoom& r, StandardEdition edition) {
  if (r.illuminance == 0) return std::nullopt;
  LumenVerdicts v;
  if (ReachesStandard(edition, r.illuminance, r.standard_lx)) {
    r.reference_lpd = r.standard_lpd;
    v.label = "标准功率密度w/m2";
    v.reference_tip = "计算照度大于等于标准照度,采用标准功率密度";
    v.lpd_tip = r.lpd < r.reference_lpd
                    ? "计算功率密度小于标准功率密度,通过!"
                    : "计算功率密度大于等于标准功率密度,不通过!建议调整光源或灯具";
    v.illuminance_tip = "计算照度大于等于标准照度,通过!";
  } else {
    v.label = "折算功率密度w/m2";
    v.reference_tip = "计算照度小于标准照度,采用折算功率密度";
    v.lpd_tip = r.lpd < r.reference_lpd
                    ? "计算功率密度小于折算功率密度,通过!"
                    : "计算功率密度大于等于折算功率密度,不通过!建议调整光源或灯具";
    v.illuminance_tip = "计算照度小于标准照度,不通过!建议调整光源或灯具";
  }
  for (auto* tip : {&v.reference_tip, &v.lpd_tip, &v.illuminance_tip})
    *tip = EditionVerdict(edition, *tip);
  return v;
}

namespace {

double Flux(const LumenRoom& r) { return r.set1.flux + r.set2.flux; }

void PowerDensities(LumenRoom& r) {
  r.lpd = ComputePowerDensity(r);
  r.reference_lpd = ComputeReducedPowerDensity(r);
}

}  // namespace

std::optional<std::string> CalculateAverageIlluminance(LumenRoom& r) {
  UpdateRoomGeometry(r);
  const double rcr = RoomCavityRatio(r);
  if (rcr > 15) return fmt::sprintf("室形系数RCR = %.1f,远大于10,不适合使用利用系数法计算!", rcr);
  if (r.floor_area < 0.0001) return std::string("房间面积 == 0");
  if (r.cu < 0.0001) return std::string("利用系数 == 0");
  const double flux = Flux(r);
  if (flux < 0.0001) return std::string("光源光通量 == 0");
  const double per_lamp = flux * r.maintenance * r.cu;
  r.count = static_cast<int>(std::ceil(r.standard_lx * r.floor_area / per_lamp));
  const double e = r.count * flux / r.floor_area * r.maintenance * r.cu;
  r.illuminance = std::ceil(e * 10) * 0.1;
  PowerDensities(r);
  return std::nullopt;
}

void IlluminanceFromCount(LumenRoom& r) {
  UpdateRoomGeometry(r);
  if (r.floor_area < 0.001) return;
  const double e = r.count * Flux(r) / r.floor_area * r.maintenance * r.cu;
  r.illuminance = std::floor(e * 10) * 0.1;
  PowerDensities(r);
}

void CountFromIlluminance(LumenRoom& r) {
  UpdateRoomGeometry(r);
  // Without flux or coefficient no count reaches any illuminance: leave the count alone.
  const double per_lamp = Flux(r) * r.maintenance * r.cu;
  if (per_lamp > 0) r.count = static_cast<int>(std::ceil(r.floor_area * r.illuminance / per_lamp));
  PowerDensities(r);
}

bool RoomFromOutline(double area_du, double perimeter_du, double arch_scale, LumenRoom& r) {
  if (area_du < 0.001) return false;
  const double d = perimeter_du * perimeter_du * 0.0625 - area_du;
  double length, width;
  if (d < 0) {
    length = width = std::sqrt(area_du);
  } else {
    length = TwoDecimals(perimeter_du * 0.25 + std::sqrt(d));
    width = TwoDecimals(area_du / length);
  }
  r.width = std::floor(width * 100) * arch_scale * 0.00001;
  r.length = std::floor(length * 100) * arch_scale * 0.00001;
  UpdateRoomGeometry(r);
  return true;
}
