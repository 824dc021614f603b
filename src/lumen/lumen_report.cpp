#include "lumen/lumen_report.h"

#include <fmt/printf.h>

#include <cmath>
#include <optional>
#include <tuple>
#include <utility>

#include "host/text_util.h"
#include "support/ny_str.h"

namespace {

std::string FormatTime(const std::tm& t, bool english) {
  char text[128];
  const std::size_t n = std::strftime(
      text, sizeof text, english ? "%H:%M:%S %d/%m/%Y" : "%Y年%m月%d日 %H时%M分%S秒", &t);
  return std::string(text, n);
}

// 5 ÷ RCR with the cavity ratio taken from length, width and height again.
double RoomIndex(const LumenRoom& room) {
  LumenRoom r = room;
  UpdateRoomGeometry(r);
  const double rcr = RoomCavityRatio(r);
  return std::fabs(rcr) < 0.001 ? 0.0 : 5.0 / rcr;
}

// The placeholders and their texts, in the order they are replaced.
std::vector<std::pair<const char*, std::string>> Placeholders(const LumenReportInput& in) {
  const LumenRoom& r = in.room;
  auto f = [](const char* format, double v) { return fmt::sprintf(format, v); };
  auto d = [](int v) { return fmt::sprintf("%d", v); };
  return {
      {"<%工程名称>", ""},
      {"<%设计阶段>", ""},
      {"<%单位>", in.company},
      {"<%设计人>", in.designer},
      {"<%计算时间>", FormatTime(in.time, in.english)},
      {"<%标准照度>", f("%.0f", r.standard_lx)},
      {"<%照明面积>", f("%.1f", r.floor_area)},
      {"<%窗墙比>", f("%.0f", r.window_ratio)},
      {"<%顶棚反射率>", f("%.0f", r.ceiling)},
      {"<%墙面反射率>", f("%.0f", r.wall)},
      {"<%室形系数>", f("%.2f", RoomIndex(r))},
      {"<%型号>", in.english ? TranslateModel(r.model, in.names) : r.model},
      {"<%安装高度>", f("%.2f", r.height)},
      {"<%维护系数>", f("%.2f", r.maintenance)},
      {"<%光源数>", d(r.set1.lamps)},
      {"<%光源数1>", d(r.set2.lamps)},
      {"<%功率>", r.set1.power},
      {"<%功率1>", r.set2.power},
      {"<%镇流器功率>", r.set1.ballast},
      {"<%镇流器功率1>", r.set2.ballast},
      {"<%光通量>", d(r.set1.flux)},
      {"<%光通量1>", d(r.set2.flux)},
      {"<%利用系数>", f("%.4f", r.cu)},
      {"<%灯具数>", d(r.count)},
      {"<%实际照度>", f("%.1f", r.illuminance)},
      {"<%功率密度>", f("%.2f", r.lpd)},
      {"<%折算功率密度>", f("%.2f", r.reference_lpd)},
      {"<%距高比>", f("%.2f", r.spacing_ratio)},
      {"<%围墙的面积>", f("%.2f", r.wall_area)},
      {"<%光源型号>", in.lamp_model1},
      {"<%光源型号1>", in.lamp_model2},
      {"<%标准功率密度>", f("%.0f", r.standard_lpd)},
  };
}

// The two verdict sentences, once an illuminance was calculated: which density the design is
// held to, and whether it passes. The Chinese ones are the dialog's own verdicts.
std::optional<std::pair<std::string, std::string>> Verdict(const LumenRoom& room, bool english) {
  LumenRoom r = room;
  const auto v = ShowPowerDensityVerdicts(r);  // r.reference_lpd becomes the limit applied
  if (!v) return std::nullopt;
  const double limit = r.reference_lpd;
  if (!english)
    return std::make_pair(v->reference_tip + fmt::sprintf("%g(W/m2)", limit), v->lpd_tip);
  const bool below = r.illuminance < r.standard_lx;
  std::string second =
      "If the power density calculated out is larger than or equal to the standard power density, "
      "the design will be rejected, we recommend adjustment on the light source or lamps.";
  if (r.lpd < limit)
    second = fmt::sprintf(
        "If the power density calculated out is smaller than the %s power "
        "density, the design will be passed.",
        below ? "reduced" : "standard");
  return std::make_pair(
      fmt::sprintf("If the luminance calculated out is %s the standard luminance, the %s power "
                   "density %g (W/m2) will be adopted.",
                   below ? "smaller than" : "larger than or equal to",
                   below ? "reduced" : "standard", limit),
      second);
}

}  // namespace

std::string TranslateModel(const std::string& model, const NameTranslations& names) {
  std::string name = model;
  for (const auto& [chinese, english] : names) {
    if (name.empty() || !NyStr::IfHasChinese(name)) break;
    nyhost::ReplaceAll(name, chinese, english);
  }
  return name;
}

std::vector<std::string> LumenReportLines(const std::vector<std::string>& template_lines,
                                          const LumenReportInput& in) {
  const auto placeholders = Placeholders(in);
  std::vector<std::string> out;
  out.reserve(template_lines.size() * 2);
  for (std::string line : template_lines) {
    for (const auto& [name, value] : placeholders) nyhost::ReplaceAll(line, name, value);
    std::string second;
    const bool verdict_line = line.find(kVerdictMarker) != std::string::npos ||
                              line.find(kEnglishVerdictMarker) != std::string::npos;
    if (verdict_line)
      if (auto verdict = Verdict(in.room, in.english)) std::tie(line, second) = *verdict;
    out.push_back(std::move(line));
    out.push_back(std::move(second));
  }
  return out;
}
