#include "lumen/luminaire_chooser.h"

#include <fmt/printf.h>

#include <cmath>
#include <cstdlib>

#include "base/module_state.h"
#include "host/host.h"
#include "host/text_util.h"
#include "lumen/cu_lookup.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "resources/templates.h"
#include "support/ny_access.h"
#include "support/ny_common.h"
#include "support/ny_str.h"

namespace {

constexpr int kKinds = 226, kModels = 279, kRatio = 277, kNames = 227, kAdd = 327, kRemove = 328,
              kCu = 229, kPicture = 282;

void Warn(const std::string& text) {
  nyhost::Host::Get().windows().MessageBox(kMessageCaption, text, nyhost::MbIcon::kWarning,
                                           nyhost::MbButtons::kOk);
}

std::string Selected(const nyhost::Dialog& dlg, int id) {
  const int sel = dlg.GetCurSel(id);
  return sel < 0 ? std::string() : dlg.GetItemText(id, sel);
}

}  // namespace

int CLuminaireChooserDlg::DoModal(nyhost::Dialog* parent) {
  return nyhost::Host::Get().windows().RunModal(nyres::DialogTemplateOf(kTemplateId), *this,
                                                parent);
}

void CLuminaireChooserDlg::OnInitDialog(nyhost::Dialog& dlg) {
  dlg.SetToolTip(kKinds, "光源的类型");
  dlg.SetToolTip(kModels, "灯具的型号");
  dlg.SetToolTip(kAdd, "添加灯具型号");
  dlg.SetToolTip(kRemove, "删除灯具型号");
  dlg.SetToolTip(228, "查看利用表");
  dlg.SetText(kCu, fmt::sprintf("%.3f", m_dCu));
  NyAccess* db = NyDataDb();
  if (!db) return;
  std::vector<std::string> kinds;
  db->GetSelData(kinds, kSelectLuminaireKindsSorted);
  NyStr::RemoveSameStr(kinds, 0);
  for (const auto& k : kinds) dlg.AddString(kKinds, k);
}

void CLuminaireChooserDlg::OnSelChange(nyhost::Dialog& dlg, int id) {
  if (id == kKinds) KindChosen(dlg);
  if (id == kModels) ModelChosen(dlg);
}

void CLuminaireChooserDlg::KindChosen(nyhost::Dialog& dlg) {
  dlg.ResetContent(kModels);
  NyAccess* db = NyDataDb();
  if (!db) return;
  db->GetSelData(dlg, kModels, FormatSql(kSelectCuModelsOfKind, Selected(dlg, kKinds)));
  if (dlg.GetCount(kModels) > 0) {
    dlg.SetCurSel(kModels, 0);
    ModelChosen(dlg);
  }
}

void CLuminaireChooserDlg::ModelChosen(nyhost::Dialog& dlg) {
  const std::string model = Selected(dlg, kModels), lamp = Selected(dlg, kKinds);
  auto lum = FindCuLuminaire(NyDataDb(), model, lamp);
  if (!lum) return;
  m_sModel = model;
  m_sLamp = lamp;
  m_sTable = lum->table;
  m_dSpacingRatio = lum->spacing_ratio;
  dlg.SetText(kRatio, fmt::sprintf("%.15g", m_dSpacingRatio));
  picture_ = DataFile("照度曲线/" + lum->bitmap);
  if (!NyCommon::FileExists(picture_)) picture_.clear();
  dlg.Invalidate(kPicture);
  if (picture_.empty()) Warn("位图不存在!");
  double cu = -1;
  if (auto table = LoadCuTable(NyDataDb(), m_sTable))
    cu = LookupUtilizationCoefficient(*table, ceiling_, wall_, rcr_);
  dlg.SetText(kCu, fmt::sprintf("%.3f", cu));
  dlg.ResetContent(kNames);
  std::vector<std::string> rows;
  NyDataDb()->GetSelData(rows, FormatSql(kSelectDesignationsOfModel, model));
  for (const auto& row : rows)
    for (const auto& name : nyhost::SplitString(row, '^'))
      if (!name.empty() && dlg.FindStringExact(kNames, name) < 0) dlg.AddString(kNames, name);
  if (dlg.GetCount(kNames) > 0) dlg.SetCurSel(kNames, 0);
}

void CLuminaireChooserDlg::OnClick(nyhost::Dialog& dlg, int id) {
  if (id == kAdd) AddDesignation(dlg);
  if (id == kRemove) RemoveDesignation(dlg);
  if (id == 228) {
    double cu = 0;
    NyStr::IsDigit(cu, dlg.GetText(kCu));
    CCuLookupDlg lookup(ceiling_, wall_, rcr_, m_sTable, cu);
    if (lookup.DoModal(&dlg) == nyhost::kIdOk) dlg.SetText(kCu, fmt::sprintf("%.3f", lookup.m_dCu));
  }
  if (id == nyhost::kIdCancel) dlg.EndDialog(nyhost::kIdCancel);
  if (id != nyhost::kIdOk) return;
  double cu = 0;
  if (!NyStr::IsDigit(cu, dlg.GetText(kCu))) cu = 0;
  if (cu >= 1) return Warn("利用系数不可大于1!");
  if (cu <= 0) return Warn("利用系数不可小于等于0!");
  m_dCu = cu;
  dlg.EndDialog(nyhost::kIdOk);
}

void CLuminaireChooserDlg::OnKillFocus(nyhost::Dialog& dlg, int id) {
  double cu = 0;
  if (id == kCu && NyStr::IsDigit(cu, dlg.GetText(kCu)) && cu >= 1) {
    Warn("利用系数不可大于1!");
    dlg.SetText(kCu, "0.99");
  }
}

void CLuminaireChooserDlg::OnPaint(nyhost::Dialog&, int id, nyhost::Painter& painter) {
  if (id == kPicture && !picture_.empty())
    painter.Image(0, 0, painter.Width(), painter.Height(), picture_);
}

void CLuminaireChooserDlg::AddDesignation(nyhost::Dialog& dlg) {
  const std::string name = nyhost::Trim(dlg.GetText(kNames));
  if (name.empty() || dlg.FindStringExact(kNames, name) >= 0) return;
  if (name.find('\'') != std::string::npos) return Warn("存在非法字符 ' ");
  dlg.SetCurSel(kNames, dlg.AddString(kNames, name));
  WriteDesignations(dlg);
}

void CLuminaireChooserDlg::RemoveDesignation(nyhost::Dialog& dlg) {
  const int sel = dlg.GetCurSel(kNames);
  if (sel < 0) return;
  std::vector<std::string> keep;
  for (int i = 0; i < dlg.GetCount(kNames); ++i)
    if (i != sel) keep.push_back(dlg.GetItemText(kNames, i));
  dlg.ResetContent(kNames);
  for (const auto& k : keep) dlg.AddString(kNames, k);
  WriteDesignations(dlg);
}

void CLuminaireChooserDlg::WriteDesignations(nyhost::Dialog& dlg) {
  const std::string model = Selected(dlg, kModels);
  NyAccess* db = NyDataDb();
  if (model.empty() || !db) return;
  std::string joined;
  for (int i = 0; i < dlg.GetCount(kNames); ++i) joined += dlg.GetItemText(kNames, i) + "^";
  db->ExecuteSQL(FormatSql(kUpdateDesignationsOfModel, joined, model));
}

int CCuLookupDlg::DoModal(nyhost::Dialog* parent) {
  return nyhost::Host::Get().windows().RunModal(nyres::DialogTemplateOf(kTemplateId), *this,
                                                parent);
}

void CCuLookupDlg::OnInitDialog(nyhost::Dialog& dlg) {
  dlg.SetText(1004, table_);
  dlg.SetText(1001, fmt::sprintf("%.0f", ceiling_ * 100) + "%");
  dlg.SetText(1002, fmt::sprintf("%.0f", wall_ * 100) + "%");
  dlg.SetText(1003, fmt::sprintf("%.3f", std::fabs(rcr_) < 0.001 ? 0.0 : 5 / rcr_));
  dlg.SetText(1005, fmt::sprintf("%.3f", m_dCu));
}

void CCuLookupDlg::OnClick(nyhost::Dialog& dlg, int id) {
  if (id == nyhost::kIdCancel) dlg.EndDialog(nyhost::kIdCancel);
  if (id != nyhost::kIdOk) return;
  double cu = 0;
  if (!NyStr::IsDigit(cu, dlg.GetText(1005))) cu = 0;
  if (cu >= 1) return Warn("利用系数不可大于1 !");
  if (cu <= 0) return Warn("利用系数不可小于等于0 !");
  m_dCu = cu;
  dlg.EndDialog(nyhost::kIdOk);
}

int CSchemeNameDlg::DoModal(nyhost::Dialog* parent) {
  return nyhost::Host::Get().windows().RunModal(nyres::DialogTemplateOf(kTemplateId), *this,
                                                parent);
}

void CSchemeNameDlg::OnInitDialog(nyhost::Dialog& dlg) {
  dlg.SetText(1001, m_sName);
  dlg.SetToolTip(1, "提交方案名称");
  dlg.SetToolTip(2, "取消提交方案名称");
}

void CSchemeNameDlg::OnClick(nyhost::Dialog& dlg, int id) {
  if (id == nyhost::kIdCancel) dlg.EndDialog(nyhost::kIdCancel);
  if (id != nyhost::kIdOk) return;
  m_sName = dlg.GetText(1001);
  if (m_sName.empty()) return Warn("方案名称不能为空");
  dlg.EndDialog(nyhost::kIdOk);
}
