#include "refdata/curve_editor.h"

#include <array>
#include <string>
#include <vector>

#include "base/module_state.h"
#include "host/host.h"
#include "refdata/photometry_import.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "resources/templates.h"
#include "support/ny_access.h"
#include "support/ny_str.h"

namespace {

constexpr std::array<const char*, 3> kHeaders = {"角度", "光强A-A", "光强B-B"};

void Message(const std::string& text, nyhost::MbIcon icon) {
  nyhost::Host::Get().windows().MessageBox(kMessageCaption, text, icon, nyhost::MbButtons::kOk);
}

}  // namespace

void CCurveEditDlg::OnInitDialog(nyhost::Dialog& dlg) {
  nyhost::GridState& grid = dlg.Grid(kGridId);
  grid.fixed_rows = 1;
  grid.fixed_cols = 0;
  grid.cells.assign(kRows + 1, std::vector<nyhost::GridCell>(kHeaders.size()));
  for (std::size_t c = 0; c < kHeaders.size(); ++c) {
    grid.cells[0][c].text = kHeaders[c];
    grid.cells[0][c].kind = nyhost::CellKind::kReadOnly;
  }
  dlg.GridChanged(kGridId);
  if (!LoadTable(dlg)) {
    // Angles prefilled, intensities empty: saving creates (or completes) the curve.
    for (int r = 1; r <= kRows; ++r) {
      dlg.SetCell(kGridId, r, 0, std::to_string((r - 1) * 5));
      dlg.SetCell(kGridId, r, 1, "");
      dlg.SetCell(kGridId, r, 2, "");
    }
  }
}

bool CCurveEditDlg::LoadTable(nyhost::Dialog& dlg) {
  NyAccess* db = ZirIrodoDotDb();
  if (!db || table_.empty() || !db->IsTableInDatabase(table_, "TABLE")) return false;
  NyStTable rows;
  if (db->GetSelData(rows, FormatSql(kSelectCurveRows, table_)) != kRows) {
    Message("请检查数据库是否只有19行数据!", nyhost::MbIcon::kError);
    return false;
  }
  std::vector<std::string> row;
  Rows loaded{};
  for (int r = 0; r < kRows; ++r) {
    rows.GetValueRecord(row, r);
    for (int c = 0; c < 3 && c < static_cast<int>(row.size()); ++c) {
      const std::string& text = row[static_cast<std::size_t>(c)];
      dlg.SetCell(kGridId, r + 1, c, text);
      double v = -1;
      NyStr::IsDigit(v, text);
      loaded[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = static_cast<int>(v);
    }
  }
  loaded_ = loaded;
  return true;
}

bool CCurveEditDlg::Save(nyhost::Dialog& dlg) {
  // Check every cell first: nothing is written unless all are whole, non-negative numbers.
  Rows values{};
  for (int r = 1; r <= kRows; ++r) {
    for (int c = 0; c < 3; ++c) {
      std::string text = dlg.GetCell(kGridId, r, c);
      double v = 0;
      if (text.find_first_not_of(" \t") != std::string::npos) {
        if (!NyStr::IsDigit(v, text)) {
          Message("第" + std::to_string(r) + "行第" + std::to_string(c + 1) +
                      "列单元格中的值不是数字!",
                  nyhost::MbIcon::kWarning);
          return false;
        }
        if (v < 0) {
          Message("第" + std::to_string(r) + "行第" + std::to_string(c + 1) +
                      "列单元格中的值 < 0!",
                  nyhost::MbIcon::kWarning);
          return false;
        }
      }
      values[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c)] =
          static_cast<int>(v);
    }
  }

  NyAccess* db = ZirIrodoDotDb();
  if (!db) return false;
  bool own = !db->in_transaction() && db->BeginTrans();
  if (db->IsTableInDatabase(table_, "TABLE")) {
    for (const auto& v : values) {
      if (!db->ExecuteSQL(FormatSql(kUpdateCurveRow, table_, v[1], v[2], v[0]))) {
        // Rows already written stay written.
        if (own) db->CommitTrans();
        ForgetKeptFile(table_);
        Message(fmt::sprintf("更新:角度 = %d,光强A = %d,光强B = %d 时出错!\n数据更新终止!", v[0],
                          v[1], v[2]),
                nyhost::MbIcon::kError);
        return false;
      }
    }
  } else {
    std::vector<NyStTableField> fields = {{"角度", "int"}, {"光强A", "int"}, {"光强B", "int"}};
    if (!db->CreateTable(table_, fields)) {
      if (own) db->RollbackTrans();
      Message("创建表" + table_ + "不成功!检查表是否存在!", nyhost::MbIcon::kError);
      return false;
    }
    for (const auto& v : values) {
      if (!db->ExecuteSQL(FormatSql(kInsertCurveRow, table_, v[0], v[1], v[2]))) {
        // A half-written curve would be refused later: leave no table at all.
        if (own) db->RollbackTrans();
        Message(fmt::sprintf("添加:角度 = %d , 光强A = %d , 光强B = %d 时出错!\n数据添加终止!", v[0],
                          v[1], v[2]),
                nyhost::MbIcon::kError);
        return false;
      }
    }
  }
  if (own && !db->CommitTrans()) {
    db->RollbackTrans();
    Message("更新数据库失败!", nyhost::MbIcon::kError);
    return false;
  }
  if (values != loaded_) ForgetKeptFile(table_);  // the precise mode now reads the table
  return true;
}

void CCurveEditDlg::OnClick(nyhost::Dialog& dlg, int id) {
  if (id == nyhost::kIdOk) {
    if (Save(dlg)) dlg.EndDialog(nyhost::kIdOk);
  } else if (id == nyhost::kIdCancel) {
    dlg.EndDialog(nyhost::kIdCancel);
  }
}

bool CCurveEditDlg::OnKey(nyhost::Dialog&, int key) {
  if (key == nyhost::kKeyF1) ShowHelp("NY", "ME/利用系数法照度计算/利用系数法照度计算.html");
  return false;
}

bool EditCurveTable(const std::string& table) {
  nyhost::DialogTemplate tpl = nyres::DialogTemplateOf(CCurveEditDlg::kTemplateId);
  if (tpl.id == 0) return false;
  CCurveEditDlg controller(table);
  return nyhost::Host::Get().windows().RunModal(tpl, controller) == nyhost::kIdOk;
}
