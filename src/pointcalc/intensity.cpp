#include "pointcalc/intensity.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

#include "base/module_state.h"
#include "host/host.h"
#include "refdata/luminaire_record.h"
#include "refdata/photometry_file.h"
#include "refdata/photometry_import.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "support/ny_access.h"
#include "support/ny_number.h"
#include "support/ny_scale.h"

bool LoadCurve(const std::string& curve_table, IntensityTable& a, IntensityTable& b) {
  a = IntensityTable{};
  b = IntensityTable{};
  if (curve_table.empty()) return false;
  if (!ModuleLoaded()) return false;
  NyAccess* db = GetDbConnection(Module().DataFolder + "ZirIrodoDot.mdb");
  if (!db) return false;
  nyhost::Host& host = nyhost::Host::Get();
  if (!db->IsTableInDatabase(curve_table, "TABLE")) {
    host.Print("<" + curve_table + ">数据已删除,请在(灯具扩充)中修改!");
    return false;
  }
  std::vector<std::string> values;
  int rows = db->GetSelData(values, FormatSql(kSelectCurveIntensities, curve_table));
  if (rows != 19 || values.size() < 2 * 19) {
    host.Print("<" + curve_table + ">数据错误,请在(灯具扩充)中修改!");
    return false;
  }
  // The row position gives the angle; the 角度 column only orders the rows.
  const std::size_t columns = values.size() / 19;
  for (std::size_t i = 0; i < 19; ++i) {
    a.cd[i] = std::atoi(values[i * columns].c_str());
    b.cd[i] = std::atoi(values[i * columns + 1].c_str());
  }
  a.loaded = b.loaded = true;
  return true;
}

double IntensityAtAngle(int t, const IntensityTable& table) {
  if (!table.loaded) return 0;
  // Nothing is emitted from 86 degrees on, although the 90-degree value is kept.
  if (t > 85) return 0;
  int lo = 5 * (t / 5);
  int hi = lo + 5;
  if (lo < 0 || hi > 90) return 0;
  if (t == lo) return table.At(lo);
  double vlo = table.At(lo), vhi = table.At(hi);
  return vlo + (vhi - vlo) * (t - lo) / 5.0;
}

void LuminaireAxes(double tilt_x, double tilt_y, double n[3], double x_axis[3]) {
  const double a = tilt_x * nyhost::kDegToRad;
  const double b = tilt_y * nyhost::kDegToRad;
  n[0] = std::sin(b);
  n[1] = std::sin(a);
  n[2] = std::cos(a) * std::cos(b);
  double len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  for (int i = 0; i < 3; ++i) n[i] /= len;
  // Arbitrary-axis rule of entity coordinate systems: for an axis close to world Z the first
  // in-plane axis is world-Y x N, otherwise world-Z x N. An untilted luminaire gets world +X.
  constexpr double kNearZ = 1.0 / 64.0;
  double ax, ay, az;
  if (std::fabs(n[0]) < kNearZ && std::fabs(n[1]) < kNearZ) {
    ax = n[2];  // (0,1,0) x n
    ay = 0;
    az = -n[0];
  } else {
    ax = -n[1];  // (0,0,1) x n
    ay = n[0];
    az = 0;
  }
  len = std::sqrt(ax * ax + ay * ay + az * az);
  x_axis[0] = ax / len;
  x_axis[1] = ay / len;
  x_axis[2] = az / len;
}

LuminaireSource MakeLuminaireSource(const LuminaireRecord& rec, const IntensityTable& a,
                                    const IntensityTable& b, double arch_scale) {
  LuminaireSource s;
  s.position = rec.position;
  double n[3], x[3];
  LuminaireAxes(rec.tilt_x, rec.tilt_y, n, x);
  s.nx = n[0];
  s.ny = n[1];
  s.nz = n[2];
  s.xx = x[0];
  s.xy = x[1];
  s.xz = x[2];
  const double rot = rec.rotation_z * nyhost::kDegToRad;
  s.cos_rot = std::cos(rot);
  s.sin_rot = std::sin(rot);
  s.flux = rec.total_flux;
  s.scale = arch_scale;
  s.a = &a;
  s.b = &b;
  return s;
}

namespace {

// cos and sin of the C-angle towards p, both scaled by the same positive factor, and the square
// of that factor.
struct CAngle {
  double c, s, scale2;
};

// The angle psi from the horizontal direction V (luminaire -> point) to the plane's first axis
// Xp, measured about the axis (a negative turn, N . (V x Xp) < 0, counts as 360 degrees minus
// the angle), plus the rotation about Z. Only cos and sin of it are needed; they are formed from
// the dot and cross products, scaled by |V|.
inline CAngle CAngleTowards(const LuminaireSource& s, double dx, double dy, const nyhost::Point3& p) {
  const double vx = -dx, vy = -dy, vz = p.z;
  const double v2 = vx * vx + vy * vy + vz * vz;
  if (v2 < 1e-10) return {s.cos_rot, s.sin_rot, 1};  // straight below: psi = 0
  const double dot = vx * s.xx + vy * s.xy + vz * s.xz;
  const double cx = vy * s.xz - vz * s.xy;
  const double cy = vz * s.xx - vx * s.xz;
  const double cz = vx * s.xy - vy * s.xx;
  double across = std::sqrt(std::max(0.0, v2 - dot * dot));  // |V| sin(psi), unsigned
  if (s.nx * cx + s.ny * cy + s.nz * cz < 0) across = -across;
  return {dot * s.cos_rot - across * s.sin_rot, across * s.cos_rot + dot * s.sin_rot, v2};
}

// Elliptical blend of the two planes: C0 gives ia, C90 gives ib.
inline double Blend(double ia, double ib, const CAngle& c) {
  const double ca = ia * c.c, sb = ib * c.s;
  return std::sqrt((ca * ca + sb * sb) / c.scale2);
}

double PreciseIntensity(const LuminaireSource& s, double cos_gamma, const CAngle& c) {
  const double gamma = NyNumber::Acos(cos_gamma) * nyhost::kRadToDeg;
  if (s.photometry)
    return PhotometryIntensity(*s.photometry, std::atan2(c.s, c.c) * nyhost::kRadToDeg, gamma);
  return Blend(IntensityAtGamma(gamma, *s.a), IntensityAtGamma(gamma, *s.b), c);
}

}  // namespace

double IntensityAtGamma(double gamma, const IntensityTable& table) {
  if (!table.loaded || !(gamma >= 0) || gamma > 90) return 0;
  const double k = gamma / 5;
  const int lo = std::min(static_cast<int>(k), 17);
  const double vlo = table.cd[static_cast<std::size_t>(lo)];
  const double vhi = table.cd[static_cast<std::size_t>(lo + 1)];
  return vlo + (vhi - vlo) * (k - lo);
}

double LuminaireIlluminance(const LuminaireSource& s, const nyhost::Point3& p) {
  const double dx = s.position.x - p.x, dy = s.position.y - p.y, dz = s.position.z - p.z;
  // Signed distance of the luminaire from the plane through p normal to its axis.
  const double h = (s.nx * dx + s.ny * dy + s.nz * dz) * s.scale;
  // Also false for a NaN from coordinates beyond a double's range.
  if (!(h >= 1e-5)) return 0;
  const double d = std::sqrt(dx * dx + dy * dy + dz * dz) * s.scale;  // mm
  // On the axis h / d can round to just above 1.
  const double cos_gamma = std::min(h / d, 1.0);
  if (!std::isfinite(cos_gamma)) return 0;
  double intensity;
  if (s.precise) {
    intensity = PreciseIntensity(s, cos_gamma, CAngleTowards(s, dx, dy, p));
  } else {
    const std::optional<int> t =
        NyNumber::TruncToInt(NyNumber::Acos(cos_gamma) * nyhost::kRadToDeg);
    // Both planes are dark from 86 degrees on: nothing to add.
    if (!t || *t > 85) return 0;
    const double ia = IntensityAtAngle(*t, *s.a);
    const double ib = IntensityAtAngle(*t, *s.b);
    intensity = Blend(ia, ib, CAngleTowards(s, dx, dy, p));
  }
  const double h_m = h * 0.001;
  return s.flux * intensity * cos_gamma * cos_gamma * cos_gamma / (1000.0 * h_m * h_m);
}

double LuminaireIlluminance(const nyhost::Point3& p, const LuminaireRecord& rec,
                            const IntensityTable& a, const IntensityTable& b) {
  double scale = NyScale::GetArchScale(nyhost::Host::Get().drawing());
  return LuminaireIlluminance(MakeLuminaireSource(rec, a, b, scale), p);
}

std::optional<Photometry> FullPhotometryOf(const std::string& curve_table) {
  std::string error;
  std::optional<Photometry> grid = KeptPhotometry(curve_table, error);
  // A kept file that cannot be read leaves the luminaire on its two curve planes, said once.
  static std::set<std::string> told;
  static std::mutex mutex;
  std::lock_guard lock(mutex);
  if (!error.empty() && told.insert(curve_table).second)
    nyhost::Host::Get().Print("\n精确光度: " + error + "; " + curve_table + " 用配光曲线表计算");
  return grid;
}

void MakePrecise(LuminaireSource& s, const std::string& curve_table,
                 std::optional<Photometry>& grid) {
  s.precise = true;
  grid = FullPhotometryOf(curve_table);
  s.photometry = grid ? &*grid : nullptr;
}

bool RunSources::Add(const LuminaireRecord& rec) {
  IntensityTable& a = tables_.emplace_back();
  IntensityTable& b = tables_.emplace_back();
  if (!LoadCurve(rec.curve_table, a, b)) return false;
  LuminaireSource s = MakeLuminaireSource(rec, a, b, scale_);
  if (precise_) MakePrecise(s, rec.curve_table, grids_.emplace_back());
  sources_.push_back(s);
  return true;
}
