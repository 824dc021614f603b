#include "refdata/curve_chooser.h"

#include "base/module_state.h"
#include "host/host.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "resources/templates.h"
#include "support/ny_access.h"
#include "support/ny_str.h"

namespace {

// Adds the values once each, in order, skipping empty ones.
void AddUnique(nyhost::Dialog& dlg, int id, std::vector<std::string> values) {
  NyStr::RemoveSameStr(values, 0);
  for (const auto& v : values)
    if (!v.empty() && dlg.FindStringExact(id, v) < 0) dlg.AddString(id, v);
}

}  // namespace

void CCurveSelectDlg::OnInitDialog(nyhost::Dialog& dlg) {
  dlg.SetText(kPrompt, prompt_);
  dlg.ResetContent(kKindCombo);
  dlg.ResetContent(kMakerCombo);
  dlg.ResetContent(kList);
  dlg.AddString(kMakerCombo, kAllMakers);
  dlg.SetCurSel(kMakerCombo, 0);
  NyAccess* db = ZirIrodoDotDb();
  if (!db) return;
  std::vector<std::string> values;
  db->GetSelData(values, kSelectLuminaireKindsSorted);
  AddUnique(dlg, kKindCombo, values);
  db->GetSelData(dlg, kList, kSelectDotLuminaireRowsAll);

  if (current_.empty()) return;
  if (db->GetSelData(values, FormatSql(kSelectKindAndMakerUsingCurve, current_)) > 0 &&
      values.size() >= 2 && !values[0].empty() && !values[1].empty()) {
    int kind = dlg.FindStringExact(kKindCombo, values[0]);
    if (kind < 0) return;
    dlg.SetCurSel(kKindCombo, kind);
    FillMakers(dlg, values[0]);
    int maker = dlg.FindStringExact(kMakerCombo, values[1]);
    if (maker >= 0) dlg.SetCurSel(kMakerCombo, maker);
    FillList(dlg);
  }
}

void CCurveSelectDlg::FillMakers(nyhost::Dialog& dlg, const std::string& kind) {
  dlg.ResetContent(kMakerCombo);
  dlg.AddString(kMakerCombo, kAllMakers);
  NyAccess* db = ZirIrodoDotDb();
  if (db) {
    std::vector<std::string> values;
    db->GetSelData(values, FormatSql(kSelectDotLuminaireMakersOfKind, kind));
    AddUnique(dlg, kMakerCombo, values);
  }
  dlg.SetCurSel(kMakerCombo, 0);
}

void CCurveSelectDlg::FillList(nyhost::Dialog& dlg) {
  dlg.ResetContent(kList);
  NyAccess* db = ZirIrodoDotDb();
  if (!db) return;
  int kind_index = dlg.GetCurSel(kKindCombo);
  if (kind_index < 0) {
    db->GetSelData(dlg, kList, kSelectDotLuminaireRowsAll);
    return;
  }
  std::string kind = dlg.GetItemText(kKindCombo, kind_index);
  int maker_index = dlg.GetCurSel(kMakerCombo);
  std::string maker = maker_index < 0 ? kAllMakers : dlg.GetItemText(kMakerCombo, maker_index);
  if (maker == kAllMakers)
    db->GetSelData(dlg, kList, FormatSql(kSelectDotLuminaireRowsOfKind, kind));
  else
    db->GetSelData(dlg, kList, FormatSql(kSelectDotLuminaireRowsOfKindAndMaker, kind, maker));
}

void CCurveSelectDlg::ShowPreview(nyhost::Dialog& dlg) {
  preview_ = {};
  int row = dlg.GetCurSel(kList);
  NyAccess* db = ZirIrodoDotDb();
  if (row >= 0 && db) {
    auto cols = NyAccess::SplitItem(dlg.GetItemText(kList, row));
    std::vector<std::string> values;
    if (cols.size() >= 2 &&
        db->GetSelData(values, FormatSql(kSelectCurveOfLuminaire, cols[0], cols[1])) > 0)
      LoadPreviewCurve(values[0], preview_);
  }
  dlg.Invalidate(kPreview);
}

bool CCurveSelectDlg::Choose(nyhost::Dialog& dlg) {
  int row = dlg.GetCurSel(kList);
  NyAccess* db = ZirIrodoDotDb();
  if (row < 0 || !db) return false;
  auto cols = NyAccess::SplitItem(dlg.GetItemText(kList, row));
  std::vector<std::string> values;
  if (cols.size() < 2 ||
      db->GetSelData(values, FormatSql(kSelectCurveOfModelAndKind, cols[1], cols[0])) == 0)
    return false;
  chosen_ = values[0];
  dlg.EndDialog(nyhost::kIdOk);
  return true;
}

void CCurveSelectDlg::OnSelChange(nyhost::Dialog& dlg, int id) {
  if (id == kKindCombo) {
    int k = dlg.GetCurSel(kKindCombo);
    if (k >= 0) FillMakers(dlg, dlg.GetItemText(kKindCombo, k));
    FillList(dlg);
    preview_ = {};
    dlg.Invalidate(kPreview);
  } else if (id == kMakerCombo) {
    FillList(dlg);
    preview_ = {};
    dlg.Invalidate(kPreview);
  } else if (id == kList) {
    ShowPreview(dlg);
  }
}

void CCurveSelectDlg::OnClick(nyhost::Dialog& dlg, int id) {
  if (id == nyhost::kIdOk) {
    Choose(dlg);
  } else if (id == nyhost::kIdCancel) {
    dlg.EndDialog(nyhost::kIdCancel);
  }
}

void CCurveSelectDlg::OnDoubleClick(nyhost::Dialog& dlg, int id) {
  if (id == kList) Choose(dlg);
}

void CCurveSelectDlg::OnPaint(nyhost::Dialog&, int id, nyhost::Painter& painter) {
  if (id == kPreview) PaintPreviewCurve(painter, preview_);
}

bool CCurveSelectDlg::OnKey(nyhost::Dialog&, int key) {
  if (key == nyhost::kKeyF1) ShowHelp("NY", "ME/利用系数法照度计算/利用系数法照度计算.html");
  return false;
}

bool ChooseSubstituteCurve(const std::string& prompt, std::string& curve_table) {
  nyhost::DialogTemplate tpl = nyres::DialogTemplateOf(CCurveSelectDlg::kTemplateId);
  if (tpl.id == 0) return false;
  CCurveSelectDlg controller(prompt, curve_table);
  if (nyhost::Host::Get().windows().RunModal(tpl, controller) != nyhost::kIdOk) return false;
  if (controller.chosen().empty()) return false;
  curve_table = controller.chosen();
  return true;
}
