// The light-source editor (dialog 209).
#include <fmt/printf.h>

#include <charconv>
#include <cstdlib>
#include <string_view>

#include "host/host.h"
#include "host/text_util.h"
#include "refdata/catalogue_editor.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "resources/templates.h"
#include "support/ny_access.h"

namespace {

// Characters a kind may not hold: kinds go unescaped into statements, list items and names.
constexpr std::string_view kIllegalKindCharacters = "\"<>/\\:?*|,='";

// A whole number typed into a field (blanks around it allowed).
bool ReadInteger(const nyhost::Dialog& dlg, int id, int& out) {
  std::string text = nyhost::Trim(dlg.GetText(id));
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, out);
  return !text.empty() && ec == std::errc() && ptr == end;
}

}  // namespace

CLampCatalogueDlg::CLampCatalogueDlg()
    : CCatalogueEditor({kKindCombo, kMakerCombo, kList, kBackup}, &NyDataDb) {}

void CLampCatalogueDlg::OnInitDialog(nyhost::Dialog& dlg) {
  dlg.ResetContent(kKindCombo);
  dlg.ResetContent(kMakerCombo);
  dlg.ResetContent(kList);
  if (!Db()) return;
  AddQueryValues(dlg, kKindCombo, kSelectLampKindsSorted);
  if (dlg.GetCount(kKindCombo) == 0) return;
  dlg.SetCurSel(kKindCombo, 0);
  std::string kind = dlg.GetItemText(kKindCombo, 0);
  FillMakers(dlg, FormatSql(kSelectLampMakersOfKindGrouped, kind));
  ListKind(dlg, kind);
}

void CLampCatalogueDlg::ListKind(nyhost::Dialog& dlg, const std::string& kind) {
  FillList(dlg, FormatSql(kSelectLampRowsOfKindByPower, kind));
}

void CLampCatalogueDlg::KindChosen(nyhost::Dialog& dlg) {
  if (!Db()) return;
  std::string kind = dlg.GetItemText(kKindCombo, dlg.GetCurSel(kKindCombo));
  FillMakers(dlg, FormatSql(kSelectLampMakersOfKindGrouped, kind));
  ListKind(dlg, kind);
  if (dlg.GetCount(kList) == 0) return;
  dlg.SetCurSel(kList, 0);
  RowClicked(dlg);
}

void CLampCatalogueDlg::MakerChosen(nyhost::Dialog& dlg) {
  if (!Db()) return;
  std::string kind = Field(dlg, kKindCombo);
  std::string maker = MakerFilter(dlg);
  if (maker == kAllMakers)
    ListKind(dlg, kind);
  else
    FillList(dlg, FormatSql(kSelectLampRowsOfMakerAndKind, maker, kind));
}

void CLampCatalogueDlg::RowClicked(nyhost::Dialog& dlg) {
  std::vector<std::string> row = SelectedRow(dlg);
  if (row.size() < 5) return;
  SelectText(dlg, kKindCombo, row[0]);
  dlg.SetText(kModel, row[1]);
  dlg.SetText(kPower, row[2]);
  dlg.SetText(kFlux, row[3]);
  SelectText(dlg, kMakerCombo, row[4]);
}

void CLampCatalogueDlg::Reload(nyhost::Dialog& dlg) {
  if (!Db()) return;
  std::string kind = Field(dlg, kKindCombo);
  AddQueryValues(dlg, kKindCombo, kSelectLampKindsSorted);
  ListKind(dlg, kind);
}

void CLampCatalogueDlg::OnButton(nyhost::Dialog& dlg, int id) {
  if (id == kSave) Save(dlg);
  if (id == kDelete) Delete(dlg);
}

void CLampCatalogueDlg::Save(nyhost::Dialog& dlg) {
  NyAccess* db = Db();
  if (!db) return;
  std::string kind = Field(dlg, kKindCombo);
  std::string model = Field(dlg, kModel);
  std::string maker = Field(dlg, kMakerCombo);
  if (kind.find_first_of(kIllegalKindCharacters) != std::string::npos) {
    Message("存在不合法字符!", nyhost::MbIcon::kWarning);
    return;
  }
  if (kind.empty()) {
    Message("光源类型 没填写!", nyhost::MbIcon::kError);
    return;
  }
  if (maker.empty()) {
    Message("生产厂家 没填写!", nyhost::MbIcon::kError);
    return;
  }
  int power = 0, flux = 0;
  if (!ReadInteger(dlg, kPower, power) || !ReadInteger(dlg, kFlux, flux)) {
    Message("请输入一个整数。", nyhost::MbIcon::kWarning);
    return;
  }
  std::vector<std::string> found;
  bool exists =
      db->GetSelData(found, FormatSql(kSelectLampExistsBeforeSave, kind, model, power)) > 0;
  bool ok = exists ? db->ExecuteSQL(FormatSql(kUpdateLamp, flux, maker, kind, model, power))
                   : db->ExecuteSQL(FormatSql(kInsertLamp, kind, model, power, flux, maker));
  if (!ok) {
    Message("更新数据库失败!", nyhost::MbIcon::kError);
    return;
  }
  AddMissing(dlg, kKindCombo, kind);
  AddMissing(dlg, kMakerCombo, maker);
  SelectText(dlg, kKindCombo, kind);
  SelectText(dlg, kMakerCombo, maker);
  ListKind(dlg, kind);
}

void CLampCatalogueDlg::Delete(nyhost::Dialog& dlg) {
  NyAccess* db = Db();
  if (!db) return;
  std::vector<std::string> row = RowToDelete(dlg, 5, "请选择要删除的光源!");
  if (row.empty()) return;
  const std::string& kind = row[0];
  const std::string& model = row[1];
  int power = std::atoi(row[2].c_str());
  const std::string& maker = row[4];
  if (!Ask(fmt::sprintf("确定要删除\t\t\n类型 = %s \t\t\n型号 = %s \t\t\n功率 = %d \t\t\n"
                        "生产厂家 = %s \t\t\n的光源?",
                        kind, model, power, maker)))
    return;
  std::vector<std::string> found;
  if (db->GetSelData(found, FormatSql(kSelectLampExistsBeforeDelete, kind, model, power)) > 0 &&
      !db->ExecuteSQL(FormatSql(kDeleteLamp, kind, model, power))) {
    Message(fmt::sprintf("删除\t\t\t\t\t\t\t\n类型 = %s \t\t\t\t\t\t\t\n型号 = %s \t\t\t\t\t\t\t\n"
                         "功率 = %d \t\t\t\t\t\t\t\n厂家 = %s \t\t\t\t\t\t\t\n的光源时出错!",
                         kind, model, power, maker),
            nyhost::MbIcon::kWarning);
    return;
  }
  if (db->GetSelData(found, FormatSql(kSelectLampModelsOfKind, kind)) == 0) {
    // The kind's last light source is gone: so is the kind; show the first one left.
    RemoveItem(dlg, kKindCombo, kind);
    if (dlg.GetCount(kKindCombo) > 0) {
      dlg.SetCurSel(kKindCombo, 0);
      KindChosen(dlg);
    } else {
      dlg.ResetContent(kList);
    }
    return;
  }
  ListKind(dlg, kind);
}

void RunLampCatalogueEditor() {
  nyhost::DialogTemplate tpl = nyres::DialogTemplateOf(CLampCatalogueDlg::kTemplateId);
  if (tpl.id == 0) return;
  CLampCatalogueDlg controller;
  nyhost::Host::Get().windows().RunModal(tpl, controller);
}
