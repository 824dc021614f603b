#include "refdata/catalogue_editor_cu.h"

#include <fmt/printf.h>

#include <filesystem>

#include "base/module_state.h"
#include "host/host.h"
#include "host/text_codec.h"
#include "host/text_util.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "resources/templates.h"
#include "support/ny_access.h"
#include "support/ny_common.h"
#include "support/ny_str.h"

namespace {

// Longest coefficient-table name in GBK bytes that the shared database files accept.
constexpr std::size_t kMaxTableBytes = 62;
constexpr const char* kPictureFolder = "照度曲线/";

}  // namespace

CCuLuminaireCatalogueDlg::CCuLuminaireCatalogueDlg(EditTableFn edit_table)
    : CCatalogueEditor({kKindCombo, kMakerCombo, kList, kBackup}, &NyDataDb),
      edit_table_(edit_table) {}

void CCuLuminaireCatalogueDlg::OnInitDialog(nyhost::Dialog& dlg) {
  dlg.ResetContent(kMakerCombo);
  dlg.AddString(kMakerCombo, kAllMakers);
  dlg.SetCurSel(kMakerCombo, 0);
  AddQueryValues(dlg, kKindCombo, kSelectLuminaireKindsSorted);
  FillList(dlg, kSelectCuLuminaireRowsAll);
}

void CCuLuminaireCatalogueDlg::ListKind(nyhost::Dialog& dlg, const std::string& kind) {
  FillList(dlg, kind.empty() ? std::string(kSelectCuLuminaireRowsAll)
                             : FormatSql(kSelectCuLuminaireRowsOfKind, kind));
}

std::string CCuLuminaireCatalogueDlg::TableOf(const std::string& kind,
                                              const std::string& model) const {
  NyAccess* db = Db();
  std::vector<std::string> v;
  if (!db || db->GetSelData(v, FormatSql(kSelectCuTableOfLuminaire, kind, model)) == 0) return {};
  return nyhost::Trim(v[0]);
}

void CCuLuminaireCatalogueDlg::KindChosen(nyhost::Dialog& dlg) {
  if (!Db()) return;
  const std::string kind = dlg.GetItemText(kKindCombo, dlg.GetCurSel(kKindCombo));
  FillMakers(dlg, FormatSql(kSelectCuLuminaireMakersOfKind, kind));
  ListKind(dlg, kind);
  if (dlg.GetCount(kList) == 0) return;
  dlg.SetCurSel(kList, 0);
  ShowRow(dlg, SelectedRow(dlg));
}

void CCuLuminaireCatalogueDlg::MakerChosen(nyhost::Dialog& dlg) {
  if (!Db()) return;
  const std::string kind = Field(dlg, kKindCombo), maker = MakerFilter(dlg);
  if (maker == kAllMakers || kind.empty())
    ListKind(dlg, kind);
  else
    FillList(dlg, FormatSql(kSelectCuLuminaireRowsOfKindAndMaker, kind, maker));
}

void CCuLuminaireCatalogueDlg::ShowRow(nyhost::Dialog& dlg, const std::vector<std::string>& row) {
  if (row.size() < 2) return;
  SelectText(dlg, kKindCombo, row[0]);
  dlg.SetText(kModel, row[1]);
  dlg.SetText(kRatio, row.size() > 2 ? row[2] : std::string());
  SelectText(dlg, kMakerCombo, row.size() > 3 ? row[3] : std::string());
  ShowBitmap(dlg, row.size() > 4 ? row[4] : std::string());
}

void CCuLuminaireCatalogueDlg::ShowBitmap(nyhost::Dialog& dlg, const std::string& bitmap) {
  bitmap_ = nyhost::Trim(bitmap);
  dlg.SetText(kPicture, bitmap_);
  dlg.Invalidate(kPicture);
}

void CCuLuminaireCatalogueDlg::OnPaint(nyhost::Dialog&, int id, nyhost::Painter& painter) {
  if (id != kPicture || bitmap_.empty()) return;
  const std::string file = DataFile(kPictureFolder + bitmap_);
  if (!NyCommon::FileExists(file)) return;
  painter.Rect(0, 0, painter.Width(), painter.Height(), nyhost::kNoColor, 0xFFFFFF);
  painter.Image(0, 0, painter.Width(), painter.Height(), file);
}

void CCuLuminaireCatalogueDlg::RowClicked(nyhost::Dialog& dlg) {
  const std::vector<std::string> row = SelectedRow(dlg);
  if (row.size() < 2 || !Db()) return;
  ShowRow(dlg, row);
  remembered_ = TableOf(row[0], row[1]);
  if (!NyCommon::FileExists(DataFile(kPictureFolder + bitmap_)))
    Message("位图不存在!", nyhost::MbIcon::kWarning);
}

void CCuLuminaireCatalogueDlg::Reload(nyhost::Dialog& dlg) {
  if (!Db()) return;
  AddQueryValues(dlg, kKindCombo, kSelectLuminaireKindsSorted);
  ListKind(dlg, Field(dlg, kKindCombo));
}

void CCuLuminaireCatalogueDlg::OnButton(nyhost::Dialog& dlg, int id) {
  if (id == kSave) Save(dlg);
  if (id == kDelete) Delete(dlg);
  if (id == kPicture) ChooseBitmap(dlg);
  if (id == kEditTable && edit_table_ && !remembered_.empty()) edit_table_(remembered_);
}

void CCuLuminaireCatalogueDlg::ChooseBitmap(nyhost::Dialog& dlg) {
  const std::string folder = DataFile(kPictureFolder);
  auto chosen =
      nyhost::Host::Get().windows().FileDialog(false, "", folder, "BMP files (*.Bmp)|*.Bmp||");
  if (!chosen) return;
  const std::string name = std::filesystem::path(*chosen).filename().string();
  if (!NyCommon::FileExists(folder + name)) {
    Message(fmt::sprintf("ERR AT 位图不存在!\n保证位图文件存在 <安装目录>%s 下!", folder),
            nyhost::MbIcon::kWarning);
    return;
  }
  bitmap_ = name;
  dlg.SetText(kPicture, bitmap_);
  dlg.Invalidate(kPicture);
}

void CCuLuminaireCatalogueDlg::Save(nyhost::Dialog& dlg) {
  NyAccess* db = Db();
  if (!db) return;
  const std::string kind = Field(dlg, kKindCombo), model = Field(dlg, kModel);
  std::string maker = Field(dlg, kMakerCombo);
  // "全部" only filters: a luminaire stored under it would be "general".
  if (maker == kAllMakers) maker = kGeneral;
  if (kind.empty()) return Message("[光源名称] 没填写!", nyhost::MbIcon::kError);
  if (model.empty()) return Message("[灯具型号] 没填写!", nyhost::MbIcon::kError);
  const std::string table = kind + model;
  if (nyhost::GbkByteLength(table) > kMaxTableBytes || !UsableInTableName(table) ||
      !UsableInTableName(maker) || bitmap_.find('\'') != std::string::npos)
    return Message("【名称】、【型号】不合法！\n总长度不可超出64字符！\n存在一些非法字符！",
                   nyhost::MbIcon::kWarning);
  double ratio = 0;
  if (!Field(dlg, kRatio).empty() && !NyStr::IsDigit(ratio, Field(dlg, kRatio)))
    return Message("请输入一个数字。", nyhost::MbIcon::kWarning);

  std::vector<std::string> found;
  if (db->GetSelData(found, FormatSql(kSelectLuminaireExists, kind, model)) > 0) {
    if (!db->ExecuteSQL(FormatSql(kUpdateCuLuminaire, ratio, bitmap_, maker, kind, model)))
      return Message("更新数据库失败!", nyhost::MbIcon::kError);
  } else {
    // A table another luminaire has, in any letter case, is that luminaire's and never shared.
    if (db->IsTableInDatabase(table, "TABLE") ||
        db->GetSelData(found, FormatSql(kSelectLuminairesNamingCuTable, table)) > 0)
      return Message("此光源类型与灯具类型已经存在, 无法添加! ", nyhost::MbIcon::kError);
    // The new table is a copy of the last clicked row's: without one there is nothing to copy.
    if (remembered_.empty())
      return Message("请先在列表中点选一个灯具,新灯具的利用系数表将从它复制!",
                     nyhost::MbIcon::kWarning);
    const bool own = !db->in_transaction() && db->BeginTrans();
    bool ok =
        db->ExecuteSQL(FormatSql(kInsertCuLuminaire, kind, model, ratio, maker, bitmap_, table)) &&
        db->CreateTableFromTemplet(table, remembered_);
    if (ok && own) ok = db->CommitTrans();
    if (!ok) {
      if (own) db->RollbackTrans();
      return Message("更新数据库失败!", nyhost::MbIcon::kError);
    }
  }
  AddMissing(dlg, kKindCombo, kind);
  if (!maker.empty()) AddMissing(dlg, kMakerCombo, maker);
  ListKind(dlg, kind);
}

void CCuLuminaireCatalogueDlg::Delete(nyhost::Dialog& dlg) {
  NyAccess* db = Db();
  if (!db) return;
  const std::vector<std::string> row = RowToDelete(dlg, 2, "请选择要删除的灯具!");
  if (row.empty()) return;
  const std::string &kind = row[0], &model = row[1];
  if (!Ask("确定要删除\n光源名称 = " + kind + "\n灯具型号 = " + model + "\n的灯具?")) return;
  const std::string table = TableOf(kind, model);
  if (!table.empty()) {
    const bool own = !db->in_transaction() && db->BeginTrans();
    bool ok = db->ExecuteSQL(FormatSql(kDeleteCuLuminaire, kind, model)) != 0;
    // The table goes with its last luminaire.
    std::vector<std::string> users;
    ok = ok && (!db->IsTableInDatabase(table, "TABLE") ||
                db->GetSelData(users, FormatSql(kSelectLuminairesNamingCuTable, table)) > 0 ||
                db->DeleteTable(table));
    if (ok && own) ok = db->CommitTrans();
    if (!ok) {
      if (own) db->RollbackTrans();
      return Message("删除灯具:\n光源名称 = " + kind + "\n灯具型号 = " + model + "\n出错!",
                     nyhost::MbIcon::kWarning);
    }
    if (!remembered_.empty() && !db->IsTableInDatabase(remembered_, "TABLE")) remembered_.clear();
  }
  ListKind(dlg, Field(dlg, kKindCombo));
}

void RunCuLuminaireCatalogueEditor(EditTableFn edit_table) {
  nyhost::DialogTemplate tpl = nyres::DialogTemplateOf(CCuLuminaireCatalogueDlg::kTemplateId);
  if (tpl.id == 0) return;
  CCuLuminaireCatalogueDlg controller(edit_table);
  nyhost::Host::Get().windows().RunModal(tpl, controller);
}
