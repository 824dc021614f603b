#include "pointcalc/point_report.h"

#include <fmt/format.h>
#include <fmt/printf.h>

#include <filesystem>

#include "base/module_state.h"
#include "host/entity_geometry.h"
#include "host/host.h"
#include "host/text_util.h"
#include "pointcalc/intensity.h"
#include "pointcalc/point_dialog.h"
#include "support/ny_common.h"
#include "support/ny_ent.h"
#include "support/ny_glb.h"
#include "support/ny_scale.h"
#include "support/ny_str.h"
#include "support/ny_xdata.h"

namespace {

constexpr int kFirstRow = 3;     // luminaire i goes to row i + 3
constexpr int kFirstPoint = 13;  // point n goes to column 13 + (n - 1)
constexpr int kLastMarkedRow = 199;
constexpr int kTemplatePointColumns = 40;  // the shipped templates size M .. AZ one by one
constexpr const char* kContributionKey = "计算值";
constexpr const char* kCurveMissing1 =
    "我们非常抱歉的告诉你,程序无法继续!\n原因:在数据库中没有找到配光曲线:";
constexpr const char* kCurveMissing2 =
    "\n参考解决方法:\na.关闭没有找到配光曲线的灯具\nb.在灯具扩充中添加配光曲线.\n"
    "也许数据库管理员可以帮助你解决问题!\n\n如果还有其他疑问,请与我们的技术人员联系.";

nyhost::Host& Host() { return nyhost::Host::Get(); }

int Message(const std::string& text, nyhost::MbIcon icon,
            nyhost::MbButtons buttons = nyhost::MbButtons::kOk) {
  return Host().windows().MessageBox(kMessageCaption, text, icon, buttons);
}

// The label "Pn" above the point and a filled ring around it.
std::pair<nyhost::EntityId, nyhost::EntityId> DrawMarker(const nyhost::Point3& p, int n) {
  const nyhost::Drawing* drawing = Host().drawing();
  const double s = NyScale::GetDrawScale(drawing) / NyScale::GetArchScale(drawing);
  nyhost::Entity label;
  label.data = nyhost::Text{{p.x, p.y + 1.2 * 2.5 * s, p.z}, 2.5 * s,    0,
                            fmt::sprintf("%s%d", "P", n),    "Standard", true};
  nyhost::Entity ring;
  ring.color = 7;
  const double w = 0.5 * s;
  ring.data = nyhost::Polyline{{{p.x - 0.5 * s, p.y, 1, w, w},
                                {p.x + 0.5 * s, p.y, 1, w, w},
                                {p.x - 0.5 * s, p.y, -1, w, w}},
                               false,
                               0,
                               p.z};
  return {NyEnt::AddEntToModalSpace(label), NyEnt::AddEntToModalSpace(ring)};
}

std::string CellValue(double lx) { return fmt::sprintf("%.1f", lx); }

// The point totals as the template's totals row adds them: the written one-decimal texts.
std::vector<std::string> PointTotals(const PointReportContent& report) {
  std::vector<std::string> totals;
  for (std::size_t n = 0; n < report.points.size(); ++n) {
    double sum = 0;
    bool any = false;
    for (const auto& row : report.rows)
      if (row && n < row->values.size()) {
        sum += NyStr::LeadingReal(row->values[n]);
        any = true;
      }
    totals.push_back(any ? CellValue(sum) : std::string());
  }
  return totals;
}

}  // namespace

std::string TranslateName(const std::string& text, const NameTranslations& names) {
  if (text.empty()) return text;
  for (const auto& [chinese, english] : names) {
    if (chinese.empty()) continue;
    std::string result = text;
    nyhost::ReplaceAll(result, chinese, english);
    if (!NyStr::IfHasChinese(result)) return result;
  }
  return text;
}

std::vector<std::string> SectionPointTexts(const PointDialogData& data) {
  if (data.m_nResultSource != 2 || data.m_sectionContributions.empty()) return {};
  std::vector<std::string> texts(data.m_resultPoints.size());
  for (std::size_t i = 0; i < texts.size(); ++i)
    for (const auto& luminaire : data.m_sectionContributions)
      texts[i] += (texts[i].empty() ? "" : "#") +
                  fmt::format("{}", i < luminaire.size() ? luminaire[i] : 0.0);
  return texts;
}

std::string PointHeader(int n, bool english) {
  return english ? fmt::sprintf("Illumination at P%d point", n) : fmt::sprintf("P%d点照度", n);
}

PointReportContent ComputePointReport(const PointDialogData& data,
                                      const std::vector<ReportPoint>& points, bool english,
                                      const NameTranslations& names) {
  PointReportContent report;
  report.english = english;
  for (const auto& p : points) report.points.push_back(p.position);
  if (data.m_nResultSource != 1 && data.m_nResultSource != 2) return report;
  report.has_data = true;

  const bool section = data.m_nResultSource == 2;
  const auto& records = section ? data.m_sectionRecords : data.m_records;
  const double scale = NyScale::GetArchScale(Host().drawing());
  auto name = [&](const std::string& s) { return english ? TranslateName(s, names) : s; };
  std::vector<std::vector<std::string>> stored(points.size());
  for (std::size_t k = 0; k < points.size(); ++k)
    NyStr::SplitStrBySymbol(stored[k], points[k].contributions, "#");

  for (std::size_t i = 0; i < records.size(); ++i) {
    const LuminaireRecord& rec = records[i];
    auto& row = report.rows.emplace_back();
    IntensityTable a, b;
    if (!LoadCurve(rec.curve_table, a, b)) {
      Message(kCurveMissing1 + rec.curve_table + kCurveMissing2, nyhost::MbIcon::kWarning);
      continue;
    }
    LuminaireSource source = MakeLuminaireSource(rec, a, b, scale);
    std::optional<Photometry> grid;
    if (data.m_bPrecise) MakePrecise(source, rec.curve_table, grid);
    row = PointReportRow{
        static_cast<int>(i) + 1,
        name(rec.name),
        rec.position.z * scale * 0.001,
        {{name(rec.lamp1_name), rec.lamp1_model, rec.lamp1_count, rec.lamp1_power},
         {name(rec.lamp2_name), rec.lamp2_model, rec.lamp2_count, rec.lamp2_power}},
        rec.total_flux,
        {}};
    for (std::size_t n = 0; n < points.size(); ++n) {
      if (!section) {
        row->values.push_back(CellValue(LuminaireIlluminance(source, points[n].position)));
        continue;
      }
      // A point that does not carry one value per luminaire ends this row.
      if (stored[n].size() != records.size()) break;
      row->values.push_back(CellValue(NyStr::LeadingReal(stored[n][i])));
    }
  }
  report.sentence = english ? fmt::sprintf(
                                  "Calculating illuminance average value: %s(lx); standard "
                                  "illuminance average value: %d(lx).",
                                  data.m_sAverage, data.m_nStandLx)
                            : fmt::sprintf("计算照度平均值： %s(lx)； 标准照度平均值： %d(lx)。",
                                           data.m_sAverage, data.m_nStandLx);
  // Beyond the standard rule, so every report of such a run says so.
  if (data.m_bPrecise) report.sentence += english ? " (precise photometry)" : "（精确光度）";
  return report;
}

bool FillPointReport(NyExcel& book, const PointReportContent& report) {
  const int count = static_cast<int>(report.points.size());
  for (int n = 1; n <= count; ++n)
    book.SetText(1, kFirstPoint + n - 1, PointHeader(n, report.english));
  book.HideColumns(kFirstPoint + count, kFirstPoint + kTemplatePointColumns - 1);
  if (!report.has_data) return false;

  for (const auto& row : report.rows) {
    if (!row) continue;
    const int r = kFirstRow + row->number - 1;
    book.SetInt(r, 1, row->number);
    book.SetText(r, 2, row->name);
    book.SetDouble(r, 3, row->height_m);
    for (int k = 0; k < 2; ++k) {  // D..G and H..K
      const ReportLamp& lamp = row->lamps[k];
      book.SetText(r, 4 + 4 * k, lamp.name);
      book.SetText(r, 5 + 4 * k, lamp.model);
      book.SetInt(r, 6 + 4 * k, lamp.count);
      book.SetInt(r, 7 + 4 * k, lamp.power);
    }
    book.SetInt(r, 12, row->total_flux);
    for (std::size_t n = 0; n < row->values.size(); ++n)
      book.SetText(r, kFirstPoint + static_cast<int>(n), row->values[n]);
  }

  int sentence_row = kLastMarkedRow;
  for (int row = 1; row <= kLastMarkedRow; ++row) {
    const std::string a = book.GetText(row, 1);
    if (a == "总计" || a == "Total") {
      // Template rows no luminaire filled would stand between the luminaires and the totals.
      book.HideRows(kFirstRow + static_cast<int>(report.rows.size()), row - 1);
      sentence_row = row + 1;
      break;
    }
  }
  book.SetText(sentence_row, 1, report.sentence);
  return true;
}

nyhost::ReportDocument PointReportDocument(const PointReportContent& report,
                                           const nyhost::Extents& window, double scale,
                                           const std::vector<nyhost::EntityId>& hidden) {
  const bool en = report.english;
  nyhost::ReportDocument doc;
  doc.english = en;
  doc.title = en ? "Point-by-point illuminance calculation" : "逐点法照度计算书";
  nyhost::PlanFigure plan{window, scale, {}, hidden};
  for (std::size_t n = 0; n < report.points.size(); ++n)
    plan.markers.push_back({report.points[n], fmt::format("P{}", n + 1)});
  doc.blocks.push_back(nyhost::ReportFigure{
      plan, en ? "Luminaires, illuminance and calculation points" : "灯具、照度分布与计算点"});

  nyhost::ReportTable table;
  table.header = en ? std::vector<std::string>{"No.",    "Luminaire", "Mounting height (m)",
                                               "Lamp 1", "Lamp 2",    "Luminous flux (lm)"}
                    : std::vector<std::string>{"序号",  "灯具名称", "安装高度 (m)",
                                               "光源1", "光源2",    "总光通量 (lm)"};
  for (std::size_t n = 0; n < report.points.size(); ++n)
    table.header.push_back(PointHeader(static_cast<int>(n) + 1, en) + " (lx)");
  auto lamp = [](const ReportLamp& l) {
    if (l.name.empty() && l.model.empty() && l.power == 0) return std::string();
    return fmt::format("{} {}\n{} × {} W", l.name, l.model, l.count, l.power);
  };
  for (const auto& row : report.rows) {
    if (!row) continue;
    std::vector<std::string> cells = {
        std::to_string(row->number),
        row->name,
        fmt::format("{:.2f}", row->height_m),
        lamp(row->lamps[0]), lamp(row->lamps[1]),
        std::to_string(row->total_flux)};
    cells.insert(cells.end(), row->values.begin(), row->values.end());
    table.rows.push_back(std::move(cells));
  }
  std::vector<std::string> totals = {en ? "Total" : "总计", "", "", "", "", ""};
  for (auto& t : PointTotals(report)) totals.push_back(std::move(t));
  table.rows.push_back(std::move(totals));
  doc.blocks.push_back(std::move(table));
  doc.blocks.push_back(nyhost::ReportParagraph{report.sentence});
  return doc;
}

void CNYDrawIsolineDlg::WriteReport() {
  HideForPicking();
  std::vector<ReportPoint> points;
  std::vector<nyhost::EntityId> markers;
  auto drop_markers = [&] {
    for (auto id : markers) NyEnt::DeleteEnt(id);
  };
  for (;;) {
    nyhost::EntityId id = nyhost::kNullId;
    nyhost::Point3 pick;
    if (Host().EntSel("\n请选择要生成计算书的点(Esc退出):", id, pick) != nyhost::kRtNorm) break;
    const nyhost::Entity* e = Host().drawing() ? Host().drawing()->FindLive(id) : nullptr;
    const auto* point = e ? e->As<nyhost::PointEntity>() : nullptr;
    if (!point) continue;  // not a point: pick again
    ReportPoint rp{point->position, {}};
    NyXData::GetEntXData(rp.contributions, *e, kContributionKey);
    auto [label, ring] = DrawMarker(rp.position, static_cast<int>(points.size()) + 1);
    markers.insert(markers.end(), {label, ring});
    points.push_back(std::move(rp));
  }
  if (!IsOpen()) {
    Host().Print("\n对话框已关闭!");
    drop_markers();
    return;
  }
  if (points.empty()) return ShowAfterPicking();

  // The workbook stays the first choice; a PDF is laid out by the front-end's report port.
  auto target = Host().windows().FileDialog(
      true, "", "照度计算报告书.xlsx",
      "Microsoft Excel 工作簿 (*.xlsx)|*.xlsx|PDF 文件 (*.pdf)|*.pdf||");
  if (!target) {
    drop_markers();
    return ShowAfterPicking();
  }
  std::string path = *target;
  const std::string ext = std::filesystem::path(path).extension().string();
  const bool pdf = ext == ".pdf" || ext == ".PDF";
  if (!pdf && ext != ".xlsx") path += ".xlsx";
  if (NyCommon::FileExists(path)) {
    if (Message("是否覆盖已存在文件?", nyhost::MbIcon::kQuestion, nyhost::MbButtons::kYesNo) !=
        nyhost::kIdYes) {
      drop_markers();
      return ShowAfterPicking();
    }
    // A PDF is replaced whole by a rename; a workbook is copied from the template in place.
    if (!pdf && NyCommon::IsFileOpenElsewhere(path)) {
      Message(path + "文件当前处于打开编辑状态，不能被覆盖!\n如果需要继续操作,请先关闭该文件",
              nyhost::MbIcon::kWarning);
      return ShowAfterPicking();
    }
    std::error_code ec;
    if (!pdf && !std::filesystem::remove(path, ec)) {
      Message("文件删除失败!\n请确定文本没有打开!", nyhost::MbIcon::kError);
      return ShowAfterPicking();
    }
  }
  if (pdf) {
    WritePdfReport(points, markers, path);
    return ShowAfterPicking();
  }

  const bool english = ReportLanguage() == 1;
  const std::string tpl = Module().DataFolder +
                          (english ? "逐点法照度计算书英文模板.xlsx" : "逐点法照度计算书模板.xlsx");
  if (!NyCommon::FileExists(tpl)) {
    Message("没找到照度模板文件<" + tpl + ">!\n程序不可继续!", nyhost::MbIcon::kWarning);
    drop_markers();
    return ShowAfterPicking();
  }
  std::error_code ec;
  if (!std::filesystem::copy_file(tpl, path, std::filesystem::copy_options::none, ec)) {
    Message("文件名已存在!或模板文件不存在", nyhost::MbIcon::kError);
    drop_markers();
    return ShowAfterPicking();
  }
  NyExcel book;
  if (!book.Open(path)) {
    Message("Microsoft Excel 安装错误", nyhost::MbIcon::kError);
    return ShowAfterPicking();
  }
  Host().SetBusy(true);
  const bool filled =
      FillPointReport(book, ComputePointReport(data_, points, english, translations_));
  Host().SetBusy(false);
  if (filled && !book.Save()) {
    Message("Excel 执行错误!", nyhost::MbIcon::kError);
    return ShowAfterPicking();
  }
  if (filled) NyGlb::OpenDocument(path);
  ShowAfterPicking();
}

void CNYDrawIsolineDlg::WritePdfReport(const std::vector<ReportPoint>& points,
                                       const std::vector<nyhost::EntityId>& markers,
                                       const std::string& path) {
  Host().SetBusy(true);
  const PointReportContent report = ComputePointReport(data_, points, ReportLanguage() == 1, translations_);
  Host().SetBusy(false);
  const nyhost::Drawing* drawing = Host().drawing();
  if (!report.has_data || !drawing) {
    Host().Print("\n没有可写入计算书的计算结果。");
    return;
  }
  // The room as the plan shows it: its outline, the luminaires, the points and the results drawn
  // near it (the legend stands beside the room), with about a centimetre on paper around.
  nyhost::Extents room;
  if (const nyhost::Entity* outline = drawing->FindLive(data_.m_idOutline))
    room.AddBox(nyhost::EntityExtents(*drawing, *outline));
  for (const auto& rec : data_.m_records)  // section records lie in the section's own frame
    room.Add({rec.position.x, rec.position.y, 0});
  for (const auto& p : points) room.Add(p.position);
  const double size = std::max(room.max.x - room.min.x, room.max.y - room.min.y);
  nyhost::Extents window = room;
  for (const nyhost::Entity& e : drawing->entities()) {
    if (e.erased || (e.layer != kResultLayer && e.layer != kResultTextLayer)) continue;
    const nyhost::Extents box = nyhost::EntityExtents(*drawing, e);
    if (!box.Empty() && box.min.x >= room.min.x - size && box.max.x <= room.max.x + size &&
        box.min.y >= room.min.y - size && box.max.y <= room.max.y + size)
      window.AddBox(box);
  }
  const double scale = NyScale::GetDrawScale(drawing);
  const double margin = 10 * scale / NyScale::GetArchScale(drawing);
  window.Add(window.min - nyhost::Point3{margin, margin, 0});
  window.Add(window.max + nyhost::Point3{margin, margin, 0});
  std::string error;
  if (!Host().reports().WritePdf(PointReportDocument(report, window, scale, markers), drawing, path,
                                 error)) {
    Message("计算书未能写入:\n" + error, nyhost::MbIcon::kError);
    return;
  }
  NyGlb::OpenDocument(path);
}
