#include "pointcalc/point_report.h"

#include <fcntl.h>
#include <fmt/format.h>
#include <fmt/printf.h>
#include <unistd.h>

#include <filesystem>

#include "base/module_state.h"
#include "host/host.h"
#include "pointcalc/intensity.h"
#include "pointcalc/point_dialog.h"
#include "support/ny_common.h"
#include "support/ny_ent.h"
#include "support/ny_ini_file.h"
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

// The target is held by another program: a LibreOffice lock file beside it, or no exclusive
// open (a process holding a write lease or the file not writable).
bool OpenElsewhere(const std::string& path) {
  namespace fs = std::filesystem;
  const fs::path p(path);
  if (fs::exists(p.parent_path() / (".~lock." + p.filename().string() + "#"))) return true;
  const int fd = ::open(path.c_str(), O_RDWR);
  if (fd < 0) return true;
  ::close(fd);
  return false;
}

std::string CellValue(double lx) { return fmt::sprintf("%.1f", lx); }

}  // namespace

std::string TranslateName(const std::string& text, const NameTranslations& names) {
  if (text.empty()) return text;
  for (const auto& [chinese, english] : names) {
    if (chinese.empty()) continue;
    std::string result = text;
    for (std::size_t at = result.find(chinese); at != std::string::npos;
         at = result.find(chinese, at + english.size()))
      result.replace(at, chinese.size(), english);
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

bool FillPointReport(NyExcel& book, const PointDialogData& data,
                     const std::vector<ReportPoint>& points, bool english,
                     const NameTranslations& names) {
  const int count = static_cast<int>(points.size());
  for (int n = 1; n <= count; ++n)
    book.SetText(
        1, kFirstPoint + n - 1,
        english ? fmt::sprintf("Illumination at P%d point", n) : fmt::sprintf("P%d点照度", n));
  book.HideColumns(kFirstPoint + count, kFirstPoint + kTemplatePointColumns - 1);
  if (data.m_nResultSource != 1 && data.m_nResultSource != 2) return false;

  const bool section = data.m_nResultSource == 2;
  const auto& records = section ? data.m_sectionRecords : data.m_records;
  const double scale = NyScale::GetArchScale(Host().drawing());
  auto name = [&](const std::string& s) { return english ? TranslateName(s, names) : s; };
  std::vector<std::vector<std::string>> stored(points.size());
  for (std::size_t k = 0; k < points.size(); ++k)
    NyStr::SplitStrBySymbol(stored[k], points[k].contributions, "#");

  for (std::size_t i = 0; i < records.size(); ++i) {
    const LuminaireRecord& rec = records[i];
    IntensityTable a, b;
    if (!LoadCurve(rec.curve_table, a, b)) {
      Message(kCurveMissing1 + rec.curve_table + kCurveMissing2, nyhost::MbIcon::kWarning);
      continue;
    }
    LuminaireSource source = MakeLuminaireSource(rec, a, b, scale);
    std::optional<Photometry> grid;
    if (data.m_bPrecise) MakePrecise(source, rec.model, grid);
    const int r = kFirstRow + static_cast<int>(i);
    book.SetInt(r, 1, static_cast<long>(i) + 1);
    book.SetText(r, 2, name(rec.name));
    book.SetDouble(r, 3, rec.position.z * scale * 0.001);
    book.SetText(r, 4, name(rec.lamp1_name));
    book.SetText(r, 5, rec.lamp1_model);
    book.SetInt(r, 6, rec.lamp1_count);
    book.SetInt(r, 7, rec.lamp1_power);
    book.SetText(r, 8, name(rec.lamp2_name));
    book.SetText(r, 9, rec.lamp2_model);
    book.SetInt(r, 10, rec.lamp2_count);
    book.SetInt(r, 11, rec.lamp2_power);
    book.SetInt(r, 12, rec.total_flux);
    for (int n = 0; n < count; ++n) {
      if (!section) {
        book.SetText(r, kFirstPoint + n,
                     CellValue(LuminaireIlluminance(source, points[n].position)));
        continue;
      }
      // A point that does not carry one value per luminaire ends this row.
      if (stored[n].size() != records.size()) break;
      book.SetText(r, kFirstPoint + n, CellValue(NyStr::LeadingReal(stored[n][i])));
    }
  }

  int sentence_row = kLastMarkedRow;
  for (int row = 1; row <= kLastMarkedRow; ++row) {
    const std::string a = book.GetText(row, 1);
    if (a == "总计" || a == "Total") {
      // Template rows no luminaire filled would stand between the luminaires and the totals.
      book.HideRows(kFirstRow + static_cast<int>(records.size()), row - 1);
      sentence_row = row + 1;
      break;
    }
  }
  const std::string average = data.m_sAverage;
  book.SetText(sentence_row, 1,
               english ? fmt::sprintf("Calculating illuminance average value: %s(lx); standard "
                                      "illuminance average value: %d(lx).",
                                      average, data.m_nStandLx)
                       : fmt::sprintf("计算照度平均值： %s(lx)； 标准照度平均值： %d(lx)。",
                                      average, data.m_nStandLx));
  return true;
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

  auto target = Host().windows().FileDialog(true, "", "照度计算报告书.xlsx",
                                            "Microsoft Excel 工作簿 (*.xlsx)|*.xlsx||");
  if (!target) {
    drop_markers();
    return ShowAfterPicking();
  }
  std::string path = *target;
  if (std::filesystem::path(path).extension() != ".xlsx") path += ".xlsx";
  if (NyCommon::FileExists(path)) {
    if (Message("是否覆盖已存在文件?", nyhost::MbIcon::kQuestion, nyhost::MbButtons::kYesNo) !=
        nyhost::kIdYes) {
      drop_markers();
      return ShowAfterPicking();
    }
    if (OpenElsewhere(path)) {
      Message(path + "文件当前处于打开编辑状态，不能被覆盖!\n如果需要继续操作,请先关闭该文件",
              nyhost::MbIcon::kWarning);
      return ShowAfterPicking();
    }
    std::error_code ec;
    if (!std::filesystem::remove(path, ec)) {
      Message("文件删除失败!\n请确定文本没有打开!", nyhost::MbIcon::kError);
      return ShowAfterPicking();
    }
  }

  const bool english =
      NyIniFile::ReadKey("语言设置", "材料表", 0, Module().ReportLanguageFile) == 1;
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
  const bool filled = FillPointReport(book, data_, points, english, translations_);
  Host().SetBusy(false);
  if (filled && !book.Save()) {
    Message("Excel 执行错误!", nyhost::MbIcon::kError);
    return ShowAfterPicking();
  }
  if (filled && !Host().windows().OpenDocument(path)) Host().Print("\n" + path);
  ShowAfterPicking();
}
