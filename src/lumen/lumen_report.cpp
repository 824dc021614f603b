#include "lumen/lumen_report.h"

#include <fmt/printf.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>
#include <utility>

#include "host/text_util.h"
#include "standards/edition.h"
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
std::optional<std::pair<std::string, std::string>> Verdict(const LumenRoom& room, bool english,
                                                          StandardEdition edition) {
  LumenRoom r = room;
  // r.reference_lpd becomes the limit applied
  const auto v = ShowPowerDensityVerdicts(r, edition);
  if (!v) return std::nullopt;
  const double limit = r.reference_lpd;
  const bool named = edition != StandardEdition::k2004;
  if (!english) {
    // The edition is named once, after the second sentence.
    std::string first = v->reference_tip;
    if (const auto cut = first.find("；依据"); cut != std::string::npos) first.resize(cut);
    return std::make_pair(first + fmt::sprintf("%g(W/m2)", limit), v->lpd_tip);
  }
  const bool below = !ReachesStandard(edition, r.illuminance, r.standard_lx);
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
      named ? second + " (" + EditionLabel(edition) + ")" : second);
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
      if (auto verdict = Verdict(in.room, in.english, in.edition)) std::tie(line, second) = *verdict;
    out.push_back(std::move(line));
    out.push_back(std::move(second));
  }
  return out;
}

nyhost::ReportDocument LumenReportDocument(const std::vector<std::string>& lines,
                                           const LumenReportInput& in) {
  nyhost::ReportDocument doc;
  doc.english = in.english;
  // The template's first line is the report's heading.
  std::size_t first = 0;
  if (!lines.empty() && !lines[0].empty()) {
    doc.title = lines[0];
    first = 2;
  } else {
    doc.title = in.english ? "Illuminance Calculation Report" : "照度计算书";
  }
  for (std::size_t k = first; k < lines.size(); ++k)
    if (k % 2 == 0 || !lines[k].empty()) doc.blocks.push_back(nyhost::ReportParagraph{lines[k]});

  const LumenRoom& r = in.room;
  // The verdict above names no edition under 2004; the PDF, beyond the document, always does.
  if (r.illuminance != 0)
    doc.blocks.push_back(nyhost::ReportParagraph{
        (in.english ? "Checked against " : "校验依据：") + EditionLabel(in.edition)});
  if (!(r.length > 0) || !(r.width > 0) || r.count <= 0) return doc;
  // Rows and columns as near square spacing as the count allows.
  int cols = std::max(1, static_cast<int>(std::lround(std::sqrt(r.count * r.length / r.width))));
  cols = std::min(cols, r.count);
  const int rows = (r.count + cols - 1) / cols;
  nyhost::SketchFigure sketch;
  sketch.width_mm = 100;
  sketch.items.push_back(nyhost::SketchRect{{0, 0, 0}, {r.length, r.width, 0}});
  const double dx = r.length / cols, dy = r.width / rows;
  const double mark = std::min(dx, dy) * 0.08;
  for (int k = 0; k < r.count; ++k) {
    const int row = k / cols, col = k % cols;
    // A short last row is centred.
    const int in_row = row == rows - 1 ? r.count - row * cols : cols;
    const double x = r.length / 2 + (col - (in_row - 1) / 2.0) * dx;
    sketch.items.push_back(nyhost::SketchCircle{{x, (row + 0.5) * dy, 0}, mark, true});
  }
  const double text = std::max(r.length, r.width) * 0.035;
  sketch.items.push_back(nyhost::SketchText{{r.length / 2, -text * 1.2, 0},
                                            fmt::sprintf("%.2f m", r.length), text});
  sketch.items.push_back(nyhost::SketchText{{-text * 2.5, r.width / 2, 0},
                                            fmt::sprintf("%.2f m", r.width), text});
  doc.blocks.push_back(nyhost::ReportFigure{
      sketch, in.english ? fmt::sprintf("Room plan: %d luminaires spread evenly", r.count)
                         : fmt::sprintf("房间平面示意：%d 套灯具均匀布置", r.count)});
  return doc;
}
