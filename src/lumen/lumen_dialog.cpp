#include "lumen/lumen_dialog.h"

#include <fmt/printf.h>

#include <cmath>

#include "base/module_state.h"
#include "host/entity_geometry.h"
#include "host/host.h"
#include "lumen/lumen_report.h"
#include "lumen/luminaire_chooser.h"
#include "refdata/catalogue_editor.h"
#include "refdata/catalogue_editor_cu.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "standards/cu_table_editor.h"
#include "standards/reflectance_dialog.h"
#include "standards/standards_dialog.h"
#include "support/ny_access.h"
#include "support/ny_ent.h"
#include "support/ny_ini_file.h"
#include "support/ny_scale.h"
#include "support/ny_str.h"

namespace {

using nyhost::Dialog;

// Control ids.
constexpr int kSchemes = 388, kLength = 287, kWidth = 288, kHeight = 264, kWindow = 262,
              kCeiling = 216, kWall = 217, kStandard = 226, kModel = 289, kRatio = 240,
              kMaintenance = 221, kCu = 318, kIlluminance = 227, kCount = 228, kLpd = 358,
              kReference = 360, kReferenceLabel = 405;

// Per lamp set (index 0 = set 1): kind, model, count, spin, power, ballast, flux.
struct SetIds {
  int kind, model, count, spin, power, ballast, flux;
};
constexpr SetIds kSet[2] = {{229, 230, 270, 337, 322, 324, 284},
                            {231, 237, 273, 338, 323, 325, 286}};
constexpr const char* kNone = "无";

nyhost::Host& Host() { return nyhost::Host::Get(); }

int Box(const std::string& text, nyhost::MbIcon icon = nyhost::MbIcon::kWarning,
        nyhost::MbButtons buttons = nyhost::MbButtons::kOk) {
  return Host().windows().MessageBox(kMessageCaption, text, icon, buttons);
}

bool Ask(const std::string& text) {
  return Box(text, nyhost::MbIcon::kQuestion, nyhost::MbButtons::kYesNo) == nyhost::kIdYes;
}

std::string Real(double v) { return fmt::sprintf("%.15g", v); }

std::string Selected(const Dialog& dlg, int id) {
  const int sel = dlg.GetCurSel(id);
  return sel < 0 ? std::string() : dlg.GetItemText(id, sel);
}

// Selects the item of that text in a list, or shows the text without a selection.
void ShowChoice(Dialog& dlg, int id, const std::string& text) {
  const int i = dlg.FindStringExact(id, text);
  if (i >= 0) {
    dlg.SetCurSel(id, i);
  } else {
    dlg.SetCurSel(id, -1);
    dlg.SetText(id, text);
  }
}

LumenRoom::LampSet& SetOf(LumenRoom& r, int set) { return set == 0 ? r.set1 : r.set2; }

// Marks a handler as running: the focus and selection events its own changes and message boxes
// cause on the desktop are not handled again inside it.
class Busy {
 public:
  explicit Busy(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~Busy() { flag_ = was_; }
  Busy(const Busy&) = delete;
  Busy& operator=(const Busy&) = delete;

 private:
  bool& flag_;
  bool was_;
};

}  // namespace

// ---------------------------------------------------------------- data exchange

bool CZirIrodoDlg::UpdateData(bool save) {
  Dialog* w = window_;
  if (!w || w->destroyed()) return false;
  LumenRoom& r = state_.room;
  if (save) {
    LumenRoom n = r;
    if (!ReadRealField(*w, kLength, n.length) || !ReadRealField(*w, kWidth, n.width) ||
        !ReadRealField(*w, kHeight, n.height) || !ReadRealField(*w, kWindow, n.window_ratio) ||
        !ReadRealField(*w, kCeiling, n.ceiling) || !ReadRealField(*w, kWall, n.wall) ||
        !ReadRealField(*w, kStandard, n.standard_lx) ||
        !ReadRealField(*w, kMaintenance, n.maintenance) ||
        !ReadRealField(*w, kIlluminance, n.illuminance) || !ReadIntField(*w, kCount, n.count) ||
        !ReadIntField(*w, kSet[0].count, n.set1.lamps) ||
        !ReadIntField(*w, kSet[1].count, n.set2.lamps) ||
        !ReadIntField(*w, kSet[0].flux, n.set1.flux) ||
        !ReadIntField(*w, kSet[1].flux, n.set2.flux))
      return false;
    if (n.maintenance < 0.01 || n.maintenance > 1.0) {
      Box("请输入一个介于 0.01 和 1 之间的数字。");
      return false;
    }
    n.set1.power = w->GetText(kSet[0].power);
    n.set2.power = w->GetText(kSet[1].power);
    n.set1.ballast = w->GetText(kSet[0].ballast);
    n.set2.ballast = w->GetText(kSet[1].ballast);
    r = n;
    state_.lamp_kind1 = w->GetCurSel(kSet[0].kind);
    state_.lamp_kind2 = w->GetCurSel(kSet[1].kind);
    state_.lamp_model1 = w->GetCurSel(kSet[0].model);
    state_.lamp_model2 = w->GetCurSel(kSet[1].model);
    scheme_name_ = w->GetText(kSchemes);
    return true;
  }
  w->SetText(kLength, Real(r.length));
  w->SetText(kWidth, Real(r.width));
  w->SetText(kHeight, Real(r.height));
  w->SetText(kWindow, Real(r.window_ratio));
  w->SetText(kCeiling, Real(r.ceiling));
  w->SetText(kWall, Real(r.wall));
  w->SetText(kStandard, Real(r.standard_lx));
  w->SetText(kModel, r.model);
  w->SetText(kRatio, Real(r.spacing_ratio));
  w->SetText(kMaintenance, Real(r.maintenance));
  w->SetText(kCu, Real(r.cu));
  w->SetText(kIlluminance, Real(r.illuminance));
  w->SetText(kCount, fmt::sprintf("%d", r.count));
  w->SetText(kLpd, Real(r.lpd));
  w->SetText(kReference, Real(r.reference_lpd));
  for (int s = 0; s < 2; ++s) {
    const LumenRoom::LampSet& set = SetOf(r, s);
    w->SetText(kSet[s].count, fmt::sprintf("%d", set.lamps));
    w->SetText(kSet[s].flux, fmt::sprintf("%d", set.flux));
    ShowChoice(*w, kSet[s].power, set.power);
    w->SetText(kSet[s].ballast, set.ballast);
  }
  const bool red = r.standard_lpd > 0.01 && r.lpd >= r.reference_lpd;
  w->SetColors(kLpd, red ? 0xFF0000 : nyhost::kNoColor, nyhost::kNoColor);
  return true;
}

// ---------------------------------------------------------------- start

void CZirIrodoDlg::OnInitDialog(Dialog& dlg) {
  Busy busy(busy_);
  window_ = &dlg;
  UpdateData(false);
  const std::string& ini = Module().SettingsFile;
  scheme_file_ = Module().DataFolder + kSchemeFileName;
  NyIniFile::LoadWindowPos(dlg, kSection, ini);
  FillFixedLists(dlg);
  FillLampKinds();
  static const std::pair<int, const char*> kTips[] = {
      {208, "选择灯具得到利用系数"},
      {209, "扩充灯具的类型"},
      {359, "扩充光源的类型"},
      {229, "光源的类型"},
      {231, "光源的类型"},
      {230, "选择光源类型"},
      {237, "选择光源类型"},
      {238, "生成计算书"},
      {239, "计算结果"},
      {341, "修改计算书的格式"},
      {213, "更多..."},
      {214, "更多..."},
      {235, "更多..."},
      {224, "更多..."},
      {221, "n/a"},
      {358, "实际功率密度"},
      {360, "照度等于目标照度时的功率密度"},
      {322, "W"},
      {323, "W"},
      {324, "W"},
      {325, "W"},
      {284, "lm"},
      {286, "lm"},
      {406, "保存方案"},
      {407, "删除方案"},
      {409, "新建方案并保存当前数据"},
      {219, "在屏幕勾绘矩形房间"},
      {218, "在屏幕勾画多边形房间"},
  };
  for (const auto& [id, tip] : kTips) dlg.SetToolTip(id, tip);

  ApplyKeys(NyIniFile::ReadSection(kSection, ini), state_);
  scheme_name_ = NyIniFile::ReadKey(kSection, kCurrentSchemeKey, std::string(), ini);
  ReloadTable();
  // No luminaire, no coefficient.
  if (state_.room.cu_table.empty()) state_.room.cu = -1;
  RestoreLampLists();

  const auto names = SchemeNames(scheme_file_);
  for (const auto& n : names) dlg.AddString(kSchemes, n);
  if (!names.empty()) {
    int sel = dlg.FindStringExact(kSchemes, scheme_name_);
    LoadSchemeNamed(dlg.GetItemText(kSchemes, sel < 0 ? 0 : sel));
  }
  report_language_ = ReportLanguage();
  names_ = ReadNameTranslations(Module().DataFolder + kNameTranslationsFile);
  UpdateData(false);
}

void CZirIrodoDlg::FillFixedLists(Dialog& dlg) {
  for (const char* h :
       {"0.5", "1.0", "1.5", "2.0", "2.5", "2.8", "3.0", "3.5", "4.0", "5.0", "6.0", "8.0", "10.0"})
    dlg.AddString(kHeight, h);
  for (const char* v : {"0", "10", "15", "20", "25", "30", "35", "40", "50"})
    dlg.AddString(kWindow, v);
  for (int s = 0; s < 2; ++s)
    for (const char* b : {"0", "4", "6", "8", "9", "10", "12", "15", "20", "25", "30"})
      dlg.AddString(kSet[s].ballast, b);
  dlg.SetRange(kSet[0].spin, 1, 100);
  dlg.SetRange(kSet[1].spin, 1, 100);
  dlg.SetRange(339, 0, 10000);
}

void CZirIrodoDlg::FillLampKinds() {
  Dialog& dlg = *window_;
  for (int s = 0; s < 2; ++s) dlg.ResetContent(kSet[s].kind);
  NyAccess* db = NyDataDb();
  if (!db) return;
  for (int s = 0; s < 2; ++s) db->GetSelData(dlg, kSet[s].kind, kSelectLampKindsGrouped);
  dlg.AddString(kSet[1].kind, kNone);
}

// ---------------------------------------------------------------- lamp sets

void CZirIrodoDlg::LampKindChanged(int s) {
  Dialog& dlg = *window_;
  const SetIds& ids = kSet[s];
  const std::string kind = Selected(dlg, ids.kind);
  dlg.ResetContent(ids.model);
  dlg.ResetContent(ids.power);
  LumenRoom::LampSet& set = SetOf(state_.room, s);
  if (s == 1) {
    const bool none = kind == kNone;
    for (int id : {ids.count, ids.spin, ids.model, ids.power, ids.ballast, ids.flux})
      dlg.Enable(id, !none);
    if (none) {
      set.single_flux = set.flux = 0;
      set.power = set.ballast = "0";  // nothing of set 2 counts in the power density
      dlg.SetText(ids.flux, "0");
      dlg.SetText(ids.power, "0");
      return;
    }
  }
  NyAccess* db = NyDataDb();
  if (!db || kind.empty()) return;
  db->GetSelData(
      dlg, ids.model,
      FormatSql(s == 0 ? kSelectLampModelsOfKindGrouped : kSelectLampModelsOfKind, kind));
}

void CZirIrodoDlg::LampModelChanged(int s) {
  Dialog& dlg = *window_;
  const SetIds& ids = kSet[s];
  dlg.ResetContent(ids.power);
  NyAccess* db = NyDataDb();
  if (!db || dlg.GetCurSel(ids.model) < 0) return;
  db->GetSelData(dlg, ids.power,
                 FormatSql(s == 0 ? kSelectLampPowersNoBlank : kSelectLampPowersGrouped,
                           Selected(dlg, ids.kind), Selected(dlg, ids.model)));
}

void CZirIrodoDlg::LampPowerChanged(int s) {
  Dialog& dlg = *window_;
  const SetIds& ids = kSet[s];
  if (!UpdateData(true)) return;
  LumenRoom::LampSet& set = SetOf(state_.room, s);
  std::vector<std::string> v;
  if (NyAccess* db = NyDataDb())
    db->GetSelData(v, FormatSql(kSelectLampFlux, Selected(dlg, ids.kind), Selected(dlg, ids.model),
                                std::atoi(set.power.c_str())));
  set.single_flux = v.empty() ? 0 : std::atoi(v[0].c_str());
  set.flux = set.single_flux * set.lamps;
  UpdateData(false);
}

void CZirIrodoDlg::LampCountChanged(int s, int delta) {
  if (!UpdateData(true)) return;
  LumenRoom::LampSet& set = SetOf(state_.room, s);
  if (delta > 0) ++set.lamps;
  if (delta < 0 && set.lamps >= 2) --set.lamps;
  set.flux = set.single_flux * set.lamps;
  UpdateData(false);
}

void CZirIrodoDlg::RestoreLampLists() {
  Dialog& dlg = *window_;
  const LumenState saved = state_;
  const int kinds[2] = {saved.lamp_kind1, saved.lamp_kind2};
  const int models[2] = {saved.lamp_model1, saved.lamp_model2};
  for (int s = 0; s < 2; ++s) {
    if (kinds[s] < 0 || kinds[s] >= dlg.GetCount(kSet[s].kind)) continue;
    dlg.SetCurSel(kSet[s].kind, kinds[s]);
    LampKindChanged(s);
    if (models[s] < 0 || models[s] >= dlg.GetCount(kSet[s].model)) continue;
    dlg.SetCurSel(kSet[s].model, models[s]);
    LampModelChanged(s);
  }
  state_.room.set1 = saved.room.set1;
  state_.room.set2 = saved.room.set2;
  UpdateData(false);
}

void CZirIrodoDlg::SaveLampMemory() {
  if (state_.room.model.empty()) return;
  NyIniFile::WriteKeys(state_.room.model, StateKeys(state_, true), Module().SettingsFile);
}

// ---------------------------------------------------------------- coefficient and results

void CZirIrodoDlg::ReloadTable() {
  table_.reset();
  if (!state_.room.cu_table.empty()) table_ = LoadCuTable(NyDataDb(), state_.room.cu_table);
}

void CZirIrodoDlg::RecalculateCu(int digits) {
  LumenRoom& r = state_.room;
  UpdateRoomGeometry(r);
  const double u = table_ ? LookupUtilizationCoefficient(*table_, EffectiveCeiling(r),
                                                         EffectiveWall(r), RoomCavityRatio(r))
                          : -1;
  r.cu = CutCoefficient(u, digits);
}

void CZirIrodoDlg::ShowVerdicts() {
  auto v = ShowPowerDensityVerdicts(state_.room, edition_);
  if (!v) return;
  window_->SetText(kReferenceLabel, v->label);
  window_->SetToolTip(kReference, v->reference_tip);
  window_->SetToolTip(kLpd, v->lpd_tip);
  window_->SetToolTip(kIlluminance, v->illuminance_tip);
}

void CZirIrodoDlg::ClearResults() {
  LumenRoom& r = state_.room;
  r.illuminance = r.lpd = r.reference_lpd = 0;
  r.count = 0;
}

void CZirIrodoDlg::CalculateAverageIlluminance() {
  if (!UpdateData(true)) return;
  if (auto stop = ::CalculateAverageIlluminance(state_.room)) {
    Box(*stop);
    return;
  }
  ShowVerdicts();
  UpdateData(false);
}

// ---------------------------------------------------------------- handlers

void CZirIrodoDlg::OnClick(Dialog&, int id) {
  Busy busy(busy_);
  switch (id) {
    case 219:
      SendCommand("NYZirIrodo_LYXS_RECT");
      break;
    case 218:
      SendCommand("NYZirIrodo_LYXS_POLYGON");
      break;
    case 239:
      CalculateAverageIlluminance();
      break;
    case 208:
      OnLuminaireButton();
      break;
    case 235:
      OnStandardsButton();
      break;
    case 213:
    case 214:
      OnReflectanceButton(id == 213);
      break;
    case 224:
      OnMaintenanceMenu();
      break;
    case 209:
      RunCuLuminaireCatalogueEditor(&EditCuTable);
      ReloadTable();
      break;
    case 359:
      RunLampCatalogueEditor();
      break;
    case 409:
      NewScheme();
      break;
    case 406:
      SaveSchemeButton();
      break;
    case 407:
      DeleteSchemeButton();
      break;
    case 238:
      WriteCalculationReport();
      break;
    case 341:
      EditReportTemplate();
      break;
    default:
      break;
  }
}

void CZirIrodoDlg::OnSelChange(Dialog& dlg, int id) {
  if (busy_) return;
  Busy busy(busy_);
  if (id == kHeight || id == kWindow) {
    if (dlg.GetCurSel(id) >= 0) dlg.SetText(id, dlg.GetItemText(id, dlg.GetCurSel(id)));
    if (!UpdateData(true)) return;
    RecalculateCu(3);
    UpdateData(false);
  } else if (id == kSchemes) {
    LoadSchemeNamed(Selected(dlg, kSchemes));
  }
  for (int s = 0; s < 2; ++s) {
    if (id == kSet[s].kind) {
      LampKindChanged(s);
      UpdateData(true);
    }
    if (id == kSet[s].model) LampModelChanged(s);
    if (id == kSet[s].power) LampPowerChanged(s);
  }
}

void CZirIrodoDlg::OnKillFocus(Dialog&, int id) {
  if (busy_) return;
  Busy busy(busy_);
  if (!UpdateData(true)) return;
  LumenRoom& r = state_.room;
  switch (id) {
    case kLength:
    case kWidth:
      RecalculateCu(3);
      break;
    case kHeight:
      if (r.height <= 0) Box("房间高度不可小于等于0!");
      RecalculateCu(3);
      break;
    case kWindow:
      RecalculateCu(2);
      break;
    case kCeiling:
    case kWall: {
      double& v = id == kCeiling ? r.ceiling : r.wall;
      if (v > 100) Box(id == kCeiling ? "顶棚反射率 不可大于 100 !" : "<墙反射率>不可大于 100 !");
      if (v < 0) v = 0;
      RecalculateCu(3);
      break;
    }
    case kStandard:
      if (r.standard_lx < 0) r.standard_lx = 0;
      break;
    case kIlluminance:
      CountFromIlluminance(r);
      ShowVerdicts();
      break;
    case kCount:
      IlluminanceFromCount(r);
      ShowVerdicts();
      break;
    default:
      for (int s = 0; s < 2; ++s)
        if (id == kSet[s].count) SetOf(r, s).flux = SetOf(r, s).single_flux * SetOf(r, s).lamps;
      break;
  }
  UpdateData(false);
}

void CZirIrodoDlg::OnSpin(Dialog&, int id, int delta) {
  if (busy_) return;
  Busy busy(busy_);
  for (int s = 0; s < 2; ++s)
    if (id == kSet[s].spin) LampCountChanged(s, delta);
  if (id != 339 || !UpdateData(true)) return;
  LumenRoom& r = state_.room;
  if (delta > 0) ++r.count;
  if (delta < 0 && r.count >= 2) --r.count;
  IlluminanceFromCount(r);
  ShowVerdicts();
  UpdateData(false);
}

void CZirIrodoDlg::OnLuminaireButton() {
  if (!UpdateData(true)) return;
  SaveLampMemory();
  LumenRoom& r = state_.room;
  UpdateRoomGeometry(r);
  CLuminaireChooserDlg chooser(EffectiveCeiling(r), EffectiveWall(r), RoomCavityRatio(r), r.cu);
  if (chooser.DoModal(window_) != nyhost::kIdOk) return;
  if (chooser.m_dCu < 0.0001) {
    Box("利用系数不可 ≤ 0!");
    return;
  }
  r.cu = chooser.m_dCu;
  r.model = chooser.m_sModel;
  r.lamp = chooser.m_sLamp;
  r.cu_table = chooser.m_sTable;
  r.spacing_ratio = chooser.m_dSpacingRatio;
  ReloadTable();
  const KeyValues lamps = NyIniFile::ReadSection(r.model, Module().SettingsFile);
  if (!lamps.empty()) {
    ApplyKeys(lamps, state_);
    RestoreLampLists();
  }
  UpdateData(false);
}

void CZirIrodoDlg::OnStandardsButton() {
  UpdateData(true);
  CNyStandardDlg standards;
  standards.SetCallerSettings(scheme_file_, scheme_name_);
  standards.DoModal();
  // The values are taken however the dialog closes.
  state_.room.standard_lx = standards.m_nStandLx;
  state_.room.standard_lpd = standards.m_dStandLPD;
  edition_ = standards.m_edition;
  UpdateData(false);
}

void CZirIrodoDlg::OnReflectanceButton(bool ceiling) {
  if (!UpdateData(true)) return;
  CNySetReflectivityDlg dlg;
  dlg.m_dReflectivity = ceiling ? state_.room.ceiling : state_.room.wall;
  if (dlg.DoModal(window_) != nyhost::kIdOk) return;
  (ceiling ? state_.room.ceiling : state_.room.wall) = dlg.m_dReflectivity;
  RecalculateCu(3);
  UpdateData(false);
}

void CZirIrodoDlg::OnMaintenanceMenu() {
  static const std::pair<const char*, double> kFactors[] = {
      {"清洁  0.80", 0.80}, {"清洁  0.75", 0.75}, {"一般  0.74", 0.74},
      {"一般  0.70", 0.70}, {"污染  0.69", 0.69}, {"污染  0.65", 0.65}};
  std::vector<std::string> items;
  for (const auto& f : kFactors) items.emplace_back(f.first);
  const int choice = Host().windows().PopupMenu(items);
  if (choice < 0 || choice >= 6 || !UpdateData(true)) return;
  state_.room.maintenance = kFactors[choice].second;
  UpdateData(false);
}

// ---------------------------------------------------------------- schemes

void CZirIrodoDlg::AddSchemeOnTop(const std::string& name) {
  Dialog& dlg = *window_;
  if (dlg.FindStringExact(kSchemes, name) < 0) {
    std::vector<std::string> items{name};
    for (int i = 0; i < dlg.GetCount(kSchemes); ++i) items.push_back(dlg.GetItemText(kSchemes, i));
    dlg.ResetContent(kSchemes);
    for (const auto& item : items) dlg.AddString(kSchemes, item);
  }
  dlg.SetCurSel(kSchemes, dlg.FindStringExact(kSchemes, name));
  scheme_name_ = name;
}

void CZirIrodoDlg::NewScheme() {
  if (!UpdateData(true)) return;
  CSchemeNameDlg ask(scheme_name_);
  if (ask.DoModal(window_) != nyhost::kIdOk) return;
  if (SchemeExists(scheme_file_, ask.m_sName) && !Ask("已经有这个方案名称,是否覆盖?")) return;
  AddSchemeOnTop(ask.m_sName);
  if (!SaveScheme(scheme_file_, scheme_name_, state_))
    Box("无法写入 " + scheme_file_, nyhost::MbIcon::kError);
}

void CZirIrodoDlg::SaveSchemeButton() {
  if (!UpdateData(true)) return;
  if (scheme_name_.empty()) return NewScheme();
  AddSchemeOnTop(scheme_name_);
  if (!SaveScheme(scheme_file_, scheme_name_, state_))
    Box("无法写入 " + scheme_file_, nyhost::MbIcon::kError);
}

void CZirIrodoDlg::DeleteSchemeButton() {
  Dialog& dlg = *window_;
  if (dlg.GetCount(kSchemes) == 0) return;
  if (!Ask("是否删除选择的方案?")) return;
  const std::string name = dlg.GetText(kSchemes);
  DeleteScheme(scheme_file_, name);
  std::vector<std::string> rest;
  for (int i = 0; i < dlg.GetCount(kSchemes); ++i)
    if (dlg.GetItemText(kSchemes, i) != name) rest.push_back(dlg.GetItemText(kSchemes, i));
  dlg.ResetContent(kSchemes);
  for (const auto& item : rest) dlg.AddString(kSchemes, item);
  if (rest.empty()) {
    dlg.SetText(kSchemes, "");
    scheme_name_.clear();
    return;
  }
  dlg.SetCurSel(kSchemes, 0);
  LoadSchemeNamed(rest.front());
}

void CZirIrodoDlg::LoadSchemeNamed(const std::string& name) {
  scheme_name_ = name;
  window_->SetCurSel(kSchemes, window_->FindStringExact(kSchemes, name));
  if (!LoadScheme(scheme_file_, name, state_)) return;
  // A scheme whose standard was chosen remembers the edition with it.
  const std::string edition = NyIniFile::ReadKey(name, kEditionKey, std::string(), scheme_file_);
  edition_ = EditionFromKey(edition).value_or(edition_);
  ReloadTable();
  ClearResults();
  RestoreLampLists();
}

// ---------------------------------------------------------------- rooms

void CZirIrodoDlg::PickRoom(nyhost::EntityId (*pick)()) {
  if (!UpdateData(true)) return;
  NyEnt::DeleteEnt(outline_);
  HideForPicking();
  outline_ = pick();
  UpdateRoomFromOutline();
  ShowAfterPicking();
}

void CZirIrodoDlg::UpdateRoomFromOutline() {
  nyhost::Drawing* d = Host().drawing();
  const nyhost::Entity* e = d && outline_ != nyhost::kNullId ? d->FindLive(outline_) : nullptr;
  const nyhost::Polyline* pl = e ? e->As<nyhost::Polyline>() : nullptr;
  if (!pl || !RoomFromOutline(nyhost::PolylineArea(*pl), nyhost::PolylinePerimeter(*pl),
                              NyScale::GetArchScale(d), state_.room)) {
    Box("房间面积=0!");
    return;
  }
  RecalculateCu(3);
  UpdateData(false);
}

// ---------------------------------------------------------------- destroy

void CZirIrodoDlg::OnDestroy(Dialog& dlg) {
  if (ModuleLoaded()) {
    UpdateData(true);
    KeyValues keys = StateKeys(state_);
    keys.emplace_back(kCurrentSchemeKey, scheme_name_);
    const std::string& ini = Module().SettingsFile;
    NyIniFile::WriteKeys(kSection, keys, ini);
    NyIniFile::SaveWindowPos(dlg, kSection, ini);
    if (Host().drawing()) NyEnt::DeleteEnt(outline_);
    if (Module().LyxsDialog == this) Module().LyxsDialog = nullptr;
  }
  window_ = nullptr;
  delete this;
}

void CZirIrodoDlg::ShowHelpTopic() {
  ShowHelp("NY", "ME/利用系数法照度计算/利用系数法照度计算.html");
}
