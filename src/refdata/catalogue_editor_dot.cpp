// The point-method luminaire editor (dialog 221).
#include "host/host.h"
#include "host/text_codec.h"
#include "host/text_util.h"
#include "refdata/catalogue_editor.h"
#include "refdata/curve_editor.h"
#include "refdata/photometry_import.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "resources/templates.h"
#include "support/ny_access.h"

CDotLuminaireCatalogueDlg::CDotLuminaireCatalogueDlg()
    : CCatalogueEditor({kKindCombo, kMakerCombo, kList, kBackup}, &ZirIrodoDotDb) {}

void CDotLuminaireCatalogueDlg::OnInitDialog(nyhost::Dialog& dlg) {
  remembered_.clear();
  preview_ = {};
  dlg.ResetContent(kMakerCombo);
  dlg.AddString(kMakerCombo, kAllMakers);
  dlg.SetCurSel(kMakerCombo, 0);
  FillKinds(dlg);
  dlg.SetCurSel(kKindCombo, 0);
  FillList(dlg, kSelectDotLuminaireRowsAll);
}

void CDotLuminaireCatalogueDlg::FillKinds(nyhost::Dialog& dlg) {
  std::string shown = dlg.GetText(kKindCombo);
  dlg.ResetContent(kKindCombo);
  dlg.AddString(kKindCombo, kAllKinds);
  dlg.AddString(kKindCombo, kGeneral);
  AddQueryValues(dlg, kKindCombo, kSelectLuminaireKindsSorted);
  if (!shown.empty()) SelectText(dlg, kKindCombo, shown);
}

void CDotLuminaireCatalogueDlg::ListKind(nyhost::Dialog& dlg, const std::string& kind) {
  if (kind.empty() || kind == kAllKinds)
    FillList(dlg, kSelectDotLuminaireRowsAll);
  else
    FillList(dlg, FormatSql(kSelectDotLuminaireRowsOfKind, kind));
}

std::string CDotLuminaireCatalogueDlg::CurveOf(const std::string& kind,
                                               const std::string& model) const {
  NyAccess* db = Db();
  std::vector<std::string> values;
  if (!db || db->GetSelData(values, FormatSql(kSelectCurveOfLuminaire, kind, model)) == 0)
    return {};
  return nyhost::Trim(values[0]);
}

void CDotLuminaireCatalogueDlg::KindChosen(nyhost::Dialog& dlg) {
  if (!Db()) return;
  std::string kind = dlg.GetItemText(kKindCombo, dlg.GetCurSel(kKindCombo));
  if (kind == kAllKinds) {
    dlg.ResetContent(kMakerCombo);
    dlg.AddString(kMakerCombo, kAllMakers);
    dlg.SetCurSel(kMakerCombo, 0);
  } else {
    FillMakers(dlg, FormatSql(kSelectDotLuminaireMakersOfKind, kind));
  }
  ListKind(dlg, kind);
  if (dlg.GetCount(kList) == 0) return;
  dlg.SetCurSel(kList, 0);
  ShowRow(dlg, SelectedRow(dlg));
}

void CDotLuminaireCatalogueDlg::MakerChosen(nyhost::Dialog& dlg) {
  if (!Db()) return;
  std::string kind = Field(dlg, kKindCombo);
  std::string maker = MakerFilter(dlg);
  if (maker == kAllMakers || kind.empty() || kind == kAllKinds)
    ListKind(dlg, kind);
  else
    FillList(dlg, FormatSql(kSelectDotLuminaireRowsOfKindAndMaker, kind, maker));
}

void CDotLuminaireCatalogueDlg::ShowRow(nyhost::Dialog& dlg, const std::vector<std::string>& row) {
  if (row.size() < 2) return;
  SelectText(dlg, kKindCombo, row[0]);
  dlg.SetText(kModel, row[1]);
  SelectText(dlg, kMakerCombo, row.size() > 2 ? row[2] : std::string());
  ShowPreview(dlg, row[0], row[1]);
}

void CDotLuminaireCatalogueDlg::ShowPreview(nyhost::Dialog& dlg, const std::string& kind,
                                            const std::string& model) {
  preview_ = {};
  LoadPreviewCurve(CurveOf(kind, model), preview_);
  dlg.Invalidate(kPicture);
}

void CDotLuminaireCatalogueDlg::RowClicked(nyhost::Dialog& dlg) {
  std::vector<std::string> row = SelectedRow(dlg);
  if (row.size() < 2 || !Db()) return;
  ShowRow(dlg, row);
  remembered_ = CurveOf(row[0], row[1]);
}

void CDotLuminaireCatalogueDlg::Reload(nyhost::Dialog& dlg) {
  if (!Db()) return;
  FillKinds(dlg);
  ListKind(dlg, Field(dlg, kKindCombo));
  ShowPreview(dlg, Field(dlg, kKindCombo), Field(dlg, kModel));
}

void CDotLuminaireCatalogueDlg::OnPaint(nyhost::Dialog&, int id, nyhost::Painter& painter) {
  if (id == kPicture) PaintPreviewCurve(painter, preview_);
}

void CDotLuminaireCatalogueDlg::OnButton(nyhost::Dialog& dlg, int id) {
  switch (id) {
    case kAdd:
      Save(dlg, true);
      break;
    case kSave:
      Save(dlg, false);
      break;
    case kDelete:
      Delete(dlg);
      break;
    case kEditCurve:
      EditCurve(dlg);
      break;
    case kImportFile:
      ImportFile(dlg);
      break;
    default:
      break;
  }
}

void CDotLuminaireCatalogueDlg::Save(nyhost::Dialog& dlg, bool adding) {
  NyAccess* db = Db();
  if (!db) return;
  std::string kind = Field(dlg, kKindCombo);
  std::string model = Field(dlg, kModel);
  std::string maker = Field(dlg, kMakerCombo);
  // "全部" only filters: a luminaire stored under it would be "general".
  if (maker == kAllMakers) maker = kGeneral;
  if (kind == kAllKinds) kind = kGeneral;
  if (kind.empty()) {
    Message("[光源名称] 没填写!", nyhost::MbIcon::kError);
    return;
  }
  if (model.empty()) {
    Message("[灯具型号] 没填写!", nyhost::MbIcon::kError);
    return;
  }
  std::string table = kind + model + kCurveTableSuffix;
  if (nyhost::GbkByteLength(table) > kMaxCurveTableBytes || !UsableInTableName(table)) {
    Message("【名称】、【型号】不合法！\n总长度不可超出64字符！\n存在一些非法字符！",
            nyhost::MbIcon::kWarning);
    return;
  }

  std::vector<std::string> found;
  if (db->GetSelData(found, FormatSql(kSelectLuminaireExists, kind, model)) > 0) {
    if (adding) {
      Message("此光源类型与灯具类型已经存在, 无法添加! ", nyhost::MbIcon::kError);
      return;
    }
    if (!db->ExecuteSQL(FormatSql(kUpdateDotLuminaireMaker, maker, kind, model))) {
      Message("更新数据库失败!", nyhost::MbIcon::kError);
      return;
    }
  } else {
    // Table names compare without regard to case: a name another luminaire's table (or row)
    // already has, in any case, is that luminaire's and never shared.
    if (db->IsTableInDatabase(table, "TABLE") ||
        db->GetSelData(found, FormatSql(kSelectLuminairesNamingCurve, table)) > 0) {
      Message("此光源类型与灯具类型已经存在, 无法添加! ", nyhost::MbIcon::kError);
      return;
    }
    // The new curve is a copy of the last clicked row's curve: without one there is nothing to
    // copy, and a catalogue row without its curve table would fail every calculation.
    if (remembered_.empty()) {
      Message("请先在列表中点选一个灯具,新灯具的配光曲线将从它复制!", nyhost::MbIcon::kWarning);
      return;
    }
    bool own = !db->in_transaction() && db->BeginTrans();
    bool ok = db->ExecuteSQL(FormatSql(kInsertDotLuminaire, kind, model, maker, table)) &&
              db->CreateTableFromTemplet(table, remembered_);
    if (ok && own) ok = db->CommitTrans();
    if (!ok) {
      if (own) db->RollbackTrans();
      Message("更新数据库失败!", nyhost::MbIcon::kError);
      return;
    }
  }

  AddMissing(dlg, kKindCombo, kind);
  if (!maker.empty()) AddMissing(dlg, kMakerCombo, maker);
  ShowLuminaire(dlg, kind, model);
}

void CDotLuminaireCatalogueDlg::ShowLuminaire(nyhost::Dialog& dlg, const std::string& kind,
                                              const std::string& model) {
  ListKind(dlg, kind);
  for (int i = 0; i < dlg.GetCount(kList); ++i) {
    std::vector<std::string> row = NyAccess::SplitItem(dlg.GetItemText(kList, i));
    if (row.size() >= 2 && row[0] == kind && row[1] == model) {
      dlg.SetCurSel(kList, i);
      ShowRow(dlg, row);
      return;
    }
  }
}

void CDotLuminaireCatalogueDlg::Delete(nyhost::Dialog& dlg) {
  NyAccess* db = Db();
  if (!db) return;
  std::vector<std::string> row = RowToDelete(dlg, 2, "请选择要删除的灯具!");
  if (row.empty()) return;
  const std::string& kind = row[0];
  const std::string& model = row[1];
  std::string maker = row.size() > 2 ? nyhost::Trim(row[2]) : std::string();
  if (!Ask("确定要删除\n光源名称 = " + kind + "\n灯具型号 = " + model + "\n的灯具?")) return;

  std::vector<std::string> values;
  if (db->GetSelData(values, FormatSql(kSelectCurveOfLuminaire, kind, model)) > 0) {
    std::string table = nyhost::Trim(values[0]);
    bool any_maker = maker.empty() || maker == kAllMakers || maker == kGeneral;
    bool own = !db->in_transaction() && db->BeginTrans();
    bool ok = db->ExecuteSQL(any_maker ? FormatSql(kDeleteDotLuminaire, kind, model)
                                       : FormatSql(kDeleteDotLuminaireOfMaker, kind, model, maker));
    // The curve goes with its last luminaire: a table another catalogue row still names (in
    // any letter case) stays.
    std::vector<std::string> users;
    ok = ok && (table.empty() || !db->IsTableInDatabase(table, "TABLE") ||
                db->GetSelData(users, FormatSql(kSelectLuminairesNamingCurve, table)) > 0 ||
                db->DeleteTable(table));
    if (ok && own) ok = db->CommitTrans();
    if (!ok) {
      if (own) db->RollbackTrans();
      Message("删除灯具:\n光源名称 = " + kind + "\n灯具型号 = " + model + "\n出错!",
              nyhost::MbIcon::kWarning);
      return;
    }
    // A file kept for the curve goes with it; a later luminaire of that name is another.
    if (!table.empty() && !db->IsTableInDatabase(table, "TABLE")) ForgetKeptFile(table);
    // Nothing left to copy a new luminaire's curve from once the table is gone.
    if (!remembered_.empty() && !db->IsTableInDatabase(remembered_, "TABLE")) remembered_.clear();
  }
  ListKind(dlg, Field(dlg, kKindCombo));
  preview_ = {};
  dlg.Invalidate(kPicture);
}

void CDotLuminaireCatalogueDlg::EditCurve(nyhost::Dialog& dlg) {
  if (!nyhost::Host::Get().drawing() || dlg.GetCurSel(kList) < 0 || !Db()) return;
  // The luminaire of the edit fields: one typed but not saved yet has no curve table.
  std::string kind = Field(dlg, kKindCombo);
  std::string model = Field(dlg, kModel);
  std::string table = CurveOf(kind, model);
  if (table.empty()) {
    Message("请保存后再试试!", nyhost::MbIcon::kWarning);
    return;
  }
  EditCurveTable(table);
  ShowPreview(dlg, kind, model);
}

void CDotLuminaireCatalogueDlg::ImportFile(nyhost::Dialog& dlg) {
  if (!Db()) return;
  auto path = nyhost::Host::Get().windows().FileDialog(
      false, "导入光度文件", "", "光度文件|*.ies;*.IES;*.ldt;*.LDT|所有文件|*||");
  if (!path) return;
  PhotometryImportOptions options;
  options.kind = Field(dlg, kKindCombo);
  options.maker = Field(dlg, kMakerCombo);
  if (options.kind.empty() || options.kind == kAllKinds) options.kind = kGeneral;
  if (options.maker == kAllMakers) options.maker = kGeneral;
  PhotometryImportResult result;
  std::string error;
  bool ok = ImportPhotometryFile(*path, options, result, error);
  if (!ok && result.already_present && Ask(error + "\n要用此文件替换它吗?")) {
    options.replace = true;
    ok = ImportPhotometryFile(*path, options, result, error);
  }
  if (!ok) {
    if (!result.already_present || options.replace)
      Message("导入光度文件失败:\n" + error, nyhost::MbIcon::kError);
    return;
  }
  AddMissing(dlg, kKindCombo, options.kind);
  if (!options.maker.empty()) AddMissing(dlg, kMakerCombo, options.maker);
  SelectText(dlg, kKindCombo, options.kind);
  ShowLuminaire(dlg, options.kind, result.model);
  remembered_ = result.curve_table;
}

void RunDotLuminaireCatalogueEditor() {
  nyhost::DialogTemplate tpl = nyres::DialogTemplateOf(CDotLuminaireCatalogueDlg::kTemplateId);
  if (tpl.id == 0) return;
  CDotLuminaireCatalogueDlg controller;
  nyhost::Host::Get().windows().RunModal(tpl, controller);
}
