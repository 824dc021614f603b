#include "standards/standards_dialog.h"

#include <fmt/printf.h>

#include <cstdlib>
#include <vector>

#include "base/module_state.h"
#include "host/host.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "resources/templates.h"
#include "support/ny_access.h"
#include "support/ny_ini_file.h"
#include "support/ny_number.h"
#include "support/ny_str.h"

namespace {

nyhost::WindowSystem& Windows() { return nyhost::Host::Get().windows(); }

void Warn(const std::string& text, nyhost::MbIcon icon = nyhost::MbIcon::kWarning) {
  Windows().MessageBox(kMessageCaption, text, icon, nyhost::MbButtons::kOk);
}

bool AskDelete() {
  return Windows().MessageBox(kMessageCaption, "是否确定删除?", nyhost::MbIcon::kQuestion,
                              nyhost::MbButtons::kYesNo) == nyhost::kIdYes;
}

NyAccess* StandardsDb() { return ModuleLoaded() ? GetDbConnection(DataFile(kNyDataDb)) : nullptr; }

// Shortest text that reads back as the same double, as the dialog shows real fields.
std::string Real(double v) { return fmt::sprintf("%.15g", v); }

// At most `n` characters (not bytes) of a UTF-8 text, as an edit with a length limit keeps.
std::string Limit(const std::string& s, std::size_t n) {
  std::size_t chars = 0, i = 0;
  while (i < s.size() && chars < n) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    i += c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    ++chars;
  }
  return s.substr(0, std::min(i, s.size()));
}

}  // namespace

int CNyStandardDlg::DoModal() {
  return Windows().RunModal(nyres::DialogTemplateOf(kTemplateId), *this);
}

void CNyStandardDlg::OnInitDialog(nyhost::Dialog& dlg) {
  NyAccess* db = StandardsDb();
  db_ok_ = db != nullptr;
  if (!db_ok_) {
    ShowValues(dlg);
    return;
  }
  LoadRemembered(Module().SettingsFile, kSection);
  if (!caller_file_.empty() && !caller_section_.empty())
    LoadRemembered(caller_file_, caller_section_);
  dlg.ResetContent(kEdition);
  for (auto e : {StandardEdition::k2004, StandardEdition::k2024})
    dlg.AddString(kEdition, EditionLabel(e));
  dlg.SetCurSel(kEdition, m_edition == StandardEdition::k2024 ? 1 : 0);
  FillTree(dlg);
  if (int root = dlg.FindTreeItem(kTree, 0, category_)) {
    dlg.ExpandItem(kTree, root, true);
    if (int child = dlg.FindTreeItem(kTree, root, place_)) dlg.SelectItem(kTree, child);
  }
  dlg.SetToolTip(kTree, "点击右键可进行标准数据扩充");
  ShowValues(dlg);
}

void CNyStandardDlg::FillTree(nyhost::Dialog& dlg) {
  dlg.DeleteAllItems(kTree);
  NyAccess* db = StandardsDb();
  if (!db) return;
  std::vector<std::string> categories;
  if (m_edition == StandardEdition::k2004)
    db->GetSelData(categories, kSelectStandardCategories);
  else
    db->GetSelData(categories, FormatSql(kSelectEditionCategories, InfoOf(m_edition).categories));
  for (const auto& category : categories) {
    int root = dlg.InsertItem(kTree, 0, category);
    std::vector<std::string> places;
    db->GetSelData(places, FormatSql(kSelectStandardPlaces, TableOf(category)));
    for (const auto& place : places) dlg.InsertItem(kTree, root, place);
  }
}

void CNyStandardDlg::LoadRemembered(const std::string& file, const std::string& section) {
  category_ = NyIniFile::ReadKey(section, "父", category_, file);
  place_ = NyIniFile::ReadKey(section, "子", place_, file);
  m_dTagLPD = NyIniFile::ReadKey(section, "m_dTagLPD", m_dTagLPD, file);
  m_dStandLPD = NyIniFile::ReadKey(section, "m_dStandLPD", m_dStandLPD, file);
  m_nStandLx = NyIniFile::ReadKey(section, "m_nStandLx", m_nStandLx, file);
  m_nUGR = NyIniFile::ReadKey(section, "m_nUGR", m_nUGR, file);
  m_sRa = NyIniFile::ReadKey(section, "m_sRa", m_sRa, file);
  const std::string edition = NyIniFile::ReadKey(section, kEditionKey, std::string(), file);
  m_edition = EditionFromKey(edition).value_or(m_edition);
  m_dU0 = NyIniFile::ReadKey(section, "m_dU0", m_dU0, file);
}

void CNyStandardDlg::SaveRemembered(const std::string& file, const std::string& section) const {
  NyIniFile::WriteKey(section, "子", place_, file);
  NyIniFile::WriteKey(section, "父", category_, file);
  NyIniFile::WriteKey(section, "m_dTagLPD", m_dTagLPD, file);
  NyIniFile::WriteKey(section, "m_dStandLPD", m_dStandLPD, file);
  NyIniFile::WriteKey(section, "m_nStandLx", m_nStandLx, file);
  NyIniFile::WriteKey(section, "m_nUGR", m_nUGR, file);
  NyIniFile::WriteKey(section, "m_sRa", m_sRa, file);
  NyIniFile::WriteKey(section, kEditionKey, std::string(InfoOf(m_edition).key), file);
  NyIniFile::WriteKey(section, "m_dU0", m_dU0, file);
}

void CNyStandardDlg::ShowValues(nyhost::Dialog& dlg) const {
  dlg.SetText(kStandLx, fmt::sprintf("%d", m_nStandLx));
  dlg.SetText(kStandLPD, Real(m_dStandLPD));
  dlg.SetText(kTagLPD, Real(m_dTagLPD));
  dlg.SetText(kUGR, fmt::sprintf("%d", m_nUGR));
  dlg.SetText(kRa, m_sRa);
}

bool CNyStandardDlg::ReadValues(const nyhost::Dialog& dlg) {
  m_nStandLx = std::atoi(dlg.GetText(kStandLx).c_str());
  m_dStandLPD = std::atof(dlg.GetText(kStandLPD).c_str());
  m_dTagLPD = std::atof(dlg.GetText(kTagLPD).c_str());
  m_nUGR = std::atoi(dlg.GetText(kUGR).c_str());
  m_sRa = dlg.GetText(kRa);
  return true;
}

void CNyStandardDlg::OnClick(nyhost::Dialog& dlg, int id) {
  if (id == nyhost::kIdOk) {
    ReadValues(dlg);
    int item = dlg.GetSelectedItem(kTree);
    place_ = item ? dlg.GetItemTextOf(kTree, item) : std::string();
    int parent = item ? dlg.GetParentItem(kTree, item) : 0;
    category_ = parent ? dlg.GetItemTextOf(kTree, parent) : std::string();
    if (ModuleLoaded()) SaveRemembered(Module().SettingsFile, kSection);
    if (!caller_file_.empty() && !caller_section_.empty())
      SaveRemembered(caller_file_, caller_section_);
    dlg.EndDialog(nyhost::kIdOk);
  } else if (id == nyhost::kIdCancel) {
    // The caller gets what the fields hold, however the dialog closes.
    ReadValues(dlg);
    dlg.EndDialog(nyhost::kIdCancel);
  }
}

void CNyStandardDlg::OnSelChange(nyhost::Dialog& dlg, int id) {
  if (id == kEdition) EditionChosen(dlg);
  if (id != kTree) return;
  int item = dlg.GetSelectedItem(kTree);
  if (item && dlg.GetChildItems(kTree, item).empty() && dlg.GetParentItem(kTree, item) != 0)
    PlaceClicked(dlg, item);
}

void CNyStandardDlg::PlaceClicked(nyhost::Dialog& dlg, int item) {
  NyAccess* db = StandardsDb();
  if (!db) return;
  const std::string category = dlg.GetItemTextOf(kTree, dlg.GetParentItem(kTree, item));
  const std::string place = dlg.GetItemTextOf(kTree, item);
  std::vector<std::string> v, u0;
  db->GetSelData(v, FormatSql(kSelectStandardValues, TableOf(category), place));
  if (m_edition != StandardEdition::k2004)
    db->GetSelData(u0, FormatSql(kSelectStandardUniformity, TableOf(category), place));
  if (v.size() != 5 || (m_edition != StandardEdition::k2004 && u0.size() != 1)) {
    Warn("数据库有误");
    return;
  }
  m_dU0 = u0.empty() ? 0.7 : NyStr::LeadingReal(u0[0]);
  // Database texts: no value beyond a double or an int reaches the calculations.
  m_nStandLx = NyStr::LeadingInt(v[0]);
  m_dStandLPD = NyStr::LeadingReal(v[1]);
  m_dTagLPD = NyStr::LeadingReal(v[2]);
  m_nUGR = NyNumber::TruncToInt(NyStr::LeadingReal(v[3])).value_or(0);
  m_sRa = v[4];
  ShowValues(dlg);
}

void CNyStandardDlg::OnTreeRightClick(nyhost::Dialog& dlg, int id, int item) {
  if (id != kTree) return;
  const bool is_place = item != 0 && dlg.GetParentItem(kTree, item) != 0;
  if (is_place) {
    // "新建" on a place has no action of its own.
    int choice = Windows().PopupMenu({"新建", "删除"});
    if (choice == 1) DeletePlace(dlg, item);
    return;
  }
  int choice = Windows().PopupMenu({"新建大类", "新建小类", "删除"});
  if (choice == 0) NewCategory(dlg);
  if (choice == 1 && item) NewPlace(dlg, item);
  if (choice == 2 && item) DeleteCategory(dlg, item);
}

void CNyStandardDlg::NewCategory(nyhost::Dialog& dlg) {
  CNyNewNameDlg name_dlg;
  if (Windows().RunModal(nyres::DialogTemplateOf(CNyNewNameDlg::kTemplateId), name_dlg, &dlg) !=
      nyhost::kIdOk)
    return;
  NyAccess* db = StandardsDb();
  if (!db) return;
  const std::string& name = name_dlg.m_sName;
  const EditionInfo& info = InfoOf(m_edition);
  const bool own = m_edition == StandardEdition::k2004;
  if (db->IsTableInDatabase(TableOf(name), "TABLE")) {
    Warn("此内容已在数据库中存在!");
    return;
  }
  if (!db->ExecuteSQL(
          own ? FormatSql(kCreateCategoryTableFromTemplate, name)
              : FormatSql(kCreateEditionCategoryTable, TableOf(name), info.category_template))) {
    Warn("创建" + name + "失败!", nyhost::MbIcon::kError);
    return;
  }
  if (db->ExecuteSQL(own ? FormatSql(kInsertStandardCategory, name)
                         : FormatSql(kInsertEditionCategory, info.categories, name)))
    dlg.InsertItem(kTree, 0, name);
}

void CNyStandardDlg::NewPlace(nyhost::Dialog& dlg, int category_item) {
  CNyNewPlaceDlg place_dlg;
  if (Windows().RunModal(nyres::DialogTemplateOf(CNyNewPlaceDlg::kTemplateId), place_dlg, &dlg) !=
      nyhost::kIdOk)
    return;
  NyAccess* db = StandardsDb();
  if (!db) return;
  const std::string category = TableOf(dlg.GetItemTextOf(kTree, category_item));
  if (!db->IsTableInDatabase(category, "TABLE")) {
    Warn("改名字已经存在!");
    return;
  }
  const std::string sql =
      FormatSql(kInsertStandardPlace, category, place_dlg.m_sName, place_dlg.m_nLx,
                place_dlg.m_dLPD, place_dlg.m_dTagLPD, place_dlg.m_dUGR, place_dlg.m_nRa);
  if (!db->ExecuteSQL(sql)) {
    Warn("数据库操作失败!", nyhost::MbIcon::kError);
    return;
  }
  dlg.InsertItem(kTree, category_item, place_dlg.m_sName);
}

void CNyStandardDlg::DeletePlace(nyhost::Dialog& dlg, int place_item) {
  if (!AskDelete()) return;
  NyAccess* db = StandardsDb();
  if (!db) return;
  const std::string category =
      TableOf(dlg.GetItemTextOf(kTree, dlg.GetParentItem(kTree, place_item)));
  if (db->ExecuteSQL(
          FormatSql(kDeleteStandardPlace, category, dlg.GetItemTextOf(kTree, place_item))))
    dlg.DeleteItem(kTree, place_item);
}

void CNyStandardDlg::DeleteCategory(nyhost::Dialog& dlg, int category_item) {
  if (!AskDelete()) return;
  NyAccess* db = StandardsDb();
  if (!db) return;
  const std::string category = dlg.GetItemTextOf(kTree, category_item);
  if (!db->ExecuteSQL(
          m_edition == StandardEdition::k2004
              ? FormatSql(kDeleteStandardCategory, category)
              : FormatSql(kDeleteEditionCategory, InfoOf(m_edition).categories, category)))
    return;
  db->ExecuteSQL(FormatSql(kDropTable, TableOf(category)));
  dlg.DeleteItem(kTree, category_item);
}

std::string CNyStandardDlg::TableOf(const std::string& category) const {
  return category + InfoOf(m_edition).table_suffix;
}

// Another edition: its tree, and the same place in it when it has one (its values then);
// otherwise no place is chosen and the fields are emptied, so that no value of one edition is
// checked under the other.
void CNyStandardDlg::EditionChosen(nyhost::Dialog& dlg) {
  const auto chosen = EditionFromLabel(dlg.GetText(kEdition));
  if (!chosen || *chosen == m_edition) return;
  const int item = dlg.GetSelectedItem(kTree);
  const int parent = item ? dlg.GetParentItem(kTree, item) : 0;
  const std::string category = parent ? dlg.GetItemTextOf(kTree, parent) : category_;
  const std::string place = parent ? dlg.GetItemTextOf(kTree, item) : place_;
  m_edition = *chosen;
  FillTree(dlg);
  const int root = dlg.FindTreeItem(kTree, 0, category);
  if (root) dlg.ExpandItem(kTree, root, true);
  if (const int child = root ? dlg.FindTreeItem(kTree, root, place) : 0) {
    dlg.SelectItem(kTree, child);
    PlaceClicked(dlg, child);
    return;
  }
  m_nStandLx = 0;
  m_dStandLPD = m_dTagLPD = 0;
  m_nUGR = 0;
  m_sRa.clear();
  m_dU0 = m_edition == StandardEdition::k2004 ? 0.7 : 0;
  ShowValues(dlg);
}

bool CNyStandardDlg::OnKey(nyhost::Dialog&, int key) {
  if (key == nyhost::kKeyF1) ShowHelp("NY", "ME/利用系数法照度计算/利用系数法照度计算.html");
  return false;
}

// ---------------------------------------------------------------- name entry dialogs

void CNyNewNameDlg::OnClick(nyhost::Dialog& dlg, int id) {
  if (id == nyhost::kIdOk) {
    m_sName = Limit(dlg.GetText(kName), 30);
    if (m_sName.empty()) {
      Warn("请填写<名称>");
      return;
    }
    // The name becomes the category's table name.
    if (!UsableInTableName(m_sName)) {
      Warn("存在不合法字符!");
      return;
    }
    dlg.EndDialog(nyhost::kIdOk);
  } else if (id == nyhost::kIdCancel) {
    dlg.EndDialog(nyhost::kIdCancel);
  }
}

void CNyNewPlaceDlg::OnInitDialog(nyhost::Dialog& dlg) {
  dlg.SetText(kName, m_sName);
  dlg.SetText(kLx, fmt::sprintf("%d", m_nLx));
  dlg.SetText(kLPD, Real(m_dLPD));
  dlg.SetText(kTagLPD, Real(m_dTagLPD));
  dlg.SetText(kUGR, Real(m_dUGR));
  dlg.SetText(kRa, fmt::sprintf("%d", m_nRa));
}

void CNyNewPlaceDlg::OnClick(nyhost::Dialog& dlg, int id) {
  if (id == nyhost::kIdOk) {
    m_sName = dlg.GetText(kName);
    if (m_sName.empty()) {
      Warn("请填写<名称>");
      return;
    }
    m_nLx = std::atoi(dlg.GetText(kLx).c_str());
    m_dLPD = std::atof(dlg.GetText(kLPD).c_str());
    m_dTagLPD = std::atof(dlg.GetText(kTagLPD).c_str());
    m_dUGR = std::atof(dlg.GetText(kUGR).c_str());
    m_nRa = std::atoi(dlg.GetText(kRa).c_str());
    dlg.EndDialog(nyhost::kIdOk);
  } else if (id == nyhost::kIdCancel) {
    dlg.EndDialog(nyhost::kIdCancel);
  }
}
