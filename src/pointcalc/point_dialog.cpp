#include "pointcalc/point_dialog.h"

#include <fmt/printf.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <set>

#include "base/module_state.h"
#include "host/aci_colors.h"
#include "host/entity_geometry.h"
#include "host/host.h"
#include "pointcalc/batch_edit.h"
#include "pointcalc/density.h"
#include "pointcalc/glare.h"
#include "pointcalc/horizontal.h"
#include "pointcalc/luminaire_table.h"
#include "pointcalc/point_report.h"
#include "pointcalc/room_grid.h"
#include "pointcalc/vertical.h"
#include "refdata/catalogue_editor.h"
#include "refdata/curve_chooser.h"
#include "refdata/reference_db.h"
#include "standards/standards_dialog.h"
#include "support/ny_common.h"
#include "support/ny_ent.h"
#include "support/ny_glb.h"
#include "support/ny_ini_file.h"
#include "support/ny_number.h"
#include "support/ny_scale.h"
#include "support/ny_str.h"

namespace {

using nyhost::Dialog;

constexpr std::uint32_t kRed = 0xFF0000;

nyhost::Host& Host() { return nyhost::Host::Get(); }

int Box(const std::string& text, nyhost::MbIcon icon) {
  return Host().windows().MessageBox(kMessageCaption, text, icon, nyhost::MbButtons::kOk);
}

// Real fields show the shortest text that reads back as the same value.
std::string Real(double v) { return fmt::sprintf("%.15g", v); }

bool DrawingOpen() { return Host().drawing() != nullptr; }

}  // namespace

// ---------------------------------------------------------------- data exchange

bool CNYDrawIsolineDlg::UpdateData(bool save) {
  Dialog* w = window_;
  if (!w || w->destroyed()) return false;
  PointDialogData& d = data_;
  if (save) {
    PointDialogData r = d;
    if (!ReadRealField(*w, 221, r.m_dLegendMin) || !ReadRealField(*w, 244, r.m_dLegendMax) ||
        !ReadIntField(*w, 222, r.m_nLegendStep) || !ReadRealField(*w, 232, r.m_dUniformity) ||
        !ReadRealField(*w, 358, r.m_dLPD) || !ReadRealField(*w, 360, r.m_dLimitLPD) ||
        !ReadRealField(*w, 233, r.m_dStandUniformity) || !ReadRealField(*w, 245, r.m_dStandAverage))
      return false;
    r.m_sMax = w->GetText(241);
    r.m_sMin = w->GetText(242);
    r.m_sAverage = w->GetText(243);
    r.m_bDim = w->GetCheck(356) != 0;
    r.m_nDrawMode = w->GetCheck(332) ? 1 : w->GetCheck(331) ? 2 : 0;
    r.m_sRoomName = w->GetText(370);
    r.m_nEffect = w->GetCurSel(388);
    r.m_nRangeType = w->GetCurSel(399);
    r.m_sCalCount = w->GetText(338);
    r.m_bPrecise = w->GetCheck(kPreciseCheck) != 0;
    d = std::move(r);
    return true;
  }
  w->SetText(221, Real(d.m_dLegendMin));
  w->SetText(244, Real(d.m_dLegendMax));
  w->SetText(222, fmt::sprintf("%d", d.m_nLegendStep));
  w->SetText(241, d.m_sMax);
  w->SetText(242, d.m_sMin);
  w->SetText(243, d.m_sAverage);
  w->SetCheck(356, d.m_bDim ? 1 : 0);
  w->SetText(232, Real(d.m_dUniformity));
  w->SetText(358, Real(d.m_dLPD));
  w->SetCheck(d.m_nDrawMode == 1 ? 332 : d.m_nDrawMode == 2 ? 331 : 330, 1);
  w->SetText(370, d.m_sRoomName);
  w->SetText(360, Real(d.m_dLimitLPD));
  w->SetText(233, Real(d.m_dStandUniformity));
  if (d.m_nEffect < w->GetCount(388)) w->SetCurSel(388, d.m_nEffect);
  w->SetText(245, Real(d.m_dStandAverage));
  if (d.m_nRangeType < w->GetCount(399)) w->SetCurSel(399, d.m_nRangeType);
  w->SetText(338, d.m_sCalCount);
  w->SetCheck(kPreciseCheck, d.m_bPrecise ? 1 : 0);
  w->SetText(372, d.m_sLabel372);
  ApplyColours();
  return true;
}

void CNYDrawIsolineDlg::ApplyColours() {
  Dialog* w = window_;
  const PointDialogData& d = data_;
  const bool lpd_red = d.m_dStandLPD > 0.01 && d.m_dLPD >= d.m_dLimitLPD;
  const bool avg_red = d.m_nStandLx > 0 &&
                       !ReachesStandard(d.m_edition, std::atoi(d.m_sAverage.c_str()), d.m_nStandLx);
  const bool uni_red = d.m_dUniformity > 0.01 &&
                       d.m_dUniformity < StandardUniformity(d.m_edition, d.m_dStandUniformity);
  w->SetColors(358, lpd_red ? kRed : nyhost::kNoColor, nyhost::kNoColor);
  w->SetColors(243, avg_red ? kRed : nyhost::kNoColor, nyhost::kNoColor);
  w->SetColors(232, uni_red ? kRed : nyhost::kNoColor, nyhost::kNoColor);
}

// ---------------------------------------------------------------- start

void CNYDrawIsolineDlg::OnInitDialog(Dialog& dlg) {
  window_ = &dlg;
  drawing_listener_ =
      Host().AddDrawingListener([this](nyhost::DrawingEvent e) { OnDrawingEvent(e); });
  const std::string& ini = Module().SettingsFile;
  NyIniFile::LoadWindowPos(dlg, kSection, ini);
  data_.m_sCalCount = NyIniFile::ReadKey(kSection, "m_sCalCount", data_.m_sCalCount, ini);
  Density density;
  if (ParseDensity(data_.m_sCalCount, density)) {
    data_.m_nCountX = density.x;
    data_.m_nCountY = density.y;
    data_.m_bTwoCounts = density.two_numbers;
  }
  data_.m_sEffectName = NyIniFile::ReadKey(kSection, "当前颜色效果", std::string(), ini);
  dlg.ResetContent(399);
  dlg.AddString(399, "相对");
  dlg.AddString(399, "绝对");
  data_.m_nRangeType = NyIniFile::ReadKey(kSection, "绘制样式", 0, ini);
  data_.m_bPrecise = NyIniFile::ReadKey(kSection, "精确光度", 0, ini) != 0;

  // A damaged effect file is as good as a missing one: the draw library lists no effect.
  std::vector<std::string> effects;
  draw_.SetEffectFile(Module().ColorEffectFile);
  draw_.GetCurEffects(effects);
  if (!effects.empty()) {
    dlg.Enable(387, true);
  } else {
    dlg.Enable(387, false);
    Box(fmt::sprintf("重要文件: %s 丢失!请联系软件供应商获取文件。", Module().ColorEffectFile),
        nyhost::MbIcon::kError);
  }
  UpdateData(false);
  RegisterToolTips(dlg);
  data_.m_nDrawMode = 0;
  dlg.SetCheck(330, 1);
  CreateGrids(dlg);
  ApplyDrawingSettings();
  LoadStandardValues();
  if (!NyCommon::FileExists(DataFile(kZirIrodoDotDb))) {
    UpdateData(false);
    return;
  }
  LoadNameTranslations();
  UpdateData(false);
}

void CNYDrawIsolineDlg::RegisterToolTips(Dialog& dlg) {
  static const std::pair<int, const char*> kTips[] = {
      {358, "W/m2"},
      {360, "标准功率密度"},
      {243, "平均照度不应小于计算照度标准"},
      {367, "指定屏幕上一点和观看方向,计算其统一眩光值"},
      {354, "计算房间各点的最大统一眩光值"},
      {353, "选择一剖面,计算剖面的照度"},
      {337, "计算地面各点的水平照度"},
      {232, "工作区的照度均匀度不应小于0.7\n灯具均匀布置可提高照明均匀度."},
      {387, "设置颜色效果"},
      {401, "设置绘制照度分布的方式"},
      {338, "输入'x'、'X'、'*'、'×'表示'长乘宽'"},
      {322, "点击'灯具名称'在图中显示对应灯具"},
      {335, "在屏幕勾绘矩形房间"},
      {334, "在屏幕勾画多边形房间"},
      {333, "选择要关闭的灯"},
      {323, "选择要打开的灯"},
      {324, "灯具批量修改编辑"},
      {kPreciseCheck, "极角按实际值插值(不截取整度, 85°以上照常计入); 有完整配光数据的灯具按全部C平面插值"},
  };
  for (const auto& [id, tip] : kTips) dlg.SetToolTip(id, tip);
}

void CNYDrawIsolineDlg::CreateGrids(Dialog& dlg) {
  // Legend grid over the hidden frame 321: captions in the fixed first column.
  nyhost::GridState& legend = dlg.Grid(kLegendGridId);
  legend.fixed_rows = 0;
  legend.fixed_cols = 1;
  legend.cells.assign(3, std::vector<nyhost::GridCell>(5));
  for (auto& row : legend.cells)
    for (auto& cell : row) {
      cell.kind = nyhost::CellKind::kReadOnly;
      cell.back_color = 0xFFFFE0;
    }
  legend.cells[0][0].text = "序号";
  legend.cells[1][0].text = "照度";
  legend.cells[2][0].text = "颜色";
  dlg.GridChanged(kLegendGridId);
  for (int id : {321, 4511, 221, 244, 222, 326, 347, 348, 349, 320}) dlg.ShowControl(id, false);
  for (int id : {221, 244, 222, 326}) dlg.Enable(id, false);

  nyhost::GridState& table = dlg.Grid(kLuminaireGridId);
  const nyhost::ControlState* frame = dlg.Control(322);
  // Dialog units to pixels for 宋体 9 pt: 3 pixels per 2 units across.
  SetUpLuminaireGrid(table, frame ? frame->tpl.w * 3 / 2 : 720);
  dlg.SetColors(kLuminaireGridId, nyhost::kNoColor, 0xE0FFFF);
  dlg.GridChanged(kLuminaireGridId);
}

void CNYDrawIsolineDlg::PassDrawingSettings() {
  draw_.SetCalCount(data_.m_nCountX, data_.m_nCountY);
  draw_.SetCalType(static_cast<unsigned>(data_.m_nCalType));
  draw_.SetDim(data_.m_bDim ? 1 : 0);
  draw_.SetDrawMode(data_.m_nDrawMode);
  draw_.SetEffectName(data_.m_sEffectName);
  draw_.SetEffectType(data_.m_nRangeType);
  draw_.SetLayer(kResultLayer, kResultTextLayer);
  if (ModuleLoaded()) draw_.SetEffectFile(Module().ColorEffectFile);
}

void CNYDrawIsolineDlg::ApplyDrawingSettings() {
  UpdateData(true);
  Dialog& dlg = *window_;
  PassDrawingSettings();
  // The effect names of the colour-effect file; the stored name stays selected when it is there.
  std::vector<std::string> effects;
  draw_.GetCurEffects(effects);
  dlg.ResetContent(388);
  for (const auto& e : effects) dlg.AddString(388, e);
  int sel = dlg.FindStringExact(388, data_.m_sEffectName);
  if (sel < 0) {
    sel = 0;
    if (dlg.GetCount(388) > 0) data_.m_sEffectName = dlg.GetItemText(388, 0);
  }
  data_.m_nEffect = dlg.GetCount(388) > 0 ? sel : -1;
  if (data_.m_nRangeType == 1) {
    dlg.SetToolTip(399, "由当前选择的“效果”设定好的最大、最小照度值作为绘制照度分布的照度范围");
    dlg.SetToolTip(388, "选择绘制照度分布的效果名称");
    dlg.Enable(387, true);
  } else {
    dlg.SetToolTip(399, "由当前计算的最大、最小照度值作为绘制照度分布的照度范围");
    dlg.SetToolTip(388, "选择绘制照度分布的色系名称");
  }
  UpdateData(false);
}

void CNYDrawIsolineDlg::LoadStandardValues() {
  const std::string& ini = Module().SettingsFile;
  data_.m_dStandLPD = NyIniFile::ReadKey(kStandardSection, "m_dStandLPD", data_.m_dStandLPD, ini);
  data_.m_nStandLx = NyIniFile::ReadKey(kStandardSection, "m_nStandLx", data_.m_nStandLx, ini);
  data_.m_nUGR = NyIniFile::ReadKey(kStandardSection, "m_nUGR", data_.m_nUGR, ini);
  // A hand-edited settings file may hold anything: what is not a sane value means no standard.
  if (!NyNumber::InRange(data_.m_dStandLPD, 0, 1000)) data_.m_dStandLPD = 0;
  if (data_.m_nStandLx < 0 || data_.m_nStandLx > 100000) data_.m_nStandLx = 0;
  if (data_.m_nUGR < 0 || data_.m_nUGR > 100) data_.m_nUGR = 0;
  data_.m_edition = CurrentEdition();
  data_.m_dStandUniformity =
      StandardUniformity(data_.m_edition, NyIniFile::ReadKey(kStandardSection, "m_dU0", 0.7, ini));
  ResetLimitLabel();
}

void CNYDrawIsolineDlg::ResetLimitLabel() {
  data_.m_dLimitLPD = data_.m_dStandLPD;
  data_.m_sLabel372 = "标准功率密度";
  if (window_) window_->SetToolTip(360, "标准功率密度");
}

void CNYDrawIsolineDlg::LoadNameTranslations() {
  translations_ = ReadNameTranslations(DataFile(kNameTranslationsFile));
}

// ---------------------------------------------------------------- handlers

void CNYDrawIsolineDlg::OnClick(Dialog& dlg, int id) {
  switch (id) {
    case 335:
      StartRoomCommand("NYZirIrodo_DOT_RECT");
      break;
    case 334:
      StartRoomCommand("NYZirIrodo_DOT_POLYGON");
      break;
    case 333:
      SendCommand("redraw");
      SendCommand("ZIRIRODO_LIGHTOFF");
      break;
    case 323:
      UpdateData(true);
      SaveRememberedLamps();
      ResetLimitLabel();
      UpdateData(false);
      SendCommand("redraw");
      SendCommand("ZIRIRODO_LIGHTON");
      break;
    case 324:
      OnBatchEdit();
      break;
    case 337:
      CalculateHorizontal();
      break;
    case 353:
      if (!DrawingOpen() || !UpdateData(true)) break;
      data_.m_nCalType = 1;
      data_.m_bGlareAtPoint = false;
      if (!ReadLuminaireTable(dlg, kLuminaireGridId, data_.m_records)) break;
      ClearHorizontalResults(data_);
      UpdateData(false);
      HideForPicking();
      SendCommand("ZIRIRODO_CALH_PERDOT");
      break;
    case 354:
      CalculateGlareAllPoints();
      break;
    case 367:
      data_.m_sLabel372 = "折算功率密度";
      dlg.SetText(372, data_.m_sLabel372);
      dlg.SetToolTip(360, "折算功率密度不应小于标准功率密度");
      SendCommand("NYZirIrodo_DOT_CalUGRPt");
      break;
    case 336:
      UpdateData(true);
      PassDrawingSettings();
      draw_.SetCalValue(data_.m_resultPoints, std::atof(data_.m_sMax.c_str()),
                        std::atof(data_.m_sMin.c_str()));
      draw_.SetWallId(data_.m_idOutline);
      draw_.SetPointTexts(SectionPointTexts(data_));
      HideForPicking();
      SendCommand("DRAW_LIGHT");
      break;
    case 351:
      if (data_.m_nCalType == 2 || data_.m_bGlareAtPoint) {
        NyGlb::CancelLastZwCadCommand();
        Host().Print("\n眩光计算暂时不提供计算书!");
        break;
      }
      SendCommand("NYZirIrodo_DOT_JSS");
      break;
    case 210:
      OnStandardsButton();
      break;
    case 209:
      if (DrawingOpen()) RunDotLuminaireCatalogueEditor();
      break;
    case 359:
      if (DrawingOpen()) RunLampCatalogueEditor();
      break;
    case 374:
      ShowHelp("照明规范", "建筑照明设计规范GB50034-2004/outline_0.htm");
      break;
    case 387:
      OnEffectButton();
      break;
    case 330:
    case 332:
    case 331:
    case 356:
    case kPreciseCheck:
      UpdateData(true);
      break;
    default:
      break;
  }
}

void CNYDrawIsolineDlg::OnEffectButton() {
  if (!DrawingOpen() || !UpdateData(true)) return;
  PassDrawingSettings();
  // The draw library's effect dialog (234) chooses the effect; its list is read back here.
  std::string name;
  draw_.LoadDlgSetEffect(name);
  if (!name.empty()) data_.m_sEffectName = name;
  UpdateData(false);
  ApplyDrawingSettings();
}

void CNYDrawIsolineDlg::OnSelChange(Dialog& dlg, int id) {
  if (id == 388) {
    int sel = dlg.GetCurSel(388);
    if (sel >= 0) data_.m_sEffectName = dlg.GetItemText(388, sel);
    data_.m_nEffect = sel;
  } else if (id == 399) {
    ApplyDrawingSettings();
  }
}

void CNYDrawIsolineDlg::OnKillFocus(Dialog&, int id) {
  if (id == 338) {
    OnDensityLostFocus();
  } else if (id == 221 || id == 222) {
    if (UpdateData(true)) RefillLegend();
  }
}

void CNYDrawIsolineDlg::OnSpin(Dialog&, int id, int delta) {
  if (id == 339) OnDensitySpin(delta);
  if (id == 326) OnLegendSpin(delta);
}

void CNYDrawIsolineDlg::OnDensityLostFocus() {
  if (!UpdateData(true)) return;
  Density d;
  const bool parsed = ParseDensity(data_.m_sCalCount, d);
  if (!parsed || GridCandidates(d.x, d.y) > kMaxGridPoints) {
    Box(parsed ? fmt::sprintf("你输入的数据不合理!\n计算点不能超过%.0f个。", kMaxGridPoints)
               : std::string("你输入的数据不合理!"),
        nyhost::MbIcon::kError);
    data_.m_sCalCount = "80";
    ParseDensity(data_.m_sCalCount, d);
  }
  data_.m_nCountX = d.x;
  data_.m_nCountY = d.y;
  data_.m_bTwoCounts = d.two_numbers;
  UpdateData(false);
}

void CNYDrawIsolineDlg::OnDensitySpin(int delta) {
  Density d;
  if (!ParseDensity(window_->GetText(338), d)) return;
  data_.m_sCalCount = SpinDensity(d, delta);
  data_.m_nCountX = d.x;
  data_.m_nCountY = d.y;
  data_.m_bTwoCounts = d.two_numbers;
  window_->SetText(338, data_.m_sCalCount);
}

void CNYDrawIsolineDlg::OnLegendSpin(int delta) {
  if (!UpdateData(true)) return;
  int& step = data_.m_nLegendStep;
  if (delta > 0 && step < 11) return;
  step += delta < 1 ? 10 : -10;
  UpdateData(false);
  RefillLegend();
}

bool CNYDrawIsolineDlg::OnKey(Dialog& dlg, int key) {
  if (key == nyhost::kKeyEnter) {
    OnEnterKey();
    return true;
  }
  return ModelessDialogBase::OnKey(dlg, key);
}

void CNYDrawIsolineDlg::OnEnterKey() {
  if (!UpdateData(true)) return;
  PointDialogData& d = data_;
  if (d.m_dLegendMin > 10000 || d.m_dLegendMin < 0) return;
  if (d.m_dLegendMin >= d.m_dLegendMax) {
    Box("最小值 不可大于 最大值!", nyhost::MbIcon::kWarning);
    d.m_dLegendMin = d.m_dLegendMax;
    UpdateData(false);
    return;
  }
  if (d.m_dLegendMax > 10000 || d.m_dLegendMax < 0) return;
  RefillLegend();
  UpdateData(false);
}

void CNYDrawIsolineDlg::RefillLegend() {
  if (!window_ || !UpdateData(true)) return;
  const PointDialogData& d = data_;
  if (d.m_nLegendStep <= 0) return;
  // In doubles: the range fields take any number the user types.
  const double levels = std::trunc((d.m_dLegendMax - d.m_dLegendMin) / d.m_nLegendStep) + 1;
  if (!(levels > 0)) return;
  const int n = levels < 200 ? static_cast<int>(levels) : 200;
  nyhost::GridState& g = window_->Grid(kLegendGridId);
  const bool glare = d.m_nCalType == 2;
  for (auto& row : g.cells) row.resize(static_cast<std::size_t>(n + 1));
  g.cells[1][0].text = glare ? "统一眩光" : "照度";
  legend_levels_.clear();
  for (int i = 1; i <= n; ++i) {
    const double level = d.m_dLegendMin + d.m_nLegendStep * i;
    legend_levels_.push_back(level);
    auto col = static_cast<std::size_t>(i);
    g.cells[0][col].text = fmt::sprintf("%d", i);
    g.cells[1][col].text = fmt::sprintf("%.0f", level);
    g.cells[2][col].text.clear();
    // Levels without a colour of their own show colour index 7.
    const int aci = col - 1 < legend_colours_.size() && legend_colours_[col - 1] > 0
                        ? legend_colours_[col - 1]
                        : 7;
    g.cells[2][col].back_color = nyhost::AciToRgb(aci);
  }
  window_->GridChanged(kLegendGridId);
}

// A click on a level's colour asks the host's colour dialog (opening on index 1) for its colour.
void CNYDrawIsolineDlg::OnLegendClick(int row, int col) {
  if (row != 2 || col < 1 || !DrawingOpen() || !window_) return;
  nyhost::GridState& g = window_->Grid(kLegendGridId);
  if (g.cells.size() < 3 || col >= static_cast<int>(g.cells[2].size())) return;
  const std::optional<int> chosen = Host().windows().ChooseColor(1);
  if (!chosen) return;
  const auto level = static_cast<std::size_t>(col - 1);
  if (legend_colours_.size() <= level) legend_colours_.resize(level + 1, 0);
  legend_colours_[level] = *chosen;
  g.cells[2][static_cast<std::size_t>(col)].back_color = nyhost::AciToRgb(*chosen);
  window_->GridChanged(kLegendGridId);
}

void CNYDrawIsolineDlg::OnCellClick(Dialog& dlg, int id, int row, int col) {
  if (id == kLegendGridId) OnLegendClick(row, col);
  if (id != kLuminaireGridId || row <= 0 || col < 0) return;
  const std::size_t index = static_cast<std::size_t>(row - 1);
  if (index >= data_.m_records.size()) return;
  if (col == kColName) {
    frame_luminaires_.clear();
    const nyhost::GridState* g = dlg.GridOf(id);
    const nyhost::GridRange sel = g->selection;
    for (int r = 1; r < g->rows(); ++r) {
      if (sel.Empty() || r < std::min(sel.row0, sel.row1) || r > std::max(sel.row0, sel.row1))
        continue;
      if (static_cast<std::size_t>(r - 1) < data_.m_records.size())
        frame_luminaires_.push_back(data_.m_records[static_cast<std::size_t>(r - 1)].entity_id);
    }
    nyhost::Point3 lo, hi;
    if (NyEnt::GetEntExtents(data_.m_records[index].entity_id, lo, hi)) {
      const double half = 10 * std::hypot(hi.x - lo.x, hi.y - lo.y);
      Host().ZoomWindow({hi.x - half, hi.y - half, 0}, {hi.x + half, hi.y + half, 0});
    }
    SendCommand("DrawRectOnLight");
  } else if (col == kColCurve && DrawingOpen()) {
    std::string curve = data_.m_records[index].curve_table;
    if (ChooseSubstituteCurve("你正在:\n改变配光曲线", curve)) {
      data_.m_records[index].curve_table = curve;
      dlg.SetCell(id, row, col, curve);
    }
  }
}

void CNYDrawIsolineDlg::OnCellEndEdit(Dialog& dlg, int id, int row, int col) {
  if (id != kLuminaireGridId) return;
  CheckBallastCell(dlg, id, row, col);
  // The row-changed notification follows the end of the edit.
  OnLuminaireRowChanged(dlg, id, row, col, data_.m_records);
}

// ---------------------------------------------------------------- standards, batch edit

void CNYDrawIsolineDlg::OnStandardsButton() {
  if (!DrawingOpen()) return;
  CNyStandardDlg standards;
  if (standards.DoModal() != nyhost::kIdOk) return;
  data_.m_dStandLPD = standards.m_dStandLPD;
  data_.m_dLimitLPD = standards.m_dStandLPD;
  data_.m_nStandLx = standards.m_nStandLx;
  data_.m_dStandAverage = standards.m_nStandLx;
  data_.m_nUGR = standards.m_nUGR;
  data_.m_edition = standards.m_edition;
  data_.m_dStandUniformity = StandardUniformity(standards.m_edition, standards.m_dU0);
  data_.m_sLabel372 = "标准功率密度";
  window_->SetToolTip(360, "标准功率密度");
  UpdateData(false);
}

void CNYDrawIsolineDlg::OnBatchEdit() {
  if (!DrawingOpen() || !UpdateData(true)) return;
  if (!ReadLuminaireTable(*window_, kLuminaireGridId, data_.m_records)) return;
  const nyhost::GridState* g = window_->GridOf(kLuminaireGridId);
  std::vector<LuminaireRecord> chosen;
  std::vector<std::size_t> indices;
  const nyhost::GridRange sel = g->selection;
  if (!sel.Empty()) {
    for (int r = std::max(1, std::min(sel.row0, sel.row1)); r <= std::max(sel.row0, sel.row1);
         ++r) {
      auto i = static_cast<std::size_t>(r - 1);
      if (i >= data_.m_records.size()) continue;
      chosen.push_back(data_.m_records[i]);
      indices.push_back(i);
    }
  }
  if (chosen.empty()) return;
  std::set<std::string> names, models;
  for (const auto& r : chosen) {
    names.insert(r.name);
    models.insert(r.model);
  }
  if (names.size() > 1 || models.size() > 1) {
    Box("请选择同一名称、型号的灯具!", nyhost::MbIcon::kError);
    return;
  }
  CNyBatchEditDlg batch(chosen);
  if (batch.DoModal(window_) != nyhost::kIdOk || batch.records().size() != chosen.size()) return;
  for (std::size_t k = 0; k < indices.size(); ++k) data_.m_records[indices[k]] = batch.records()[k];
  FillLuminaireTable(*window_, kLuminaireGridId, data_.m_records);
  UpdateData(false);
}

// ---------------------------------------------------------------- rooms

void CNYDrawIsolineDlg::SaveRememberedLamps() {
  if (!window_) return;
  auto rows = RememberedLampRows(*window_, kLuminaireGridId, data_.m_records.size());
  if (!rows.empty()) ::SaveRememberedLamps(rows);
}

void CNYDrawIsolineDlg::StartRoomCommand(const char* command) {
  UpdateData(true);
  SaveRememberedLamps();
  ResetLimitLabel();
  data_.m_resultPoints.clear();
  data_.m_values.clear();
  data_.m_records.clear();
  data_.m_offLuminaires.clear();
  // The old outline goes with the old room.
  NyEnt::DeleteEnt(data_.m_idOutline);
  data_.m_idOutline = nyhost::kNullId;
  UpdateData(false);
  SendCommand("redraw");
  SendCommand(command);
}

void CNYDrawIsolineDlg::PickRectangleRoom() { PickRoom(false); }
void CNYDrawIsolineDlg::PickPolygonRoom() { PickRoom(true); }

void CNYDrawIsolineDlg::PickRoom(bool polygon) {
  if (!UpdateData(true)) return;
  NyEnt::DeleteEnt(data_.m_idOutline);
  HideForPicking();
  nyhost::EntityId outline = polygon ? PickPolygonOutline() : PickRectangleOutline();
  // A rectangle that was not completed keeps the old (erased) id: its room is empty either way.
  if (outline != nyhost::kNullId || polygon) data_.m_idOutline = outline;
  CollectLuminaires(data_.m_idOutline, data_.m_records);
  if (IsOpen()) {
    FillLuminaireTable(*window_, kLuminaireGridId, data_.m_records);
    UpdateData(false);
  }
  ShowAfterPicking();
}

// ---------------------------------------------------------------- horizontal

void CNYDrawIsolineDlg::CalculateHorizontal() {
  if (busy_ || !UpdateData(true)) return;
  busy_ = true;
  Host().SetBusy(true);
  data_.m_nCalType = 0;
  data_.m_nResultSource = 1;
  data_.m_bGlareAtPoint = false;
  ClearHorizontalResults(data_);
  data_.tooltips.clear();
  bool ok = ReadLuminaireTable(*window_, kLuminaireGridId, data_.m_records);
  if (ok) ok = RunHorizontalCalculation(data_);
  if (IsOpen()) {
    UpdateData(false);
    for (const auto& [id, tip] : data_.tooltips) window_->SetToolTip(id, tip);
    if (ok) RefillLegend();
  }
  Host().SetBusy(false);
  busy_ = false;
}

// ---------------------------------------------------------------- destroy

void CNYDrawIsolineDlg::OnDrawingEvent(nyhost::DrawingEvent e) {
  if (!IsOpen() || data_.m_idOutline == nyhost::kNullId) return;
  const nyhost::Drawing* d = Host().drawing();
  if (e != nyhost::DrawingEvent::kReplaced && d && d->FindLive(data_.m_idOutline)) {
    // An undone step may have changed the luminaires (rotations written from the table).
    if (e == nyhost::DrawingEvent::kUndone) {
      CollectLuminaires(data_.m_idOutline, data_.m_records);
      FillLuminaireTable(*window_, kLuminaireGridId, data_.m_records);
    }
    return;
  }
  data_.m_idOutline = nyhost::kNullId;
  data_.m_records.clear();
  data_.m_offLuminaires.clear();
  data_.m_resultPoints.clear();
  data_.m_values.clear();
  ClearHorizontalResults(data_);
  FillLuminaireTable(*window_, kLuminaireGridId, data_.m_records);
  UpdateData(false);
  Host().Print("\n房间轮廓已不在图中, 灯具表和计算结果已清除, 请重新选择房间。");
}

void CNYDrawIsolineDlg::OnDestroy(Dialog& dlg) {
  Host().RemoveDrawingListener(drawing_listener_);
  if (ModuleLoaded()) {
    UpdateData(true);
    const std::string& ini = Module().SettingsFile;
    NyIniFile::WriteKey(kSection, "当前颜色效果", data_.m_sEffectName, ini);
    NyIniFile::WriteKey(kSection, "m_sCalCount", data_.m_sCalCount, ini);
    NyIniFile::WriteKey(kSection, "绘制样式", data_.m_nRangeType < 0 ? 0 : data_.m_nRangeType, ini);
    NyIniFile::WriteKey(kSection, "精确光度", data_.m_bPrecise ? 1 : 0, ini);
    NyIniFile::SaveWindowPos(dlg, kSection, ini);
    SaveRememberedLamps();
    if (nyhost::Drawing* drawing = Host().drawing()) {
      NyEnt::DeleteEnt(data_.m_idOutline);
      Host().SetVar("PDMODE", 35);
      Host().SetVar("PDSIZE",
                    0.3 * NyScale::GetDrawScale(drawing) / NyScale::GetArchScale(drawing));
    }
    if (Module().PointDialog == this) Module().PointDialog = nullptr;
  }
  data_.m_records.clear();
  window_ = nullptr;
  delete this;
}

void CNYDrawIsolineDlg::ShowHelpTopic() { ShowHelp("NY", "ME/逐点法照度计算/逐点法照度计算.htm"); }

// ---------------------------------------------------------------- command operations

void CNYDrawIsolineDlg::ShowRowLuminaires() {
  // Frames the luminaires of the rows last clicked with temporary rectangles.
  for (nyhost::EntityId id : frame_luminaires_) {
    nyhost::Point3 lo, hi;
    if (!NyEnt::GetEntExtents(id, lo, hi)) continue;
    const nyhost::Point3 a{lo.x, lo.y, 0}, b{hi.x, lo.y, 0}, c{hi.x, hi.y, 0}, d{lo.x, hi.y, 0};
    Host().GrDraw(a, b, 3, false);
    Host().GrDraw(b, c, 3, false);
    Host().GrDraw(c, d, 3, false);
    Host().GrDraw(d, a, 3, false);
  }
}

void CNYDrawIsolineDlg::DrawDistribution() {
  try {
    draw_.DrawLight();
  } catch (const std::exception& e) {
    Host().Print("\nERROR!!!!");
    Host().Print(std::string("\n") + e.what());
  } catch (...) {
    Host().Print("\nERROR!!!!");
  }
  ShowAfterPicking();
  Host().Regen();
}

// Steps of other parts of the method; until they are built the dialog only comes back.
// ---------------------------------------------------------------- section and glare

void CNYDrawIsolineDlg::CalculateVerticalPlane() {
  HideForPicking();
  SectionPicks picks;
  if (PickSection(picks)) {
    Host().SetBusy(true);
    data_.tooltips.clear();
    if (RunSectionCalculation(data_, picks) && IsOpen()) {
      UpdateData(false);
      for (const auto& [id, tip] : data_.tooltips) window_->SetToolTip(id, tip);
      RefillLegend();
    }
    Host().SetBusy(false);
  }
  ShowAfterPicking();
}

void CNYDrawIsolineDlg::CalculateGlareAllPoints() {
  if (busy_ || !UpdateData(true)) return;
  busy_ = true;
  Host().SetBusy(true);
  bool exceeded = false;
  const bool ok = RunGlareAtAllPoints(*window_, data_, exceeded);
  if (IsOpen()) {
    UpdateData(false);
    if (ok) RefillLegend();
  }
  Host().SetBusy(false);
  busy_ = false;
  if (ok && exceeded) WarnGlareAboveStandard();
}

void CNYDrawIsolineDlg::CalculateGlareAtPoint() {
  if (!DrawingOpen() || !UpdateData(true)) return;
  data_.m_bGlareAtPoint = true;
  ClearHorizontalResults(data_);
  data_.m_resultPoints.clear();
  data_.m_values.clear();
  UpdateData(false);
  HideForPicking();
  RunGlareAtPickedPoint(data_);
  ShowAfterPicking();
}
