#include "pointcalc/horizontal.h"

#include <fmt/printf.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <thread>

#include "base/module_state.h"
#include "host/host.h"
#include "pointcalc/room_grid.h"
#include "support/ny_ent.h"
#include "support/ny_geo.h"
#include "support/ny_number.h"
#include "support/ny_scale.h"
#include "support/ny_str.h"

// ---------------------------------------------------------------- progress

ProgressRule::ProgressRule(long long total) : total_(total) {
  if (total_ > 0 && total_ < 100) step_ = static_cast<int>(100 / total_);
  if (total_ < 100) return;
  // The accumulator starts from 0 again after every move, so every move takes the same number of
  // evaluations: count them once instead of adding per evaluation.
  const double fraction = 100.0 / static_cast<double>(total_);
  if (total_ > 10'000'000'000) {  // beyond any calculation's limit: no need to count exactly
    cycle_ = total_ / 100 + 1;
    return;
  }
  double acc = 0;
  do {
    acc += fraction;
    ++cycle_;
  } while (!(acc - 1 > 1e-11));
}

void ProgressRule::Advance(long long evaluations, const std::function<void(int)>& report) {
  if (total_ <= 0 || evaluations <= 0) return;
  long long moves = evaluations;
  if (total_ >= 100) {
    pending_ += evaluations;
    moves = pending_ / cycle_;
    pending_ %= cycle_;
  }
  for (long long i = 0; i < moves; ++i) {
    percent_ += total_ < 100 ? step_ : 1;
    if (report) report(percent_);
  }
}

// ---------------------------------------------------------------- sums

namespace {
std::atomic<int> g_threads{0};
}

void SetCalculationThreads(int threads) { g_threads = std::max(0, threads); }

int CalculationThreads() {
  int n = g_threads.load();
  if (n > 0) return n;
  unsigned hw = std::thread::hardware_concurrency();
  return hw == 0 ? 1 : static_cast<int>(hw);
}

void SumIlluminance(const std::vector<LuminaireSource>& sources,
                    const std::vector<nyhost::Point3>& points, std::vector<double>& values,
                    int threads, const std::function<void(long long)>& progress) {
  const std::size_t n = points.size();
  values.assign(n, 0.0);
  if (n == 0 || sources.empty()) return;
  const long long per_point = static_cast<long long>(sources.size());
  // Blocks small enough for a smooth progress bar, large enough that handing them out costs
  // nothing measurable.
  constexpr std::size_t kBlock = 256;
  const std::size_t blocks = (n + kBlock - 1) / kBlock;
  std::atomic<std::size_t> next{0};
  std::atomic<long long> done{0};

  auto work = [&]() -> bool {
    std::size_t b = next.fetch_add(1);
    if (b >= blocks) return false;
    const std::size_t begin = b * kBlock, end = std::min(n, begin + kBlock);
    for (std::size_t i = begin; i < end; ++i) {
      // Each point sums its luminaires in record order, whichever thread runs it.
      double v = 0;
      for (const auto& s : sources) v += LuminaireIlluminance(s, points[i]);
      values[i] = v;
    }
    done.fetch_add(static_cast<long long>(end - begin) * per_point);
    return true;
  };

  threads = std::clamp(threads, 1, static_cast<int>(std::min<std::size_t>(blocks, 64)));
  std::vector<std::thread> pool;
  for (int t = 1; t < threads; ++t)
    pool.emplace_back([&] {
      while (work()) {
      }
    });
  long long reported = 0;
  // The calling thread works too and is the only one that talks to the host.
  while (work()) {
    long long now = done.load();
    if (progress && now > reported) {
      progress(now - reported);
      reported = now;
    }
  }
  for (auto& t : pool) t.join();
  if (progress && done.load() > reported) progress(done.load() - reported);
}

// ---------------------------------------------------------------- rules

PointStatistics StatisticsOf(const std::vector<double>& values) {
  PointStatistics s;
  if (values.empty()) return s;
  s.min = s.max = values.front();
  for (double v : values) {
    if (v < s.min) s.min = v;
    if (v > s.max) s.max = v;
    s.sum += v;
  }
  s.mean = s.sum / static_cast<double>(values.size());
  return s;
}

LegendRange LegendFor(double min, double max, double mean) {
  LegendRange r;
  r.min = std::floor(min * 0.1) * 10;
  r.max = (std::floor(max * 0.1) + 1) * 10;
  r.interval = NyNumber::SaturateToInt(10 * std::floor((10 + std::trunc(mean / 7)) * 0.1));
  if (r.interval <= 0) r.interval = 10;
  return r;
}

void ShowStatistics(PointDialogData& data, const PointStatistics& st) {
  data.m_sMax = fmt::sprintf("%.2f", st.max);
  data.m_sMin = fmt::sprintf("%.2f", st.min);
  data.m_sAverage = fmt::sprintf("%.2f", st.mean);
  const LegendRange legend = LegendFor(st.min, st.max, st.mean);
  data.m_dLegendMin = legend.min;
  data.m_dLegendMax = legend.max;
  data.m_nLegendStep = legend.interval;
}

int StandLxFromAverage(const std::string& average_text) {
  const double whole = std::trunc(NyStr::LeadingReal(average_text));
  return NyNumber::SaturateToInt(50 * std::trunc(whole * 0.1 * 0.2));
}

double PowerDensity(const std::vector<LuminaireRecord>& records, double area_m2) {
  double watts = 0;
  for (const auto& r : records) {
    // In doubles: no product of table values can overflow (negative ones are refused when the
    // table is read back).
    watts += (static_cast<double>(r.lamp1_power) + r.lamp1_ballast_power) * r.lamp1_count +
             (static_cast<double>(r.lamp2_power) + r.lamp2_ballast_power) * r.lamp2_count;
  }
  return area_m2 >= 0.001 ? watts / area_m2 : 0;
}

double ConvertedLimit(double stand_lpd, int stand_lx, double average) {
  if (std::fabs(average) < 0.001) return 0;
  // Without a standard illuminance there is nothing to scale by: no limit.
  if (stand_lx == 0) return 0;
  return stand_lpd / stand_lx * average;
}

double CutTo2Decimals(double x) { return std::floor(x * 100) / 100; }

void WorkAreaUniformity(PointDialogData& data, double average) {
  if (average <= 0.0001) return;
  double min_x = 1e20, min_y = 1e20, max_x = -1e20, max_y = -1e20;
  for (const auto& r : data.m_records) {
    nyhost::Point3 lo, hi;
    if (!NyEnt::GetEntExtents(r.entity_id, lo, hi)) continue;
    min_x = std::min(min_x, lo.x);
    min_y = std::min(min_y, lo.y);
    max_x = std::max(max_x, hi.x);
    max_y = std::max(max_y, hi.y);
  }
  const std::vector<nyhost::Point3> area{
      {max_x, max_y, 0}, {max_x, min_y, 0}, {min_x, min_y, 0}, {min_x, max_y, 0}, {max_x, max_y, 0}};
  double smallest = 9999, sum = 0;
  int count = 0;
  for (const auto& p : data.m_resultPoints) {
    if (NyGeo::IsPointInPolygon(area, p) != NyGeo::kInside) continue;
    smallest = std::min(smallest, p.z);
    sum += p.z;
    ++count;
  }
  const double mean = count ? sum / count : 0;
  if (std::fabs(smallest - 9999) >= 0.001 && std::fabs(mean) > 0.001)
    data.m_dUniformity = std::floor(smallest / mean * 100) / 100;
}

void ApplyVerdicts(PointDialogData& data) {
  if (data.m_dStandAverage == 0) return;
  const double average = std::atof(data.m_sAverage.c_str());
  const bool reached = ReachesStandard(data.m_edition, average, data.m_dStandAverage);
  if (reached) {
    data.m_dLimitLPD = data.m_dStandLPD;
    data.m_sLabel372 = "标准功率密度";
    data.tooltips[365] = "计算功率密度不得大于标准功率密度";
    data.tooltips[360] = "计算照度大于等于标准照度,采用标准功率密度";
    data.tooltips[243] = "计算照度大于等于标准照度,通过!";
  } else {
    data.m_dLimitLPD = ConvertedLimit(data.m_dStandLPD, data.m_nStandLx, average);
    data.m_sLabel372 = "折算功率密度";
    data.tooltips[365] = "计算功率密度不得大于折算功率密度";
    data.tooltips[360] = "计算照度小于标准照度,采用折算功率密度";
    data.tooltips[243] = "计算照度小于标准照度,不通过!建议调整光源或灯具";
  }
  const bool lpd_ok = data.m_dLPD < data.m_dLimitLPD;
  if (reached) {
    data.tooltips[358] = lpd_ok ? "计算功率密度小于标准功率密度,通过!"
                                : "计算功率密度大于等于标准功率密度,不通过!建议调整光源或灯具";
  } else {
    data.tooltips[358] = lpd_ok ? "计算功率密度小于折算功率密度,通过!"
                                : "计算功率密度大于等于折算功率密度,不通过!建议调整光源或灯具";
  }
  const double u0 = StandardUniformity(data.m_edition, data.m_dStandUniformity);
  data.tooltips[232] = data.m_dUniformity < u0 ? "均匀度小于标准均匀度,不通过!建议调整光源或灯具"
                                               : "均匀度大于等于标准均匀度,通过!";
  for (int id : {365, 360, 243, 358, 232})
    data.tooltips[id] = EditionVerdict(data.m_edition, data.tooltips[id]);
}

void MarkPhotometry(PointDialogData& data) {
  const char* mark = data.m_bPrecise ? kPreciseMark : "";
  data.tooltips[241] = mark;
  data.tooltips[242] = mark;
}

void ClearHorizontalResults(PointDialogData& data) {
  data.m_sAverage = data.m_sMax = data.m_sMin = "0.0";
  data.m_dUniformity = 0;
  data.m_dLPD = 0;
  data.m_dLimitLPD = 0;
}

// ---------------------------------------------------------------- the run

namespace {

constexpr const char* kCurveMissing1 =
    "我们非常抱歉的告诉你,程序无法继续!:\n原因:在数据库中没有找到配光曲线:";
constexpr const char* kCurveMissing2 =
    "\n参考解决方法:\na.关闭没有找到配光曲线的灯具\nb.在灯具扩充中添加配光曲线.\n"
    "也许数据库管理员可以帮助你解决问题!\n\n如果还有其他疑问,请与我们的技术人员联系.";

}  // namespace

bool RunHorizontalCalculation(PointDialogData& data) {
  nyhost::Host& host = nyhost::Host::Get();
  nyhost::Drawing* drawing = host.drawing();
  data.m_resultPoints.clear();
  data.m_values.clear();
  if (!drawing || data.m_idOutline == nyhost::kNullId || !drawing->FindLive(data.m_idOutline))
    return false;

  if (!NyScale::CheckScales(drawing)) return false;

  std::vector<nyhost::Point3> polygon;
  nyhost::Extents extents;
  if (!RoomPolygon(data.m_idOutline, polygon, extents)) return false;
  if (!data.m_records.empty() &&
      !ConfirmCalculationSize(data.m_nCountX, data.m_nCountY, data.m_records.size()))
    return false;
  auto grid = BuildGrid(polygon, extents, data.m_nCountX, data.m_nCountY);
  if (!grid) return false;
  data.m_dStepX = grid->dx;
  data.m_dStepY = grid->dy;

  const long long total =
      static_cast<long long>(grid->points.size()) * static_cast<long long>(data.m_records.size());
  if (total <= 0) return false;
  ProgressRule progress(total);
  auto report = [&](int percent) { host.ProgressPercent(percent); };
  host.ProgressStart();

  // Each curve is read from the database once per run, in record order; a missing one ends the
  // run after the luminaires before it were counted on the progress bar.
  RunSources sources(NyScale::GetArchScale(drawing), data.m_bPrecise);
  for (std::size_t i = 0; i < data.m_records.size(); ++i) {
    const auto& rec = data.m_records[i];
    if (!sources.Add(rec)) {
      progress.Advance(static_cast<long long>(i) * static_cast<long long>(grid->points.size()),
                       report);
      host.ProgressStop();
      host.windows().MessageBox(kMessageCaption, kCurveMissing1 + rec.curve_table + kCurveMissing2,
                                nyhost::MbIcon::kWarning, nyhost::MbButtons::kOk);
      return false;
    }
  }

  SumIlluminance(sources.sources(), grid->points, data.m_values, CalculationThreads(),
                 [&](long long evaluations) { progress.Advance(evaluations, report); });
  host.ProgressStop();

  data.m_resultPoints.reserve(grid->points.size());
  for (std::size_t i = 0; i < grid->points.size(); ++i)
    data.m_resultPoints.push_back({grid->points[i].x, grid->points[i].y, data.m_values[i]});
  if (data.m_resultPoints.empty() || data.m_values.empty()) {
    host.windows().MessageBox(kMessageCaption, "房间没有灯具!", nyhost::MbIcon::kWarning,
                              nyhost::MbButtons::kOk);
    return false;
  }

  ShowStatistics(data, StatisticsOf(data.m_values));

  if (data.m_nStandLx < 1) data.m_nStandLx = StandLxFromAverage(data.m_sAverage);

  const double average = std::atof(data.m_sAverage.c_str());
  data.m_dLPD = PowerDensity(data.m_records, RoomArea(data.m_idOutline).value_or(0));
  data.m_dLimitLPD = ConvertedLimit(data.m_dStandLPD, data.m_nStandLx, average);
  WorkAreaUniformity(data, average);
  ApplyVerdicts(data);
  MarkPhotometry(data);
  data.m_dLPD = CutTo2Decimals(data.m_dLPD);
  data.m_dLimitLPD = CutTo2Decimals(data.m_dLimitLPD);
  return true;
}

double IlluminanceAtPoint(const std::vector<LuminaireRecord>& records, const nyhost::Point3& p) {
  double sum = 0;
  for (const auto& rec : records) {
    IntensityTable a, b;
    if (!LoadCurve(rec.curve_table, a, b)) continue;
    sum += LuminaireIlluminance(p, rec, a, b);
  }
  return sum;
}
