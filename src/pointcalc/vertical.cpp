#include "pointcalc/vertical.h"

#include <fmt/printf.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/module_state.h"
#include "host/host.h"
#include "pointcalc/horizontal.h"
#include "pointcalc/parallel_points.h"
#include "support/ny_geo.h"
#include "support/ny_scale.h"

namespace {

constexpr double kQuarterTurn = 1.5707963267948966;

constexpr const char* kCurveMissing1 =
    "我们非常抱歉的告诉你,程序无法继续!:\n原因:在数据库中没有找到配光曲线:";
constexpr const char* kCurveMissing2 =
    "\n参考解决方法:\na.关闭没有找到配光曲线的灯具\nb.在灯具扩充中添加配光曲线.\n"
    "也许数据库管理员可以帮助你解决问题!\n\n如果还有其他疑问,请与我们的技术人员联系.";

void Warn(const std::string& text) {
  nyhost::Host::Get().windows().MessageBox(kMessageCaption, text, nyhost::MbIcon::kWarning,
                                           nyhost::MbButtons::kOk);
}

}  // namespace

double SectionFrame::SignedDistance(const nyhost::Point3& p) const {
  return (p.x - mid.x) * nx + (p.y - mid.y) * ny;
}

nyhost::Point3 SectionFrame::Flatten(const nyhost::Point3& p) const {
  const double x = p.x - mid.x, y = p.y - mid.y, z = p.z - mid.z;
  const double* r = rot_;
  return {mid.x + r[0] * x + r[1] * y + r[2] * z, mid.y + r[3] * x + r[4] * y + r[5] * z,
          mid.z + r[6] * x + r[7] * y + r[8] * z};
}

SectionFrame MakeSectionFrame(const nyhost::Point3& start, const nyhost::Point3& end,
                              const nyhost::Point3& side) {
  SectionFrame f;
  f.start = start;
  f.end = end;
  f.mid = NyGeo::Mid(start, end);
  const double dx = end.x - start.x, dy = end.y - start.y;
  f.length = std::sqrt(dx * dx + dy * dy + (end.z - start.z) * (end.z - start.z));
  f.ang = std::atan2(dy, dx);
  if (f.ang < 0) f.ang += 2 * std::numbers::pi;
  const double plan = std::hypot(dx, dy);
  if (plan > 0) {
    f.nx = -dy / plan;
    f.ny = dx / plan;
  }
  f.side_flag = f.SignedDistance(side) >= 0.001 ? 1 : 0;
  // Turn by -ang about z (S->E onto +x), then by a quarter turn about +x (up onto -y).
  const double ca = std::cos(f.ang), sa = std::sin(f.ang);
  const double cq = std::cos(kQuarterTurn), sq = std::sin(kQuarterTurn);
  const double rz[9] = {ca, sa, 0, -sa, ca, 0, 0, 0, 1};
  const double rx[9] = {1, 0, 0, 0, cq, -sq, 0, sq, cq};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      double v = 0;
      for (int k = 0; k < 3; ++k) v += rx[3 * i + k] * rz[3 * k + j];
      f.rot_[3 * i + j] = v;
    }
  return f;
}

std::vector<LuminaireRecord> FlattenLuminaires(const SectionFrame& frame,
                                               const std::vector<LuminaireRecord>& records,
                                               double& hmax) {
  hmax = 0;
  std::vector<LuminaireRecord> out;
  out.reserve(records.size());
  for (LuminaireRecord r : records) {
    hmax = std::max(hmax, r.position.z);
    const bool mirrored = frame.SignedDistance(r.position) < 0.001;
    if (mirrored) r.position = NyGeo::Mirror(r.position, frame.start, frame.end);
    r.position = frame.Flatten(r.position);
    r.tilt_x -= 90;
    r.rotation_z -= frame.ang * nyhost::kRadToDeg;
    if (mirrored) r.rotation_z += 180;
    out.push_back(std::move(r));
  }
  return out;
}

nyhost::Point3 SectionOrigin(const SectionFrame& frame, double hmax) {
  const nyhost::Point3 up{0, 0, hmax};
  nyhost::Extents flat;
  for (const auto& c : {frame.start + up, frame.end + up, frame.end, frame.start})
    flat.Add(frame.Flatten(c));
  return flat.min;
}

SectionGrid BuildSectionGrid(const nyhost::Point3& origin, double length, double hmax, int x_count,
                             int y_count) {
  SectionGrid g;
  if (x_count <= 0 || y_count <= 0) return g;
  g.dx = length / x_count;
  g.dy = hmax / y_count;
  g.points.reserve(static_cast<std::size_t>(x_count + 1) * static_cast<std::size_t>(y_count + 1));
  // Relative steps by repeated addition: the count of points does not depend on where the
  // section lies in the plan.
  for (double u = 0; u <= length; u += g.dx)
    for (double v = 0; v <= hmax; v += g.dy) g.points.push_back({origin.x + u, origin.y + v, 0});
  return g;
}

void SumSection(const std::vector<LuminaireSource>& sources,
                const std::vector<nyhost::Point3>& points,
                std::vector<std::vector<double>>& contributions, std::vector<double>& values,
                int threads, const std::function<void(long long)>& progress) {
  contributions.assign(sources.size(), std::vector<double>(points.size(), 0.0));
  values.assign(points.size(), 0.0);
  if (sources.empty()) return;
  const long long per_point = static_cast<long long>(sources.size());
  ForEachPoint(
      points.size(), threads,
      [&](std::size_t i) {
        double v = 0;
        for (std::size_t l = 0; l < sources.size(); ++l) {
          const double e = LuminaireIlluminance(sources[l], points[i]);
          contributions[l][i] = e;
          v += e;
        }
        values[i] = v;
      },
      [&](long long n) {
        if (progress) progress(n * per_point);
      });
}

bool PickSection(SectionPicks& picks) {
  nyhost::Host& host = nyhost::Host::Get();
  nyhost::Point3 s, e, side;
  bool ok = host.GetPoint(nullptr, "\n选择垂直面的起点:", s) == nyhost::kRtNorm &&
            host.GetPoint(&s, "\n选择垂直面的终点:", e) == nyhost::kRtNorm;
  if (ok) {
    // The section line stays marked while the side is chosen (until the next redraw).
    host.GrDraw(s, e, 1, true);
    const nyhost::Point3 m = NyGeo::Mid(s, e);
    ok = host.GetPoint(&m, "\n选择观看的方向:", side) == nyhost::kRtNorm;
  }
  if (!ok) {
    host.Print("\n命令取消!");
    return false;
  }
  picks = {NyGeo::Ucs2Wcs(s), NyGeo::Ucs2Wcs(e), NyGeo::Ucs2Wcs(side)};
  return true;
}

bool RunSectionCalculation(PointDialogData& data, const SectionPicks& picks) {
  nyhost::Host& host = nyhost::Host::Get();
  data.m_nResultSource = 2;
  data.m_sectionRecords.clear();
  data.m_sectionContributions.clear();

  const SectionFrame frame = MakeSectionFrame(picks.start, picks.end, picks.side);
  double hmax = 0;
  data.m_sectionRecords = FlattenLuminaires(frame, data.m_records, hmax);
  if (frame.length < 0.0001 || hmax < 0.0001) {
    Warn("没发现灯具！或房间面积为0！");
    return false;
  }
  SectionGrid grid = BuildSectionGrid(SectionOrigin(frame, hmax), frame.length, hmax,
                                      data.m_nCountX, data.m_nCountY);
  data.m_dStepX = grid.dx;
  data.m_dStepY = grid.dy;

  data.m_resultPoints.clear();
  data.m_values.clear();
  const std::size_t n_points = grid.points.size();
  const long long total =
      static_cast<long long>(n_points) * static_cast<long long>(data.m_sectionRecords.size());
  if (total <= 0) return false;
  ProgressRule progress(total);
  auto report = [&](int percent) { host.ProgressPercent(percent); };
  host.ProgressStart();

  // Each curve once per run, in luminaire order; a missing one abandons the run.
  const auto& lums = data.m_sectionRecords;
  RunSources sources(NyScale::GetArchScale(host.drawing()), data.m_bPrecise);
  for (std::size_t i = 0; i < lums.size(); ++i) {
    if (!sources.Add(lums[i])) {
      progress.Advance(static_cast<long long>(i * n_points), report);
      host.ProgressStop();
      Warn(kCurveMissing1 + lums[i].curve_table + kCurveMissing2);
      return false;
    }
  }
  SumSection(sources.sources(), grid.points, data.m_sectionContributions, data.m_values, CalculationThreads(),
             [&](long long n) { progress.Advance(n, report); });

  data.m_resultPoints.reserve(n_points);
  for (std::size_t i = 0; i < n_points; ++i)
    data.m_resultPoints.push_back({grid.points[i].x, grid.points[i].y, data.m_values[i]});
  // Seen from the other side the section reads the other way round: mirror the drawn
  // positions along it; values and their order stay.
  if (frame.side_flag == 1) {
    for (auto& p : data.m_resultPoints) p.x = 2 * frame.mid.x - p.x;
    for (auto& r : data.m_sectionRecords) r.position.x = 2 * frame.mid.x - r.position.x;
  }
  host.ProgressStop();
  if (data.m_resultPoints.empty() || data.m_values.empty()) {
    Warn("房间没有灯具!");
    return false;
  }

  ShowStatistics(data, StatisticsOf(data.m_values));
  ApplyVerdicts(data);
  MarkPhotometry(data);
  return true;
}
