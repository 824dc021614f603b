#include "refdata/catalogue_editor.h"

#include "base/module_state.h"
#include "host/host.h"
#include "host/text_util.h"
#include "refdata/db_backup_dialog.h"
#include "support/ny_access.h"

void CCatalogueEditor::OnClick(nyhost::Dialog& dlg, int id) {
  if (id == ids_.backup) {
    RunDbImportBackupDialog();
    Reload(dlg);
  } else if (id == nyhost::kIdCancel) {
    dlg.EndDialog(nyhost::kIdCancel);
  } else {
    OnButton(dlg, id);
  }
}

void CCatalogueEditor::OnSelChange(nyhost::Dialog& dlg, int id) {
  if (id == ids_.kind_combo) {
    KindChosen(dlg);
  } else if (id == ids_.maker_combo) {
    MakerChosen(dlg);
  } else if (id == ids_.list) {
    RowClicked(dlg);
  }
}

bool CCatalogueEditor::OnKey(nyhost::Dialog&, int key) {
  if (key != nyhost::kKeyF1) return false;
  ShowHelp("NY", "ME/利用系数法照度计算/利用系数法照度计算.html");
  return true;
}

void CCatalogueEditor::Message(const std::string& text, nyhost::MbIcon icon) {
  nyhost::Host::Get().windows().MessageBox(kMessageCaption, text, icon, nyhost::MbButtons::kOk);
}

bool CCatalogueEditor::Ask(const std::string& text) {
  return nyhost::Host::Get().windows().MessageBox(kMessageCaption, text, nyhost::MbIcon::kQuestion,
                                                  nyhost::MbButtons::kYesNo) == nyhost::kIdYes;
}

std::string CCatalogueEditor::Field(const nyhost::Dialog& dlg, int id) {
  return nyhost::Trim(dlg.GetText(id));
}

void CCatalogueEditor::SelectText(nyhost::Dialog& dlg, int id, const std::string& text) {
  int index = dlg.FindStringExact(id, text);
  dlg.SetCurSel(id, index);
  if (index < 0) dlg.SetText(id, text);
}

void CCatalogueEditor::AddMissing(nyhost::Dialog& dlg, int id, const std::string& text) {
  if (dlg.FindStringExact(id, text) < 0) dlg.AddString(id, text);
}

void CCatalogueEditor::RemoveItem(nyhost::Dialog& dlg, int id, const std::string& text) {
  // The dialog model has no single-item removal: rebuild the items without it.
  std::vector<std::string> kept;
  for (int i = 0; i < dlg.GetCount(id); ++i)
    if (dlg.GetItemText(id, i) != text) kept.push_back(dlg.GetItemText(id, i));
  std::string shown = dlg.GetText(id);
  dlg.ResetContent(id);
  for (const auto& item : kept) dlg.AddString(id, item);
  if (shown != text) SelectText(dlg, id, shown);
}

void CCatalogueEditor::AddQueryValues(nyhost::Dialog& dlg, int id, const std::string& sql) const {
  NyAccess* db = Db();
  if (!db) return;
  NyStTable rows;
  db->GetSelData(rows, sql);
  std::vector<std::string> row;
  for (int r = 0; r < rows.GetTableLogicSize(); ++r) {
    rows.GetValueRecord(row, r);
    if (!row.empty() && !nyhost::Trim(row[0]).empty()) AddMissing(dlg, id, row[0]);
  }
}

void CCatalogueEditor::FillMakers(nyhost::Dialog& dlg, const std::string& sql) const {
  dlg.ResetContent(ids_.maker_combo);
  dlg.AddString(ids_.maker_combo, kAllMakers);
  AddQueryValues(dlg, ids_.maker_combo, sql);
  dlg.SetCurSel(ids_.maker_combo, 0);
}

void CCatalogueEditor::FillList(nyhost::Dialog& dlg, const std::string& sql) const {
  dlg.ResetContent(ids_.list);
  if (NyAccess* db = Db()) db->GetSelData(dlg, ids_.list, sql);
}

std::vector<std::string> CCatalogueEditor::SelectedRow(const nyhost::Dialog& dlg) const {
  int row = dlg.GetCurSel(ids_.list);
  if (row < 0) return {};
  return NyAccess::SplitItem(dlg.GetItemText(ids_.list, row));
}

std::vector<std::string> CCatalogueEditor::RowToDelete(const nyhost::Dialog& dlg,
                                                        std::size_t columns,
                                                        const char* none_chosen) const {
  std::vector<std::string> row = SelectedRow(dlg);
  if (row.size() >= columns) return row;
  Message(none_chosen, nyhost::MbIcon::kWarning);
  return {};
}

std::string CCatalogueEditor::MakerFilter(const nyhost::Dialog& dlg) const {
  int index = dlg.GetCurSel(ids_.maker_combo);
  return index < 0 ? std::string(kAllMakers) : dlg.GetItemText(ids_.maker_combo, index);
}
