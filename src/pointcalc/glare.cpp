#include "pointcalc/glare.h"

#include <fmt/printf.h>

#include <cmath>
#include <cstdlib>
#include <numbers>

#include "base/module_state.h"
#include "host/host.h"
#include "pointcalc/horizontal.h"
#include "pointcalc/luminaire_table.h"
#include "pointcalc/parallel_points.h"
#include "pointcalc/room_grid.h"
#include "pointcalc/vertical.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "support/ny_access.h"
#include "support/ny_geo.h"
#include "support/ny_number.h"
#include "support/ny_scale.h"

namespace {

// Only luminaires between 5 and 45 degrees above the horizontal sight line count.
constexpr double kThetaMin = 0.7853981633974483;
constexpr double kThetaMax = 1.48352986419518;
constexpr double kOneOver1200 = 0.0008333333333333334;
constexpr double kCapped = 3000;

nyhost::Host& Host() { return nyhost::Host::Get(); }

// The whole number a key text names, when the table can hold it; -1 otherwise.
int KeyOf(double rounded, int limit) {
  const int key = NyNumber::TruncToInt(rounded).value_or(-1);
  return key >= 0 && key < limit ? key : -1;
}

// Ratio -> key number as the text "%.0f" of (ratio + 0.05) x 10 reads (halves away from zero).
int RatioKey(double ratio, int limit) { return KeyOf(std::round((ratio + 0.05) * 10), limit); }

// P from the eye-frame distances ahead (r), across (t) and up (h); 0 outside the table.
double IndexOf(double r, double t, double h, const GuthTable& table) {
  const double hr = h / r, tr = t / r;
  // A ratio that is not a number (r = 0, t = 0) names no column either.
  if (!(tr <= 1.9) || !(hr <= 3.0) || tr < 0 || hr < 0) return 0;
  return table.Lookup(RatioKey(hr, GuthTable::kRows), RatioKey(tr, GuthTable::kColumns));
}

}  // namespace

// ---------------------------------------------------------------- position index

bool GuthTable::Load() {
  cells_.fill(0);
  if (!ModuleLoaded()) return false;
  NyAccess* db = GetDbConnection(DataFile(kZirIrodoDotDb));
  if (!db) return false;
  NyStTable result;
  if (db->GetSelData(result, kSelectPositionIndexTable) <= 0) return false;
  std::vector<std::vector<std::string>> rows(static_cast<std::size_t>(result.GetTableLogicSize()));
  for (int i = 0; i < result.GetTableLogicSize(); ++i)
    result.GetValueRecord(rows[static_cast<std::size_t>(i)], i);
  Fill(result.column_names(), rows);
  return true;
}

void GuthTable::Fill(const std::vector<std::string>& columns,
                     const std::vector<std::vector<std::string>>& rows) {
  cells_.fill(0);
  int hr_column = -1;
  std::array<int, kColumns> column_of;
  column_of.fill(-1);
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (columns[c] == "H_R") hr_column = static_cast<int>(c);
    for (int k = 0; k < kColumns; ++k)
      if (columns[c] == std::to_string(k))
        column_of[static_cast<std::size_t>(k)] = static_cast<int>(c);
  }
  if (hr_column < 0) return;
  // The statement compares H_R as a number and wants exactly one row.
  std::array<int, kRows> count{};
  std::array<const std::vector<std::string>*, kRows> row_of{};
  for (const auto& row : rows) {
    if (static_cast<std::size_t>(hr_column) >= row.size()) continue;
    const std::string& text = row[static_cast<std::size_t>(hr_column)];
    if (text.empty()) continue;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (*end != '\0' || v != std::floor(v)) continue;
    const int key = KeyOf(v, kRows);
    if (key < 0) continue;
    ++count[static_cast<std::size_t>(key)];
    row_of[static_cast<std::size_t>(key)] = &row;
  }
  for (int hr = 0; hr < kRows; ++hr) {
    if (count[static_cast<std::size_t>(hr)] != 1) continue;
    const auto& row = *row_of[static_cast<std::size_t>(hr)];
    for (int tr = 0; tr < kColumns; ++tr) {
      const int c = column_of[static_cast<std::size_t>(tr)];
      if (c >= 0 && static_cast<std::size_t>(c) < row.size())
        cells_[static_cast<std::size_t>(hr * kColumns + tr)] =
            std::atof(row[static_cast<std::size_t>(c)].c_str());
    }
  }
}

double GuthTable::Lookup(int hr_key, int tr_key) const {
  if (hr_key < 0 || hr_key >= kRows || tr_key < 0 || tr_key >= kColumns) return 0;
  return cells_[static_cast<std::size_t>(hr_key * kColumns + tr_key)];
}

// "%.0f" with halves rounded away from zero (printf rounds them to even: 0.5 would read "0").
std::string PositionKeyText(double ratio) {
  return fmt::sprintf("%.0f", std::round((ratio + 0.05) * 10));
}

double PositionIndex(const nyhost::Point3& eye, const nyhost::Point3& lum, double psi,
                     const GuthTable& table) {
  const double dx = lum.x - eye.x, dy = lum.y - eye.y;
  const double c = std::cos(psi), s = std::sin(psi);
  const double r = dx * c + dy * s;
  const double t = std::fabs(-dx * s + dy * c);
  const double h = lum.z - eye.z;
  if (h <= 0) {
    Host().Print("计算古斯位置指数P时 dH < 0");
    return 0;
  }
  return IndexOf(r, t, h, table);
}

std::vector<double> FullTurnDirections() {
  std::vector<double> psis;
  // The step is added up and compared with the full turn: rounding leaves room for a last
  // direction just short of 360 degrees.
  for (double psi = 0; psi < 6.283185307179586; psi += 0.17453292519943295) psis.push_back(psi);
  return psis;
}

// ---------------------------------------------------------------- glare at a point

GlareCalculation::GlareCalculation(const std::vector<LuminaireRecord>& records, double arch_scale,
                                   const GuthTable& table)
    : scale_(arch_scale), table_(table) {
  lums_.resize(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) lums_[i].record = records[i];
}

bool GlareCalculation::See(const Lum& lum, const nyhost::Point3& eye, Seen& seen) const {
  const nyhost::Point3& p = lum.record.position;
  if (p.z <= eye.z) return false;
  seen.hx = p.x - eye.x;
  seen.hy = p.y - eye.y;
  seen.h = p.z - eye.z;
  const double dist = std::sqrt(seen.hx * seen.hx + seen.hy * seen.hy + seen.h * seen.h);
  const double theta = NyNumber::Acos(seen.h / dist);
  if (!(theta > kThetaMin && theta < kThetaMax)) return false;
  seen.cos_theta = std::cos(theta);
  seen.d = dist * 0.001;
  return true;
}

double GlareCalculation::Index(const Seen& seen, double cos_psi, double sin_psi) const {
  const double r = seen.hx * cos_psi + seen.hy * sin_psi;
  // At 90 degrees or more from the viewing direction (r <= 0) it is behind or beside the eye;
  // the few directions whose arccosine rounds to 90 degrees with r > 0 give T/R far above 1.9.
  if (r <= 0) return 0;
  const double t = std::fabs(-seen.hx * sin_psi + seen.hy * cos_psi);
  const double p = IndexOf(r, t, seen.h, table_);
  return std::fabs(p) < 1e-5 ? 0 : p;
}

void GlareCalculation::LoadCurves(const std::vector<nyhost::Point3>& points,
                                  const std::vector<double>& psis, const CurveLoader& load) {
  for (Lum& lum : lums_) {
    bool counts = false;
    for (std::size_t i = 0; i < points.size() && !counts; ++i) {
      Seen seen;
      if (!See(lum, points[i], seen)) continue;
      for (double psi : psis)
        if (Index(seen, std::cos(psi), std::sin(psi)) != 0) {
          counts = true;
          break;
        }
    }
    if (!counts) continue;
    lum.curve = load(lum.record.curve_table, lum.a, lum.b) ? 1 : -1;
    if (lum.curve != 1) continue;
    lum.source = MakeLuminaireSource(lum.record, lum.a, lum.b, scale_);
    if (precise_) MakePrecise(lum.source, lum.record.curve_table, lum.grid);
  }
}

void GlareCalculation::Rate(const nyhost::Point3& eye, const std::vector<double>& psis,
                            std::vector<double>& ugr) const {
  std::vector<double> sums(psis.size(), 0.0), cos_psi(psis.size()), sin_psi(psis.size());
  for (std::size_t k = 0; k < psis.size(); ++k) {
    cos_psi[k] = std::cos(psis[k]);
    sin_psi[k] = std::sin(psis[k]);
  }
  for (const Lum& lum : lums_) {
    if (lum.curve != 1) continue;
    Seen seen;
    if (!See(lum, eye, seen)) continue;
    double q2 = -1;  // (E / cos theta)^2, the same for every direction
    for (std::size_t k = 0; k < psis.size(); ++k) {
      const double p = Index(seen, cos_psi[k], sin_psi[k]);
      if (p == 0) continue;
      if (q2 < 0) {
        const double q = LuminaireIlluminance(lum.source, eye) / seen.cos_theta;
        q2 = q * q;
      }
      sums[k] += q2 / (p * p) * 2 / (seen.d * seen.d);
    }
  }
  ugr.resize(psis.size());
  for (std::size_t k = 0; k < psis.size(); ++k) {
    const double u = 8 * std::log10(sums[k] + kOneOver1200);
    ugr[k] = u < 0 ? 0 : u;
  }
}

double GlareCalculation::RateOne(const nyhost::Point3& eye, double psi) const {
  std::vector<double> ugr;
  Rate(eye, {psi}, ugr);
  return ugr.front();
}

double GlareCalculation::Worst(const nyhost::Point3& eye, const std::vector<double>& psis) const {
  std::vector<double> ugr;
  Rate(eye, psis, ugr);
  double worst = 0;
  for (double u : ugr)
    if (u > worst) worst = u;
  return worst;
}

void GlareCalculation::WorstAt(const std::vector<nyhost::Point3>& points,
                               const std::vector<double>& psis, std::vector<double>& worst,
                               int threads, const std::function<void(long long)>& progress) const {
  worst.assign(points.size(), 0.0);
  ForEachPoint(
      points.size(), threads, [&](std::size_t i) { worst[i] = Worst(points[i], psis); }, progress,
      8);
}

// ---------------------------------------------------------------- the dialog's runs

bool RunGlareAtAllPoints(nyhost::Dialog& window, PointDialogData& data, bool& exceeded) {
  exceeded = false;
  data.m_sLabel372 = "折算功率密度";
  window.SetText(372, data.m_sLabel372);
  window.SetToolTip(360, "折算功率密度不应小于标准功率密度");
  data.m_nCalType = 2;
  data.m_bGlareAtPoint = false;
  if (static_cast<long long>(data.m_nCountX) * data.m_nCountY > 400 &&
      Host().windows().MessageBox(
          kMessageCaption,
          "<计算密度>太大,可能要耗费很多时间,<计算密度>在[5,20]之间比较合理。是否继续?",
          nyhost::MbIcon::kWarning, nyhost::MbButtons::kYesNo) != nyhost::kIdYes)
    return false;
  if (!ReadLuminaireTable(window, kLuminaireGridId, data.m_records)) return false;
  ClearHorizontalResults(data);
  data.m_resultPoints.clear();
  data.m_values.clear();

  nyhost::Drawing* drawing = Host().drawing();
  if (!drawing || data.m_idOutline == nyhost::kNullId || !drawing->FindLive(data.m_idOutline))
    return false;
  std::vector<nyhost::Point3> polygon;
  nyhost::Extents extents;
  if (!RoomPolygon(data.m_idOutline, polygon, extents)) return false;
  auto grid = BuildGrid(polygon, extents, data.m_nCountX, data.m_nCountY);
  if (!grid) return false;
  data.m_dStepX = grid->dx;
  data.m_dStepY = grid->dy;
  if (grid->points.empty() || data.m_records.empty()) return false;

  GuthTable table;
  table.Load();
  GlareCalculation glare(data.m_records, NyScale::GetArchScale(drawing), table);
  glare.SetPrecise(data.m_bPrecise);
  const std::vector<double> psis = FullTurnDirections();
  glare.LoadCurves(grid->points, psis);

  ProgressRule progress(static_cast<long long>(grid->points.size()));
  Host().ProgressStart();
  std::vector<double> worst;
  glare.WorstAt(grid->points, psis, worst, CalculationThreads(), [&](long long n) {
    progress.Advance(n, [](int pc) { Host().ProgressPercent(pc); });
  });
  Host().ProgressStop();

  for (std::size_t i = 0; i < grid->points.size(); ++i) {
    data.m_resultPoints.push_back({grid->points[i].x, grid->points[i].y, worst[i]});
    if (worst[i] > 0) data.m_values.push_back(worst[i]);
  }
  if (data.m_resultPoints.empty()) {
    Host().windows().MessageBox(kMessageCaption, "房间没有灯具!", nyhost::MbIcon::kWarning,
                                nyhost::MbButtons::kOk);
    return false;
  }
  if (data.m_values.empty()) return true;
  PointStatistics st = StatisticsOf(data.m_values);
  st.min = std::min(st.min, kCapped);
  st.max = std::min(st.max, kCapped);
  ShowStatistics(data, st);
  MarkPhotometry(data);
  if (data.m_nUGR >= 1)
    for (double v : data.m_values) exceeded = exceeded || v > data.m_nUGR;
  return true;
}

void WarnGlareAboveStandard() {
  Host().windows().MessageBox(kMessageCaption, "统一眩光计算结果 大于 标准值!",
                              nyhost::MbIcon::kWarning, nyhost::MbButtons::kOk);
}

double GlareShown(double ugr) { return std::floor(ugr * 10) / 10; }

std::string GlareVerdictText(double shown, int limit) {
  if (limit < 2)
    return fmt::sprintf("\n该点的眩光值:%.1f\n标准统一眩光值是:%d\n标准值过小，不做比较!", shown,
                        limit);
  if (shown <= limit)
    return fmt::sprintf("\n标准统一眩光值是:%d\n该点的眩光值:%.1f\n满足标准!", limit, shown);
  return fmt::sprintf("\n标准统一眩光值是:%d\n该点的眩光值:%.1f\n不满足标准!建议调整灯具或光源",
                      limit, shown);
}

bool RunGlareAtPickedPoint(const PointDialogData& data) {
  nyhost::Host& host = Host();
  nyhost::Point3 eye, toward;
  if (host.GetPoint(nullptr, "\n选择计算点", eye) != nyhost::kRtNorm) return false;
  if (host.GetPoint(&eye, "\n选择观看方向:", toward) != nyhost::kRtNorm) return false;
  eye.z = toward.z = 0;
  double psi = std::atan2(toward.y - eye.y, toward.x - eye.x);
  if (psi < 0) psi += 2 * std::numbers::pi;
  // The rated direction stays marked as an arrow (until the next redraw).
  const double head = 0.2 * std::hypot(toward.x - eye.x, toward.y - eye.y);
  host.GrDraw(eye, toward, 1, true);
  for (double turn : {2.6179938779914944, -2.6179938779914944})
    host.GrDraw(toward,
                {toward.x + head * std::cos(psi + turn), toward.y + head * std::sin(psi + turn), 0},
                1, true);
  eye = NyGeo::Ucs2Wcs(eye);

  GuthTable table;
  table.Load();
  GlareCalculation glare(data.m_records, NyScale::GetArchScale(host.drawing()), table);
  glare.SetPrecise(data.m_bPrecise);
  glare.LoadCurves({eye}, {psi});
  const std::string text = GlareVerdictText(GlareShown(glare.RateOne(eye, psi)), data.m_nUGR);
  host.windows().MessageBox(kMessageCaption, text, nyhost::MbIcon::kInformation,
                            nyhost::MbButtons::kOk);
  host.Print(text);
  return true;
}
